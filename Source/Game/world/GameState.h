#pragma once
// The play state: owns the current level (entities, tiles, props, the world
// camera, its controller, the tile grid and the scene's music) and steps it once
// a frame. A level loads lazily: Init and ChangeScene record the scene, the next
// Update builds it. There is one play state in the process (GetInstance).
#include "shell/FrozenWorld.h"
#include "shell/IStates.h"
#include "world/CameraController.h"
#include "world/FrameContext.h"
#include "world/TileCollisionGrid.h"
#include "world/entities/Entity.h"

#include "Math/Color.h"
#include "Math/Vector.h"
#include "model/AnimationPlayer.h"
#include "model/ModelInstance.h"
#include "stringRegistry/StringId.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Norv
{
	class Audio;
	class Camera;
	struct InternalTextAndFontData;
	struct PropertyDefinition;
	class SceneObject;
}
struct PlannedObject;

// What the entity model set-up reads of one ENTITY object.
struct EntitySetUp
{
	const std::vector<Norv::PropertyDefinition>& myProperties; // the object's merged list
	Entity& myEntity;
	const Norv::SceneObject& myObject;
	Norv::StringId myType; // the object's "entityId"
};

class GameState : public IStates
{
public:
	// Longest world step, seconds. At the highest fall speed (10000 units/s) one of
	// the five move sub-steps then covers at most 50 units, half a tile: a box at
	// least as tall as it is wide, even centred over the seam of two floor tiles, is
	// still pushed up out of the floor rather than sideways into the seam.
	static constexpr float MAX_STEP_SECONDS = 1.0f / 40.0f;
	// The step the game is tuned at, seconds. A longer frame is stepped as several
	// equal steps of about this length, so the world keeps real time at any frame
	// rate and jumps and dashes come out as tuned; a frame up to STEP_SLACK longer
	// is still one step, so the timer's jitter at 60 Hz does not split frames.
	static constexpr float TUNED_STEP_SECONDS = 1.0f / 60.0f;
	static constexpr float STEP_SLACK = 0.05f;
	static_assert(TUNED_STEP_SECONDS * (1.0f + STEP_SLACK) <= MAX_STEP_SECONDS);
	// Longest frame the world catches up on, seconds: a window drag, a breakpoint
	// or a slow load is not replayed in full.
	static constexpr float MAX_FRAME_SECONDS = 0.25f;
	static constexpr float FIELD_OF_VIEW_DEGREES = 43.0f;
	static constexpr float NEAR_PLANE = 10.0f;
	static constexpr float FAR_PLANE = 50000.0f;

	static constexpr const char* TUTORIAL_SCENE = "scenes/Tutorial.nvs";
	static constexpr const char* HUB_SCENE = "scenes/Hub.nvs";
	static constexpr const char* LEVEL_1_SCENE = "scenes/Level_1.nvs";
	static constexpr const char* LEVEL_2_SCENE = "scenes/Level_2.nvs";
	static constexpr const char* ENDING_SCENE = "scenes/Ending.nvs";
	static constexpr const char* TUTORIAL_VIDEO = "../Source/Game/data/video/first_cutscene.mp4";
	static constexpr const char* HINT_FONT = "../Source/Game/data/UI/Melon_Pop.ttf";
	static constexpr unsigned HINT_FONT_SIZE = 36;
	static constexpr Norv::Color LOADING_SCREEN_COLOR{ 1.0f, 1.0f, 1.0f, 1.0f };
	// A prop instance's flags (Norv::ModelInstance::myFlag): drawn only when in view;
	// drawn only while the scene shows its hints (a board behind them).
	static constexpr std::uint64_t PROP_CULLED = 1;
	static constexpr std::uint64_t PROP_WITH_HINTS = 2;

	// Publishes itself.
	GameState();
	~GameState() override;
	GameState(const GameState&) = delete;
	GameState& operator=(const GameState&) = delete;

	// The one play state; null when there is none.
	static GameState* GetInstance() { return ourInstance; }

	// Arms a level load of the scene list's current scene.
	void Init(InputMapper& anInput) override;
	// One frame of play: 0 stay, 3 pause menu, 4 ability page.
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override;
	void Render(InputMapper& anInput) override;
	// Re-applies the world projection at the engine's render size.
	void OnResize() override;

	// Asks for another scene; the current frame finishes on the old level. A scene
	// just refused as unplayable is not asked for again until another level loads.
	void ChangeScene(const std::string& aScenePath);
	// Builds the level of aScenePath; only Update calls it. A scene that cannot be
	// played (no player among the objects that would be built, or a player starting
	// below the world or over no ground) is refused with one line on standard error,
	// before the level in play is touched: false.
	bool LoadLevel(const std::string& aScenePath);
	// A new entity of the class that aType names, or null.
	static std::unique_ptr<Entity> CreateEntity(Norv::StringId aType);
	// Entity model set-up, during level building.
	// A "Model" property whose model is skinned (has joints).
	static bool CreateAnimatedModelInstance(const Norv::PropertyDefinition& aProperty);
	// The entity's skinned instance from its last "Model" property, and its clips.
	static void BindEntityAnimations(const EntitySetUp& aSetUp);
	// A static instance per "Model" property, until a path does not resolve.
	static void AddEntityModels(const EntitySetUp& aSetUp);
	// The target from a "Model" property; other properties leave it.
	static void AddTileModels(const Norv::PropertyDefinition& aProperty, Norv::ModelInstance& aTarget, const Norv::SceneObject& anObject);
	// The target as the placeholder quad textured by a "Sprite" property.
	static void AddTileSprite(const Norv::PropertyDefinition& aProperty, Norv::ModelInstance& aTarget, const Norv::SceneObject& anObject);
	static Norv::AnimationPlayer LoadAnimationClip(const Norv::PropertyDefinition& aProperty, const Norv::AnimatedModelInstance& anInstance);
	// A "Model" value's texture paths over the instance's own textures.
	static void ApplyTextureProperty(Norv::ModelInstance& anInstance, const Norv::PropertyDefinition& aProperty);
	static void ApplyAnimatedTextureProperty(Norv::AnimatedModelInstance& anInstance, const Norv::PropertyDefinition& aProperty);
	// Euler angles in degrees of a world matrix's rotation (its rows normalised).
	static Norv::Vector3<float> GetEulerDegrees(const Norv::Matrix4x4& aMatrix);

	// The play state's view test: a rectangle around the world camera.
	bool IsInView(Norv::Vector2<float> aPosition, Norv::Vector2<float> aSize) const;

	// The first entity whose dynamic type is T, or null.
	template <typename T>
	T* FindEntityOfType() const
	{
		for (const std::unique_ptr<Entity>& someEntity : myEntities)
			if (T* someFound = dynamic_cast<T*>(someEntity.get()))
				return someFound;
		return nullptr;
	}

	CameraController& GetCameraController() { return myCameraController; }
	const CameraController& GetCameraController() const { return myCameraController; }
	Norv::Camera* GetWorldCamera() const { return myWorldCamera.get(); }
	const EntityList& GetEntities() const { return myEntities; }
	const std::vector<LevelTile>& GetTiles() const { return myTiles; }
	const std::vector<Norv::ModelInstance>& GetPropInstances() const { return myPropInstances; }
	const std::vector<Norv::ModelInstance>& GetBackgroundInstances() const { return myBackgroundInstances; }
	const std::vector<Norv::ModelInstance>& GetForegroundInstances() const { return myForegroundInstances; }
	FrameContext& GetFrameContext() { return myFrameContext; }
	const FrameContext& GetFrameContext() const { return myFrameContext; }
	// The level's frame kept under the opening video.
	FrozenWorld& GetLevelUnderVideo() { return myLevelUnderVideo; }
	TileCollisionGrid& GetTileGrid() { return myTileGrid; }
	bool IsLevelLoaded() const { return myIsLevelLoaded; }
	const std::string& GetPendingScenePath() const { return myPendingScenePath; }
	Norv::Audio* GetAmbienceTrack() const { return myAmbienceTrack; }
	Norv::Audio* GetMusicTrack() const { return myMusicTrack; }

	// Read and written by entities directly.
	std::vector<Norv::Vector4<float>> myDebugHitBoxes; // attack boxes {x, y, w, h}
	std::string myScenePath;
	bool myIsShowcaseRequested = false;
	bool myIsPlayingCutscene = false;
	Norv::Color myFogColor{ 0.0f, 0.0f, 0.0f, 0.0f };
	Norv::Vector2<float> myResolution;
	// A level without a player cannot be played; world tests that step bare
	// entities switch this off.
	bool myIsPlayerRequired = true;

private:
	// The running engine's render size, or aFallback without an engine.
	static Norv::Vector2<float> GetRenderSize(Norv::Vector2<float> aFallback);

	// Level building, one planned object at a time.
	// False when the object names an entity type no class has.
	bool BuildObject(const PlannedObject& anObject);
	bool BuildEntity(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties, Norv::StringId aType, Norv::Vector2<float> aPosition);
	void BuildTile(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties);
	void BuildProp(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties);
	void ApplySystemKeys(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties);
	// The "anim_" properties of the entity's class as states of its animator.
	static void BindAnimationStates(const EntitySetUp& aSetUp, const Norv::AnimatedModelInstance& anInstance);
	// The latest "Player" object becomes the frame context's player and the camera's.
	void SetLevelPlayer(Entity& aPlayer);

	// After a refused scene: play goes on in the level it was asked from, or the
	// main menu comes up when there is none.
	void ReturnFromRefusedScene(InputMapper& anInput);
	// The world camera's projection follows the render size, also while a menu covers the level.
	void FollowRenderSize();

	void StopTracks();
	void PlayTracks();
	// The tutorial's opening video while it plays; true when the world stays frozen.
	bool UpdateCutscene(float aDeltaTime);
	// The frame's time as equal steps of about the tuned step; a scene change
	// or the ability page asked for ends it early.
	void StepWorld(InputMapper& anInput, float aFrameSeconds);
	// One world step: transforms, camera, entities, removal.
	void StepOnce();
	// Entity models placed from the previous frame's entity state.
	void UpdateModelTransforms();
	void StepEntities();
	void RemoveDeadEntities();
	void ClearLevel();
	void MakeWorldCamera();
	// Fog by depth, then the split into the background and foreground lists, far to near.
	void FogAndSplitProps();
	// The settings' "Collision" debug feature: tile grid and entity debug outlines over the level.
	static bool IsDebugDrawingOn();
	// A prop pass: culled instances outside the view are skipped, and boards of hints not shown.
	void DrawProps(const std::vector<Norv::ModelInstance>& anInstances) const;
	bool IsPropDrawn(const Norv::ModelInstance& anInstance) const;
	// The background props as a painter would draw them, far to near, with hidden pixels never shaded.
	void DrawBackground() const;
	void DrawEntityModels() const;
	// While the tutorial's opening video shows its frame over the window (the world frozen).
	bool IsVideoCoveringLevel() const;
	// The level's passes under the world camera: props, entities and their effects.
	void DrawLevel() const;
	// Area titles of the hub, hints of the tutorial (over its video) and of the first level.
	void RenderSceneTexts() const;
	// The scene's hints are drawn: the first level's always, the tutorial's once the cutscene overlay is active.
	bool AreHintsShown() const;
	void ApplyProjection();

	inline static GameState* ourInstance = nullptr;

	FrameContext myFrameContext;
	TileCollisionGrid myTileGrid;
	std::unique_ptr<Norv::Camera> myWorldCamera;
	CameraController myCameraController;
	bool myIsLevelLoaded = false;
	bool myCanResumeLevel = false; // the level built last is still there to go back to
	EntityList myEntities;
	std::vector<LevelTile> myTiles;
	std::vector<Norv::ModelInstance> myPropInstances;
	std::vector<Norv::ModelInstance> myBackgroundInstances; // depth at least 0
	std::vector<bool> myIsOpaqueBackground; // per background instance: all it draws has alpha 1
	std::vector<Norv::ModelInstance> myForegroundInstances; // depth below 0
	std::string myPendingScenePath;
	std::string myRefusedScenePath;
	Norv::Audio* myAmbienceTrack = nullptr;
	Norv::Audio* myMusicTrack = nullptr;
	std::shared_ptr<Norv::InternalTextAndFontData> myHintFont;
	FrozenWorld myLevelUnderVideo; // the level's frame kept while the opening video plays over it
};
