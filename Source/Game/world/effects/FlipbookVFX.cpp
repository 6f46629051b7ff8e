#include "world/effects/FlipbookVFX.h"

#include "world/FrameContext.h"
#include "world/effects/FlipbookTable.h"
#include "world/entities/Player.h"

#include "Math/Matrix4x4.h"
#include "drawers/SpriteDrawer.h"
#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"

#include <cmath>
#include <iostream>

namespace
{
	constexpr float FULL_TURN_DEGREES = 360.0f;
	constexpr float OCTANT_DEGREES = 45.0f;
	constexpr int OCTANT_COUNT = 8;
	constexpr float QUARTER_TURN_DEGREES = 90.0f;

	// Corner offsets of the dash sheets by octant, world units.
	constexpr Norv::Vector2<float> DASH_SLASH_OFFSETS[OCTANT_COUNT] = {
		{ -700.0f, 275.0f }, { -810.0f, -610.0f }, { -225.0f, -1270.0f }, { 550.0f, -1300.0f },
		{ 1220.0f, -750.0f }, { 1285.0f, 85.0f }, { 790.0f, 770.0f }, { -90.0f, 840.0f },
	};
	constexpr Norv::Vector2<float> DASH_OFFSETS[OCTANT_COUNT] = {
		{ -370.0f, 125.0f }, { -370.0f, -275.0f }, { -120.0f, -600.0f }, { 300.0f, -730.0f },
		{ 625.0f, -400.0f }, { 650.0f, 20.0f }, { 400.0f, 425.0f }, { -50.0f, 400.0f },
	};

	constexpr Norv::Color BUTTERFLY_COLOR{ 0.8f, 0.8f, 0.8f, 1.0f };
	constexpr Norv::Color MUSHROOM_FOG_COLOR{ 1.0f, 1.0f, 1.0f, 0.4f };
}

FlipbookVFX::FlipbookVFX()
	: myEngine(Norv::Engine::GetInstance())
{
	if (myEngine)
	{
		myRenderSize = myEngine->GetRenderSize();
		myRenderSizeF = Norv::Vector2<float>(myRenderSize);
	}
}

void FlipbookVFX::Init(int anId)
{
	myId = anId;
	const FlipbookTable::Sheet* someSheet = FlipbookTable::Find(anId);
	if (!someSheet)
	{
		std::cerr << "FlipbookVFX: no effect has id " << anId << "; it will not play\n";
		mySheet = nullptr;
		mySharedData.myColorTexture = nullptr;
		return;
	}
	Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
	mySheet = someTextures ? someTextures->GetTexture(someSheet->myPath, Norv::TEXTURE_MODE_FORCE_SRGB) : nullptr;
	mySharedData.myColorTexture = mySheet;
	myFrameTime = someSheet->myFrameTime;
	if (anId == 21)
	{
		mySprite.myColor = BUTTERFLY_COLOR;
	}
	else if (anId == 22)
	{
		myColor = MUSHROOM_FOG_COLOR;
	}
}

void FlipbookVFX::PlayAt(const Norv::Vector3<float>& aPosition, float aDirection)
{
	if (myIsPlaying || !FlipbookTable::Find(myId))
	{
		return;
	}
	myPosition = aPosition;
	myDirection = aDirection;
	myFrameIndex = 0;
	myFrameTimer = 0.0f;
	myIsPlaying = true;
}

void FlipbookVFX::Stop()
{
	myIsPlaying = false;
	myFirstFlip = false;
	mySecondFlip = false;
	myFrameIndex = 0;
	myFrameTimer = 0.0f;
}

void FlipbookVFX::Update(const FrameContext& aContext, const Norv::Vector3<float>& anAnchor)
{
	if (!myIsPlaying)
	{
		return;
	}
	Advance(aContext.deltaTime);
	if (!myIsPlaying)
	{
		return;
	}
	PlayerView somePlayer;
	if (const Player* someOwner = aContext.player)
	{
		somePlayer.myPosition = someOwner->myPosition;
		somePlayer.myMoveInput = someOwner->GetController().GetMoveInput();
		somePlayer.myLastMoveDirection = someOwner->GetController().GetLastMoveDirection();
	}
	Place(somePlayer, anAnchor);
}

void FlipbookVFX::Advance(float aDeltaTime)
{
	const FlipbookTable::Sheet& someSheet = *FlipbookTable::Find(myId);
	myFrameTimer += aDeltaTime;
	if (myFrameTimer >= myFrameTime)
	{
		myFrameIndex += FlipbookTable::GetFrameStep(myId);
		if (myFrameIndex >= someSheet.myColumns * someSheet.myRows)
		{
			myFrameIndex = 0;
			if (!someSheet.myLoops)
			{
				Stop();
			}
		}
		myFrameTimer = 0.0f;
	}
	mySprite.mySecondRect = GetFrameRect();
	mySprite.myTransform = Norv::Matrix4x4();
	if (myId == 22)
	{
		mySprite.myColor = myColor;
	}
}

Norv::Vector4<float> FlipbookVFX::GetFrameRect() const
{
	const FlipbookTable::Sheet& someSheet = *FlipbookTable::Find(myId);
	const float someColumns = static_cast<float>(someSheet.myColumns);
	const float someRows = static_cast<float>(someSheet.myRows);
	const float someColumn = static_cast<float>(myFrameIndex % someSheet.myColumns);
	const float someRow = static_cast<float>(myFrameIndex / someSheet.myColumns);
	return { someColumn / someColumns, someRow / someRows, someColumn / someColumns + 1.0f / someColumns,
		someRow / someRows + 1.0f / someRows };
}

Norv::Vector3<float> FlipbookVFX::GetAnchorPoint(const PlayerView& aPlayer, const Norv::Vector3<float>& anAnchor)
{
	const Norv::Vector2<float>& p = aPlayer.myPosition;
	switch (myId)
	{
	case 8:
	case 9:
		myPosition.x = anAnchor.x;
		myPosition.y = anAnchor.y;
		return myPosition;
	case 21:
	case 22: return anAnchor;
	case 10: return { p.x, p.y, myPosition.z };
	case 13:
	case 15: return { p.x, p.y + 45.0f, myPosition.z };
	case 14: return { p.x + 100.0f, p.y + 45.0f, myPosition.z };
	case 16: return { p.x, p.y + 150.0f, myPosition.z };
	case 17:
	case 18: return { p.x, p.y - 200.0f, myPosition.z };
	case 26: return { p.x, p.y, 0.0f };
	default: return myPosition;
	}
}

void FlipbookVFX::Place(const PlayerView& aPlayer, const Norv::Vector3<float>& anAnchor)
{
	const FlipbookTable::Sheet& someSheet = *FlipbookTable::Find(myId);
	const Norv::Vector2<unsigned int> someSheetSize = mySheet ? mySheet->mySize : Norv::Vector2<unsigned int>();
	float w = static_cast<float>(someSheetSize.x / static_cast<unsigned int>(someSheet.myColumns));
	float h = static_cast<float>(someSheetSize.y / static_cast<unsigned int>(someSheet.myRows));
	if (FlipbookTable::HasDoubleCell(myId))
	{
		w *= 2.0f;
		h *= 2.0f;
	}
	if (FlipbookTable::IsDash(myId))
	{
		PlaceDash(aPlayer, w, h);
		return;
	}

	const Norv::Vector3<float> a = GetAnchorPoint(aPlayer, anAnchor);
	float someTurn = 0.0f;
	Norv::Vector2<float> someCorner{ a.x - w / 2.0f, a.y + h / 2.0f };
	bool someMirror = false;
	switch (myId)
	{
	case 0:
		if (myFirstFlip)
		{
			someTurn = QUARTER_TURN_DEGREES;
			someCorner = { a.x - w, a.y - h };
		}
		else if (mySecondFlip)
		{
			someTurn = -QUARTER_TURN_DEGREES;
			someCorner = { a.x + w, a.y + h };
		}
		else
		{
			someCorner = { a.x - w, a.y + h };
		}
		break;
	case 1:
	case 20: someCorner = { a.x - w, a.y + h }; break;
	case 6:
		someMirror = aPlayer.myMoveInput < 0.0f;
		someCorner = { someMirror ? a.x + w : a.x - w, a.y + h / 2.0f };
		break;
	case 7:
	case 19:
		someTurn = mySide < 0.0f ? QUARTER_TURN_DEGREES : (mySide > 0.0f ? -QUARTER_TURN_DEGREES : 0.0f);
		someCorner = { a.x, (myId == 19 && mySide != 0.0f) ? a.y - h : a.y };
		someMirror = mySide > 0.0f;
		break;
	case 10:
		someCorner = { aPlayer.myLastMoveDirection > 0.0f ? a.x - w / 2.0f : a.x + w / 2.0f, a.y + h / 2.0f };
		someMirror = aPlayer.myLastMoveDirection < 0.0f;
		break;
	case 14: someCorner = { a.x - (w / 2.0f + 100.0f), a.y + (h / 2.0f - 70.0f) }; break;
	case 15: someCorner = { a.x - (w / 2.0f + 25.0f), a.y + (h / 2.0f - 40.0f) }; break;
	case 16:
		someMirror = myDirection < 0.0f;
		someCorner = { someMirror ? a.x + (w / 2.0f + 10.0f) : a.x - (w / 2.0f + 20.0f), a.y + (h / 2.0f - 50.0f) };
		break;
	case 17:
		someCorner = { a.x + (w / 2.0f + 10.0f), a.y + (h / 2.0f + 185.0f) };
		someMirror = true;
		break;
	case 18: someCorner = { a.x - (w / 2.0f + 40.0f), a.y + (h / 2.0f + 185.0f) }; break;
	default: break;
	}
	if (someMirror)
	{
		w = -w;
	}
	if (FlipbookTable::IsDrawnDouble(myId))
	{
		w *= 2.0f;
		h *= 2.0f;
	}

	Norv::Matrix4x4& someTransform = mySprite.myTransform;
	if (someTurn != 0.0f)
	{
		someTransform = Norv::Matrix4x4::CreateRotationAroundZ(someTurn) * someTransform;
	}
	for (int someColumn = 1; someColumn <= 4; ++someColumn)
	{
		someTransform(1, someColumn) *= w;
		someTransform(2, someColumn) *= h;
	}
	someTransform(4, 1) = someCorner.x;
	someTransform(4, 2) = someCorner.y;
	someTransform(4, 3) = a.z;
}

void FlipbookVFX::PlaceDash(const PlayerView& aPlayer, float aWidth, float aHeight)
{
	Norv::Vector2<float> someCorner{ aPlayer.myPosition.x - aWidth / 2.0f, aPlayer.myPosition.y + aHeight / 2.0f };
	// A whole number of turns is added to a negative rotation (fmod keeps huge
	// values from looping forever).
	if (myRotation < 0.0f)
	{
		myRotation = std::fmod(myRotation, FULL_TURN_DEGREES);
		if (myRotation < 0.0f)
		{
			myRotation += FULL_TURN_DEGREES;
		}
	}
	const int someOctant = static_cast<int>(std::lround(myRotation / OCTANT_DEGREES)) % OCTANT_COUNT;
	if (myId == 4)
	{
		someCorner += DASH_SLASH_OFFSETS[someOctant];
	}
	else if (myId == 2)
	{
		someCorner += DASH_OFFSETS[someOctant];
	}
	Norv::Matrix4x4 somePlacement = Norv::Matrix4x4::CreateScale({ 2.0f * aWidth, 2.0f * aHeight, 1.0f });
	somePlacement(4, 1) = someCorner.x;
	somePlacement(4, 2) = someCorner.y;
	somePlacement(4, 3) = 0.0f;
	mySprite.myTransform = Norv::Matrix4x4::CreateRotationAroundZ(myRotation) * somePlacement;
}

void FlipbookVFX::Render()
{
	Draw(mySprite);
}

void FlipbookVFX::RenderScaled(const Norv::Vector3<float>& aScale)
{
	Norv::Sprite3DInstanceData someSprite = mySprite;
	const float someFactors[3] = { aScale.x, aScale.y, aScale.z };
	for (int someRow = 1; someRow <= 3; ++someRow)
	{
		for (int someColumn = 1; someColumn <= 4; ++someColumn)
		{
			someSprite.myTransform(someRow, someColumn) *= someFactors[someRow - 1];
		}
	}
	Draw(someSprite);
}

void FlipbookVFX::Draw(const Norv::Sprite3DInstanceData& aSprite)
{
	if (!myIsPlaying || !myEngine)
	{
		return;
	}
	Norv::GraphicsEngine* someGraphics = myEngine->GetGraphicsEngine();
	if (!someGraphics || !someGraphics->GetSpriteDrawer())
	{
		return;
	}
	Norv::SpriteBatchScope someBatch = someGraphics->GetSpriteDrawer()->BeginBatch(mySharedData);
	someBatch.Draw(aSprite);
}

void FlipbookVFX::ReleaseWalkingPool()
{
	GetWalkingPool().clear();
}

std::vector<std::unique_ptr<FlipbookVFX>>& FlipbookVFX::GetWalkingPool()
{
	static std::vector<std::unique_ptr<FlipbookVFX>> ourPool;
	return ourPool;
}

void FlipbookVFX::CreateWalkingPool()
{
	std::vector<std::unique_ptr<FlipbookVFX>>& somePool = GetWalkingPool();
	if (!somePool.empty())
	{
		return;
	}
	for (int someIndex = 0; someIndex < WALKING_POOL_SIZE; ++someIndex)
	{
		somePool.push_back(std::make_unique<FlipbookVFX>());
		somePool.back()->Init(WALKING_EFFECT_ID);
	}
}
