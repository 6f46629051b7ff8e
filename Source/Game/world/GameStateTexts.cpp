// The play state's scene-specific drawing: the hub's area titles, and the hints
// of the tutorial (over its opening video while it plays) and of the first level.
#include "world/GameState.h"

#include "media/VideoOverlay.h"
#include "shell/StateStack.h"
#include "shell/widgets/MenuSprites.h"

#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/TextureManager.h"
#include "text/Text.h"

#include <array>
#include <span>

namespace
{
	constexpr float TITLE_Y = 400.0f;
	constexpr float TITLE_Z = 200.0f;
	constexpr float TITLE_SCALE = 0.8f;
	constexpr float HINT_Z = 100.0f;
	constexpr float HINT_SCALE = 0.7f;

	struct AreaTitle
	{
		float myX;
		const char* myImage;
	};

	constexpr std::array HUB_TITLES{
		AreaTitle{ 790.0f, "../Source/Game/data/UI/Tutorial_Text.png" },
		AreaTitle{ 1200.0f, "../Source/Game/data/UI/Cave_Text.png" },
		AreaTitle{ 1654.0f, "../Source/Game/data/UI/Forest_Text.png" },
		AreaTitle{ 2060.0f, "../Source/Game/data/UI/Dungeon_Text.png" },
	};

	struct Hint
	{
		float myX;
		float myY;
		const char* myText;
	};

	constexpr std::array TUTORIAL_HINTS{
		Hint{ 0.0f, 400.0f, "Move with the left joystick\nUse WASD on a keyboard" },
		Hint{ 2300.0f, 400.0f, "Controller->Jump with A\nkeyboard -> K" },
		Hint{ 7300.0f, 400.0f, "Jump on the walls\nto reach further up" },
		Hint{ 3800.0f, 2000.0f, "Attack with X button\nJ (keyboard)" },
	};

	constexpr std::array LEVEL_1_HINTS{
		Hint{ 3700.0f, 4700.0f, "Attack the flower to open it\nand use it as a platform" },
		Hint{ 4500.0f, 4600.0f, "But be careful... and fast" },
	};

	// The hints the scene shows: the tutorial's only once the cutscene overlay is active.
	std::span<const Hint> FindShownHints(const std::string& aScenePath)
	{
		if (aScenePath == GameState::TUTORIAL_SCENE)
			return VideoOverlay::GetInstance().IsActive() ? std::span<const Hint>(TUTORIAL_HINTS) : std::span<const Hint>();
		if (aScenePath == GameState::LEVEL_1_SCENE)
			return LEVEL_1_HINTS;
		return {};
	}

	// One texture as one sprite in a batch of its own, its centre at (width x aXFactor, aY).
	void DrawImageCentered(const char* aTexturePath, float anXFactor, float aY)
	{
		Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
		if (!someTextures)
			return;
		Norv::SpriteSharedData someShared;
		someShared.myColorTexture = someTextures->GetTexture(aTexturePath, Norv::TEXTURE_MODE_FORCE_SRGB);
		Norv::Sprite2DInstanceData someSprite;
		someSprite.mySize = Menu::GetTextureSize(someShared.myColorTexture);
		someSprite.myPosition = { someSprite.mySize.x * anXFactor, aY };
		DrawSpriteInstance(someShared, someSprite);
	}

	// Each hint centred on its point in the hint font.
	void DrawHints(Norv::GraphicsStateStack& aStates, std::span<const Hint> aHints, const std::shared_ptr<Norv::InternalTextAndFontData>& aFont)
	{
		for (const Hint& someHint : aHints)
		{
			aStates.Push();
			aStates.Translate({ someHint.myX, someHint.myY, HINT_Z });
			aStates.Scale(HINT_SCALE);
			Norv::Text someText(aFont);
			someText.SetText(someHint.myText);
			someText.SetPosition({ -0.5f * someText.GetWidth(), 0.0f });
			someText.Render();
			aStates.Pop();
		}
	}
}

void GameState::RenderSceneTexts() const
{
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	if (myScenePath == HUB_SCENE)
	{
		for (const AreaTitle& someTitle : HUB_TITLES)
		{
			someStates->Push();
			someStates->Translate({ someTitle.myX, TITLE_Y, TITLE_Z });
			someStates->Scale(TITLE_SCALE);
			DrawImageCentered(someTitle.myImage, -0.0f, 0.0f);
			someStates->Pop();
		}
	}
	const std::span<const Hint> someHints = FindShownHints(myScenePath);
	if (someHints.empty())
		return;
	if (myScenePath == TUTORIAL_SCENE && myIsPlayingCutscene)
	{
		// The hints that follow stay under the interface camera, on top of the video.
		if (const StateStack* someOwner = StateStack::GetInstance())
			someStates->SetCamera(someOwner->GetInterfaceCamera());
		VideoOverlay::GetInstance().Render();
	}
	DrawHints(*someStates, someHints, myHintFont);
}

bool GameState::AreHintsShown() const
{
	return !FindShownHints(myScenePath).empty();
}
