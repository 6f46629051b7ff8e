#pragma once
// The base of every object that lives in a level: its collider box, velocity and
// models, the integration of that velocity through the tile grid, and the default
// damage and death rules. The play state drives every entity through the virtual
// operations below.
#include "world/FrameContext.h"

#include "Math/Vector.h"
#include "model/ModelInstance.h"
#include "stringRegistry/StringId.h"

#include <string>
#include <vector>

class Animator;

// One hit. Passed by value: the callee owns the copy.
struct DamageInfo
{
	float damage = 0.0f;                // hit points to take
	Norv::Vector2<float> knockback;     // velocity given to the target
	std::string tag;                    // every sender passes ""
	Entity* source = nullptr;           // the attacker when the sender names one
};

class Entity
{
public:
	static constexpr float DEFAULT_GRAVITY = 5032.0f;          // units/s², while rising
	static constexpr float DEFAULT_FALL_GRAVITY_SCALE = 1.25f; // gravity factor while not rising
	static constexpr float DEFAULT_MAX_FALL_SPEED = 10000.0f;  // units/s
	static constexpr float DEFAULT_HEALTH = 2.0f;              // hit points
	static constexpr int MOVE_SUB_STEPS = 5;                   // tile-grid moves per frame

	Entity() = default;
	Entity(const Entity&) = default;
	Entity& operator=(const Entity&) = default;
	virtual ~Entity() = default;

	// Once for every entity, after the whole level has been built.
	virtual void Init(FrameContext& aContext);
	// Every play frame, right after the entity's MoveAndCollide.
	virtual void Update(FrameContext& aContext);
	// World pass with depth test, for entities inside the view.
	virtual void Render();
	// After the foreground models, depth test off: effects.
	virtual void LateRender();
	// Only while debug drawing is on.
	virtual void DebugRender();
	// Under the interface camera: head-up display, overlays.
	virtual void RenderUI();
	// For every other entity whose collider overlaps this one this frame.
	virtual void OnCollision(Entity& anOther);
	// Null for entities without an animator.
	virtual Animator* GetAnimator();
	// Takes the damage and the knockback; at no health left, Die.
	virtual void TakeDamage(DamageInfo anInfo);
	// Stops the entity and marks it dead; removal is each subclass's own decision.
	virtual void Die();

	// Moves by the velocity through the tile grid in five sub-steps, then applies
	// gravity. Called by the play state once a frame before Update.
	void MoveAndCollide(FrameContext& aContext);

	Norv::Vector2<float> myPosition;                  // centre of the collider box
	Norv::Vector2<float> myColliderSize{ 100.0f, 100.0f };
	float myZ = 0.0f;                                 // depth of the models
	Norv::Vector2<float> myVelocity;                  // units per second
	Norv::Vector3<float> myRotation;                  // Euler angles of the models, degrees
	Norv::Vector3<float> myScale{ 1.0f, 1.0f, 1.0f };
	Norv::Vector2<float> myColliderOffset;            // collider offset from the placed object
	int myFacing = 1;                                 // 1 right, -1 left
	bool myUsesTileCollision = true;
	bool myUsesGravity = true;
	Norv::AnimatedModelInstance myAnimatedInstance;   // the skinned model, when the entity has one
	std::vector<Norv::ModelInstance> myModels;        // static models; a zero flag hides one
	Norv::Vector2<float> myModelOffset;               // models are drawn at myPosition + this
	Norv::StringId myTargetScene;                     // "targetScene" of doors
	float myGravity = DEFAULT_GRAVITY;
	float myFallGravityScale = DEFAULT_FALL_GRAVITY_SCALE;
	float myMaxFallSpeed = DEFAULT_MAX_FALL_SPEED;
	bool myShouldRemove = false;                      // deleted at the end of the frame's update
	float myAirTime = 0.0f;                           // seconds since the entity last landed
	float myHealth = DEFAULT_HEALTH;
	bool myIsHurt = false;
	bool myIsDead = false;
	Norv::Vector2<int> myContactSide;                 // last tile contact of MoveAndCollide
};
