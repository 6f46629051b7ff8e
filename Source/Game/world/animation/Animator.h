#pragma once
// Drives the skeletal animation of one entity: a fixed table of states, each with
// its own animation player and transition rules. Every frame the subclass names
// the state the entity should be in; the animator decides whether it may switch,
// cross-fades from the pose it left over the blend time, writes the pose into the
// entity's animated model instance and advances the clip.
#include "model/AnimationPlayer.h"

#include <cstdint>
#include <string>
#include <vector>

class Entity;

struct AnimationState
{
	Norv::AnimationPlayer player;
	int index = 0;
	std::string name;
	// While false the state is left only when its clip ends.
	bool interruptible = false;
	// Bit k: may switch to state k; the bit of the last index: to any state.
	std::uint64_t allowedTransitions = 0;
	float exitOffset = -1.0f; // s before the clip's end at which the state counts as ended; -1 none
	float startTime = -1.0f;  // s into the clip at which a fresh player starts; -1 none
	float speed = 1.0f;       // copied into the player before every update
};

class Animator
{
public:
	static constexpr float DEFAULT_BLEND_TIME = 0.1f; // s of cross-fade after a switch
	static constexpr float NONE = -1.0f;              // no exit offset, no start time

	explicit Animator(int aStateCount);

	virtual void Init(Entity* anOwner);
	// Pure, with the base body that every subclass's Update calls.
	virtual void Update(float aDeltaTime) = 0;
	// The state the entity's situation calls for, or -1 for no preference.
	virtual int SelectState() = 0;

	// Binds a clip: states[anIndex] gets the player, its index and the name.
	void AddState(const Norv::AnimationPlayer& aPlayer, const int& anIndex, const std::string& aName);
	void BlendPoses(Norv::SkeletonPose& aPose, float aDeltaTime);

	int GetCurrentStateIndex() const { return myCurrentStateIndex; }
	int GetStateCount() const { return myStateCount; }
	AnimationState& GetState(int anIndex) { return myStates[static_cast<std::size_t>(anIndex)]; }
	const AnimationState* GetCurrentState() const { return myCurrentState; }
	bool IsBlending() const { return myIsBlending; }
	const Norv::SkeletonPose& GetBlendFromPose() const { return myBlendFromPose; }
	// The pose written to the owner by the last update.
	const Norv::SkeletonPose& GetShownPose() const { return myShownPose; }

protected:
	bool IsValidIndex(int anIndex) const { return anIndex >= 0 && anIndex < myStateCount; }

	bool myAnyTransition = false;
	Entity* myOwner = nullptr;
	int myCurrentStateIndex = 0;
	int myStateCount;
	std::vector<AnimationState> myStates;
	AnimationState* myCurrentState = nullptr;
	Norv::SkeletonPose myBlendFromPose;
	float myBlendTimer = 0.0f;
	float myBlendTime = DEFAULT_BLEND_TIME;
	bool myIsBlending = false;

private:
	void SwitchState(AnimationState& aLeaving);
	bool HasEnded(const AnimationState& aState) const;

	Norv::SkeletonPose myShownPose;
};
