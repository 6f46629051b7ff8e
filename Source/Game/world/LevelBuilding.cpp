// GameState::LoadLevel: one scene turned into a playable level.
#include "world/AbilityFlags.h"
#include "world/GameState.h"
#include "world/LevelPlan.h"
#include "world/entities/Gate.h"
#include "world/entities/Lever.h"
#include "world/entities/PatrollingEnemy.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "shell/LoadingScreen.h"

#include "engine/Engine.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsEngine.h"
#include "kernel/Memory.h"
#include "model/ModelDrawer.h"
#include "model/ModelOpacity.h"
#include "properties/PlainPropertyTypes.h"
#include "scene/ObjectDefinition.h"
#include "scene/Scene.h"
#include "scene/SceneSerialize.h"
#include "settings/settings.h"
#include "sound/Audio.h"
#include "stringRegistry/StringRegistry.h"
#include "text/FontManager.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <iostream>
#include <utility>

namespace
{
	constexpr float FOG_PER_DEPTH = 0.0001f; // full fog 10000 units behind depth 0
	constexpr std::uint64_t CULLED = GameState::PROP_CULLED;
	constexpr Norv::Vector3<float> CAMERA_LOAD_OFFSET{ 0.0f, 999999.0f, -1600.0f }; // far above the level until the return glides in

	Norv::StringId Name(std::string_view aText)
	{
		return Norv::StringRegistry::RegisterOrGetString(aText);
	}

	// The names level building matches, interned once.
	struct Keys
	{
		Norv::StringId positionZ = Name("positionZ");
		Norv::StringId scale = Name("scale");
		Norv::StringId rotation = Name("rotation");
		Norv::StringId targetScene = Name("targetScene");
		Norv::StringId colliderOffset = Name("colliderOffset");
		Norv::StringId colliderSize = Name("colliderSize");
		Norv::StringId connectedLever = Name("connectedLever");
		Norv::StringId connectedDoor = Name("connectedDoor");
		Norv::StringId isBoss = Name("isBoss");
		Norv::StringId panOnOpen = Name("panOnOpen");
		Norv::StringId visible = Name("visible");
		Norv::StringId useFrustumCulling = Name("useFrustumCulling");
		Norv::StringId drawnWithHints = Name("drawnWithHints");
		Norv::StringId brightness = Name("brightness");
		Norv::StringId saturation = Name("saturation");
		Norv::StringId hue = Name("hue");
		Norv::StringId fogColor = Name("fogColor");
		Norv::StringId boundaryTopRight = Name("cameraBoundaryTopRight");
		Norv::StringId boundaryBottomLeft = Name("cameraBoundaryBottomLeft");
		Norv::StringId dashUnlocked = Name("dashUnlocked");
		Norv::StringId climbUnlocked = Name("climbUnlocked");
		Norv::StringId slashUnlocked = Name("slashUnlocked");
	};

	const Keys& GetKeys()
	{
		static const Keys ourKeys;
		return ourKeys;
	}

	// The scene's two tracks by its exact path: ambience first, then music.
	std::pair<Norv::Audio*, Norv::Audio*> GetSceneTracks(const std::string& aScenePath)
	{
		if (aScenePath == GameState::HUB_SCENE || aScenePath == GameState::TUTORIAL_SCENE)
			return { AudioManager::GetAmbienceForrestLoop(), AudioManager::GetMusicForrestLoop() };
		if (aScenePath == GameState::LEVEL_1_SCENE)
			return { AudioManager::GetAmbienceCaveLoop(), AudioManager::GetMusicCaveLoop() };
		if (aScenePath == GameState::LEVEL_2_SCENE)
			return { AudioManager::GetAmbienceSadForestLoop(), AudioManager::GetMusicSadForrestLoop() };
		if (aScenePath == GameState::ENDING_SCENE)
			return { AudioManager::GetAmbienceCaveLoop(), nullptr };
		return { nullptr, nullptr };
	}

	// The colour adjustment a key names: x brightness, y saturation, z hue; null for other keys.
	float Norv::Vector4<float>::*ColorChannel(Norv::StringId aKey)
	{
		const Keys& someKeys = GetKeys();
		if (aKey == someKeys.brightness)
			return &Norv::Vector4<float>::x;
		if (aKey == someKeys.saturation)
			return &Norv::Vector4<float>::y;
		if (aKey == someKeys.hue)
			return &Norv::Vector4<float>::z;
		return nullptr;
	}

	// An animated entity's skinned instance, or every model a static one holds so far.
	void SetColorAdjustment(Entity& anEntity, float Norv::Vector4<float>::*aChannel, float aValue, bool anIsAnimated)
	{
		if (anIsAnimated)
		{
			anEntity.myAnimatedInstance.myColorAdjust.*aChannel = aValue;
			return;
		}
		for (Norv::ModelInstance& someInstance : anEntity.myModels)
			someInstance.myColorAdjust.*aChannel = aValue;
	}

	void ApplyEntityKey(Entity& anEntity, const Norv::PropertyDefinition& aProperty, bool anIsAnimated)
	{
		const Keys& someKeys = GetKeys();
		const Norv::Property& someValue = aProperty.value;
		if (aProperty.name == someKeys.positionZ)
		{
			if (const float* someZ = someValue.TryGet<float>(); someZ && anIsAnimated)
				anEntity.myZ = *someZ;
		}
		else if (aProperty.name == someKeys.scale)
		{
			if (const auto* someScale = someValue.TryGet<Norv::Vector3<float>>())
				anEntity.myScale = *someScale;
		}
		else if (aProperty.name == someKeys.rotation)
		{
			if (const auto* someRotation = someValue.TryGet<Norv::Vector3<float>>())
				anEntity.myRotation = *someRotation;
		}
		else if (aProperty.name == someKeys.targetScene)
		{
			if (const auto* someScene = someValue.TryGet<Norv::StringId>())
				anEntity.myTargetScene = *someScene;
		}
		else if (aProperty.name == someKeys.colliderOffset)
		{
			// The position took every offset already (GetPlacedPosition).
			if (const auto* someOffset = someValue.TryGet<Norv::Vector2<float>>())
			{
				anEntity.myColliderOffset = *someOffset;
				anEntity.myModelOffset = -*someOffset;
			}
		}
		else if (aProperty.name == someKeys.colliderSize)
		{
			if (const auto* someSize = someValue.TryGet<Norv::Vector2<float>>())
				anEntity.myColliderSize = *someSize;
		}
		else if (aProperty.name == someKeys.connectedLever)
		{
			if (const int* someId = someValue.TryGet<int>(); someId && dynamic_cast<Gate*>(&anEntity))
				static_cast<Gate&>(anEntity).myLeverId = *someId;
		}
		else if (aProperty.name == someKeys.connectedDoor)
		{
			if (const int* someId = someValue.TryGet<int>(); someId && dynamic_cast<Lever*>(&anEntity))
				static_cast<Lever&>(anEntity).myGateId = *someId;
		}
		else if (aProperty.name == someKeys.isBoss)
		{
			PatrollingEnemy* someEnemy = dynamic_cast<PatrollingEnemy*>(&anEntity);
			if (const bool* someIsBoss = someValue.TryGet<bool>(); someIsBoss && someEnemy)
				someEnemy->myIsBoss = *someIsBoss;
		}
		else if (aProperty.name == someKeys.panOnOpen)
		{
			if (const bool* somePan = someValue.TryGet<bool>(); somePan && dynamic_cast<Gate*>(&anEntity))
				static_cast<Gate&>(anEntity).myPanOnOpen = *somePan;
		}
		else if (float Norv::Vector4<float>::*someChannel = ColorChannel(aProperty.name))
		{
			if (const float* someAdjust = someValue.TryGet<float>())
				SetColorAdjustment(anEntity, someChannel, *someAdjust, anIsAnimated);
		}
	}

	// Each lever to the first gate, in entity order, whose lever id is its gate id;
	// a gate several levers match keeps the last of them.
	void LinkLeversAndGates(const EntityList& anEntities)
	{
		for (const std::unique_ptr<Entity>& someEntity : anEntities)
		{
			Lever* someLever = dynamic_cast<Lever*>(someEntity.get());
			if (!someLever)
				continue;
			for (const std::unique_ptr<Entity>& someOther : anEntities)
			{
				Gate* someGate = dynamic_cast<Gate*>(someOther.get());
				if (someGate && someGate->myLeverId == someLever->myGateId)
				{
					someLever->myGate = someGate;
					someGate->myLever = someLever;
					break;
				}
			}
		}
	}

	bool IsAnimatedEntityType(Norv::StringId aType)
	{
		static const Norv::StringId ourAnimated[] = { Name("PatrollingEnemy"), Name("Player"), Name("FlyingEnemy"), Name("FlowerPlatform"), Name("MushroomEnemy"), Name("Destructible") };
		return std::find(std::begin(ourAnimated), std::end(ourAnimated), aType) != std::end(ourAnimated);
	}
}

void GameState::ClearLevel()
{
	StopTracks();
	myAmbienceTrack = nullptr;
	myMusicTrack = nullptr;
	myEntities.clear();
	myFrameContext.player = nullptr;
	// A level without a player must not leave the camera on the one just destroyed.
	myCameraController.SetPlayer(nullptr);
	myTiles.clear();
}

bool GameState::LoadLevel(const std::string& aScenePath)
{
	// A loader that fails leaves what it could read; the level is built from that.
	Norv::Scene someScene;
	bool someIsWhole = false;
	try
	{
		someIsWhole = Norv::SceneSerialize::LoadScene(aScenePath.c_str(), someScene);
	}
	catch (const std::exception& anError)
	{
		std::cerr << "The scene \"" << aScenePath << "\" could not be read whole: " << anError.what() << '\n';
	}

	Norv::ObjectDefinitionRegistry someDefinitions;
	const std::string someAssets = Norv::Settings::GetGameAssetsPath().string();
	try
	{
		Norv::RegisterObjectDefinitionFiles(someDefinitions, someAssets);
	}
	catch (const std::exception& anError)
	{
		std::cerr << "The object definitions under \"" << someAssets << "\" could not all be read: " << anError.what() << '\n';
	}

	// Refused before anything of the level in play is touched, so play can go on there.
	const LevelPlan somePlan = PlanLevel(someScene, someIsWhole, someDefinitions, aScenePath);
	if (const std::string someReason = myIsPlayerRequired ? somePlan.FindUnplayableReason() : std::string(); !someReason.empty())
	{
		std::cerr << "The scene \"" << aScenePath << "\" cannot be played (" << someReason << "): back to "
				  << (myCanResumeLevel ? "\"" + myScenePath + "\"" : std::string("the main menu")) << '\n';
		return false;
	}

	ClearLevel();
	AbilityFlags[Ability::DASH] = false;
	AbilityFlags[Ability::CLIMB] = false;
	AbilityFlags[Ability::DASH_SLASH] = false;
	myScenePath = aScenePath;

	myResolution = GetRenderSize(myResolution);
	MakeWorldCamera();
	myWorldCamera->myTransform.SetTranslation(myWorldCamera->myTransform.GetTranslation() + CAMERA_LOAD_OFFSET);
	myCameraController.SetCamera(myWorldCamera.get());
	myCameraController.myRelease = true;

	myPropInstances.clear();
	myCameraController.myBoundsMax = { CameraController::FAR_BOUND, CameraController::FAR_BOUND };
	myCameraController.myBoundsMin = { -CameraController::FAR_BOUND, -CameraController::FAR_BOUND };
	if (Norv::Engine* someEngine = Norv::Engine::GetInstance(); someEngine && someEngine->GetFontManager())
		myHintFont = someEngine->GetFontManager()->LoadFont(HINT_FONT, HINT_FONT_SIZE, 0);

	for (const PlannedObject& someObject : somePlan.objects)
	{
		if (!BuildObject(someObject))
		{
			std::cerr << "Object definition \"" << someObject.definition->path << "\": unknown entity type \"" << someObject.entityType.c_str()
				<< "\"; its object \"" << someObject.object->name << "\" in scene \"" << aScenePath << "\" is skipped\n";
		}
	}
	LinkLeversAndGates(myEntities);

	myFrameContext.entities = &myEntities;
	myFrameContext.grid = &myTileGrid;
	myTileGrid.Build(&myEntities, myTiles, this);
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		someEntity->Init(myFrameContext);
	FogAndSplitProps();

	std::tie(myAmbienceTrack, myMusicTrack) = GetSceneTracks(myScenePath);
	PlayTracks();
	LoadingScreen::GetInstance().StartFadeOut();
	// The last level's objects and the load's scratch memory are free now.
	Platform::ReturnFreeMemory();

	myIsLevelLoaded = true;
	myCanResumeLevel = true;
	myRefusedScenePath.clear();
	myCameraController.StartLevelGlide();
	return true;
}

bool GameState::BuildObject(const PlannedObject& anObject)
{
	const Norv::SceneObject& someObject = *anObject.object;
	switch (anObject.category)
	{
	case ObjectCategory::Entity: return BuildEntity(someObject, anObject.properties, anObject.entityType, GetPlacedPosition(anObject));
	case ObjectCategory::Tile: BuildTile(someObject, anObject.properties); break;
	case ObjectCategory::Prop: BuildProp(someObject, anObject.properties); break;
	case ObjectCategory::System: ApplySystemKeys(someObject, anObject.properties); break;
	case ObjectCategory::None: break;
	}
	return true;
}

bool GameState::BuildEntity(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties, Norv::StringId aType, Norv::Vector2<float> aPosition)
{
	std::unique_ptr<Entity> someCreated = CreateEntity(aType);
	if (!someCreated)
		return false;
	Entity& someEntity = *myEntities.emplace_back(std::move(someCreated));
	someEntity.myPosition = aPosition;
	someEntity.myZ = anObject.transform.translation.z;
	if (aType == Name("Player"))
		SetLevelPlayer(someEntity);

	const bool someIsAnimated = IsAnimatedEntityType(aType);
	const EntitySetUp someSetUp{ aProperties, someEntity, anObject, aType };
	bool someIsBound = false;
	for (std::size_t someIndex = 0; someIndex < aProperties.size(); ++someIndex)
	{
		const Norv::PropertyDefinition& someProperty = aProperties[someIndex];
		if (someIsAnimated)
		{
			if (!someIsBound && CreateAnimatedModelInstance(someProperty))
			{
				BindEntityAnimations(someSetUp);
				someIsBound = true;
			}
		}
		else
		{
			if (someIndex == 0)
				AddEntityModels(someSetUp);
			// Static entities take the rotation of their last model before every key.
			if (!someEntity.myModels.empty())
				someEntity.myRotation = GetEulerDegrees(someEntity.myModels.back().GetTransform());
		}
		ApplyEntityKey(someEntity, someProperty, someIsAnimated);
	}
	return true;
}

void GameState::SetLevelPlayer(Entity& aPlayer)
{
	myFrameContext.player = dynamic_cast<Player*>(&aPlayer);
	myCameraController.SetPlayer(&aPlayer);
	myFrameContext.player = dynamic_cast<Player*>(&aPlayer);
}

void GameState::BuildTile(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties)
{
	LevelTile someTile;
	someTile.instance.myFlag = CULLED;
	someTile.tileX = ToTileCoordinate(anObject.transform.translation.x);
	someTile.tileY = ToTileCoordinate(anObject.transform.translation.y);
	for (const Norv::PropertyDefinition& someProperty : aProperties)
	{
		AddTileModels(someProperty, someTile.instance, anObject);
		AddTileSprite(someProperty, someTile.instance, anObject);
		if (someProperty.name == GetKeys().visible)
			if (const bool* someVisible = someProperty.value.TryGet<bool>())
				someTile.visible = *someVisible;
	}
	myTiles.push_back(someTile);
}

void GameState::BuildProp(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties)
{
	const Keys& someKeys = GetKeys();
	Norv::ModelInstance& someInstance = myPropInstances.emplace_back();
	someInstance.myFlag = CULLED;
	for (const Norv::PropertyDefinition& someProperty : aProperties)
	{
		AddTileModels(someProperty, someInstance, anObject);
		AddTileSprite(someProperty, someInstance, anObject);
	}
	bool isDrawnWithHints = false;
	for (const Norv::PropertyDefinition& someProperty : aProperties)
	{
		if (const bool* someCulled = someProperty.value.TryGet<bool>(); someCulled && someProperty.name == someKeys.useFrustumCulling)
			someInstance.myFlag = *someCulled ? CULLED : 0;
		if (const bool* someWithHints = someProperty.value.TryGet<bool>(); someWithHints && someProperty.name == someKeys.drawnWithHints)
			isDrawnWithHints = *someWithHints;
		const float* someValue = someProperty.value.TryGet<float>();
		if (!someValue)
			continue;
		if (someProperty.name == someKeys.brightness)
			someInstance.myColorAdjust.x = *someValue;
		else if (someProperty.name == someKeys.saturation)
			someInstance.myColorAdjust.y = *someValue;
		else if (someProperty.name == someKeys.hue)
			someInstance.myColorAdjust.z = *someValue;
	}
	if (isDrawnWithHints)
		someInstance.myFlag |= GameState::PROP_WITH_HINTS;
}

void GameState::FogAndSplitProps()
{
	myBackgroundInstances.clear();
	myForegroundInstances.clear();
	for (Norv::ModelInstance& someInstance : myPropInstances)
	{
		const float someDepth = someInstance.GetTransform().GetTranslation().z;
		const float someFog = std::clamp(someDepth * FOG_PER_DEPTH, 0.0f, 1.0f);
		someInstance.SetColor({ myFogColor.r, myFogColor.g, myFogColor.b, myFogColor.a * someFog });
		(someDepth >= 0.0f ? myBackgroundInstances : myForegroundInstances).push_back(someInstance);
	}
	const auto FarFirst = [](const Norv::ModelInstance& aFirst, const Norv::ModelInstance& aSecond) {
		return aFirst.GetTransform().GetTranslation().z > aSecond.GetTransform().GetTranslation().z;
	};
	std::sort(myBackgroundInstances.begin(), myBackgroundInstances.end(), FarFirst);
	std::sort(myForegroundInstances.begin(), myForegroundInstances.end(), FarFirst);

	// Opaque background props may be drawn in any order with depth writes; those
	// with a shader of their own blend in list order like the rest.
	const Norv::GraphicsEngine* someGraphics = Norv::GraphicsEngine::GetCurrent();
	const Norv::ModelShader* someShader = someGraphics && someGraphics->GetModelDrawer() ? someGraphics->GetModelDrawer()->GetShader(0) : nullptr;
	Norv::TextureOpacityCache someOpacities;
	myIsOpaqueBackground.clear();
	for (const Norv::ModelInstance& someInstance : myBackgroundInstances)
		myIsOpaqueBackground.push_back(someShader && !someInstance.myShader && Norv::IsOpaque(someInstance, *someShader, someOpacities));
}

void GameState::ApplySystemKeys(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties)
{
	const Keys& someKeys = GetKeys();
	const Norv::Vector2<float> someMarker{ anObject.transform.translation.x, anObject.transform.translation.y };
	for (const Norv::PropertyDefinition& someProperty : aProperties)
	{
		const bool* someFlag = someProperty.value.TryGet<bool>();
		if (someProperty.name == someKeys.fogColor)
		{
			if (const Norv::Color* someColor = someProperty.value.TryGet<Norv::Color>())
				myFogColor = *someColor;
		}
		else if (someProperty.name == someKeys.boundaryTopRight)
			myCameraController.myBoundsMax = someMarker;
		else if (someProperty.name == someKeys.boundaryBottomLeft)
			myCameraController.myBoundsMin = someMarker;
		else if (someProperty.name == someKeys.dashUnlocked && someFlag)
			AbilityFlags[Ability::DASH] = *someFlag;
		else if (someProperty.name == someKeys.climbUnlocked && someFlag)
			AbilityFlags[Ability::CLIMB] = *someFlag;
		else if (someProperty.name == someKeys.slashUnlocked && someFlag)
			AbilityFlags[Ability::DASH_SLASH] = *someFlag;
	}
}
