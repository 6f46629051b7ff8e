#pragma once
// What the entity animators share: binding the owner, the set-up of their state
// tables (every state looping and interruptible unless its row says otherwise),
// the order of an enemy's death and damage states and the index of the state
// that was current after the last update.
#include "world/animation/Animator.h"

#include <cstdint>
#include <initializer_list>

class EntityAnimator : public Animator
{
public:
	// The base update, then the previous state follows the current one.
	void Update(float aDeltaTime) override;

	std::uint8_t GetPreviousState() const { return myPreviousState; }

protected:
	struct StateRow
	{
		int index;
		bool loop = true;
		bool interruptible = true;
		std::uint64_t allowed = 0;
		float exitOffset = NONE;
		float startTime = NONE;
		float speed = 1.0f;
	};

	EntityAnimator(int aStateCount, std::uint8_t aPreviousState) : Animator(aStateCount), myPreviousState(aPreviousState) {}

	// The set-up of an animator written against its owner's class: the base
	// Init, any transition allowed, the table applied. Returns the owner as a
	// TOwner, null for an entity of another class.
	template <typename TOwner>
	TOwner* BindOwner(Entity* anOwner, std::initializer_list<StateRow> aRows)
	{
		Animator::Init(anOwner);
		myAnyTransition = true;
		ApplyTable(aRows);
		return dynamic_cast<TOwner*>(anOwner);
	}

	// Every state loops and is interruptible; then each row's values.
	void ApplyTable(std::initializer_list<StateRow> aRows);
	// Death before damage before anyOther: the order every enemy's states keep.
	static int DeathDamageOr(const Entity& anEnemy, int aDeath, int aDamaged, int anyOther);

	// Transition bits: each listed index, and every index of [aFirst, aLast].
	static constexpr std::uint64_t Bits(std::initializer_list<int> anIndices)
	{
		std::uint64_t someBits = 0;
		for (const int someIndex : anIndices)
		{
			someBits |= std::uint64_t{ 1 } << someIndex;
		}
		return someBits;
	}
	static constexpr std::uint64_t BitRange(int aFirst, int aLast)
	{
		std::uint64_t someBits = 0;
		for (int someIndex = aFirst; someIndex <= aLast; ++someIndex)
		{
			someBits |= std::uint64_t{ 1 } << someIndex;
		}
		return someBits;
	}
	std::uint64_t AnyState() const { return std::uint64_t{ 1 } << (myStateCount - 1); }

	std::uint8_t myPreviousState;
};
