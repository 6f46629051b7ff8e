#pragma once
// A sprite-sheet effect in the world: one texture holds a grid of frames, shown
// one after another as a 3D sprite at a fixed frame time, once or in a loop. The
// id (FlipbookTable) picks the sheet, timing and placement. Owners start it with
// PlayAt, update it every frame and draw it in their render pass.
#include "Math/Color.h"
#include "Math/Vector.h"
#include "drawers/SpriteData.h"

#include <memory>
#include <vector>

namespace Norv
{
	class Engine;
	struct Texture;
}
struct FrameContext;

class FlipbookVFX
{
public:
	static constexpr int WALKING_POOL_SIZE = 20;
	static constexpr int WALKING_EFFECT_ID = 6;

	FlipbookVFX();

	// Stores the id and takes its sheet and timing; an id outside the table is
	// reported and the effect then never plays.
	void Init(int anId);
	// Starts the effect at aPosition; ignored while it plays.
	void PlayAt(const Norv::Vector3<float>& aPosition, float aDirection);
	void Stop();
	// Advances and places a playing effect; some ids follow anAnchor or the player.
	void Update(const FrameContext& aContext, const Norv::Vector3<float>& anAnchor);
	void Render();
	// Drawn with the transform's rows scaled by aScale (x, y, z); the effect's own
	// placement is left as it is.
	void RenderScaled(const Norv::Vector3<float>& aScale);
	// The alpha of an effect tinted by its own colour (the fog).
	void SetAlpha(float anAlpha) { myColor.a = anAlpha; }

	bool IsPlaying() const { return myIsPlaying; }
	int GetId() const { return myId; }
	int GetFrameIndex() const { return myFrameIndex; }
	const Norv::Vector3<float>& GetPosition() const { return myPosition; }
	const Norv::Sprite3DInstanceData& GetSprite() const { return mySprite; }

	// The twenty running-dust effects shared by the player's movement controller;
	// made once for the running engine (they hold its textures and draw with it)
	// and released before it goes, so a later engine in the process makes its own.
	static void CreateWalkingPool();
	static void ReleaseWalkingPool();
	static std::vector<std::unique_ptr<FlipbookVFX>>& GetWalkingPool();

	// Set by the owners before PlayAt.
	float myRotation = 0.0f; // degrees, dash ids
	float myDirection = 1.0f;
	bool myFirstFlip = false;
	bool mySecondFlip = false;
	float mySide = 0.0f; // ids 7 and 19: the sign picks the turn and the mirror

private:
	// What of the player the placement reads.
	struct PlayerView
	{
		Norv::Vector2<float> myPosition;
		float myMoveInput = 0.0f;
		float myLastMoveDirection = 1.0f;
	};

	void Advance(float aDeltaTime);
	void Place(const PlayerView& aPlayer, const Norv::Vector3<float>& anAnchor);
	void PlaceDash(const PlayerView& aPlayer, float aWidth, float aHeight);
	Norv::Vector3<float> GetAnchorPoint(const PlayerView& aPlayer, const Norv::Vector3<float>& anAnchor);
	Norv::Vector4<float> GetFrameRect() const;
	void Draw(const Norv::Sprite3DInstanceData& aSprite);

	Norv::Engine* myEngine = nullptr;
	Norv::Vector2<unsigned int> myRenderSize;
	Norv::Vector2<float> myRenderSizeF;
	Norv::Vector3<float> myPosition;
	float myFrameTimer = 0.0f;
	float myFrameTime = 0.05f;
	int myFrameIndex = 0;
	bool myIsPlaying = false;
	Norv::Color myColor{ 1.0f, 1.0f, 1.0f, 1.0f };
	Norv::Sprite3DInstanceData mySprite;
	Norv::SpriteSharedData mySharedData;
	int myId = -1;
	Norv::Texture* mySheet = nullptr;
};
