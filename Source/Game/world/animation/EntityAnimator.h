#pragma once
// What the entity animators share: the set-up of their state tables (every state
// looping and interruptible unless its row says otherwise) and the index of the
// state that was current after the last update.
#include "world/animation/Animator.h"

#include <cstdint>
#include <initializer_list>

class EntityAnimator : public Animator
{
public:
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

	// Every state loops and is interruptible; then each row's values.
	void ApplyTable(std::initializer_list<StateRow> aRows);
	// The base update, then the previous state follows the current one.
	void UpdateAndRemember(float aDeltaTime);

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
