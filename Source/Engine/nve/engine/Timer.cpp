#include "engine/Timer.h"

#include "kernel/Kernel.h"

#include <cstdlib>

namespace
{
	constexpr std::int64_t MAX_DELTA_DIVISOR = 10;      // the longest step is 1/10 s
	constexpr std::int64_t FIXED_STEP_TOLERANCE_TICKS = 2500; // a quarter of a millisecond

	std::int64_t ReadCounter()
	{
		LARGE_INTEGER someCounter{};
		QueryPerformanceCounter(&someCounter);
		return someCounter.QuadPart;
	}
}

namespace Norv
{
	Timer::Timer()
	{
		LARGE_INTEGER someFrequency{};
		QueryPerformanceFrequency(&someFrequency);
		myFrequency = someFrequency.QuadPart;
		myLastCounter = ReadCounter();
		myMaxDelta = myFrequency / MAX_DELTA_DIVISOR;
	}

	void Timer::Tick(const std::function<void()>& aUpdate)
	{
		const std::int64_t someNow = ReadCounter();
		std::int64_t someDelta = someNow - myLastCounter;
		myLastCounter = someNow;
		if (someDelta < 0) // a counter never runs backwards; treat it as no time
			someDelta = 0;
		myCounterThisSecond += static_cast<std::uint64_t>(someDelta);
		if (someDelta > myMaxDelta)
			someDelta = myMaxDelta;
		std::uint64_t someTicks = static_cast<std::uint64_t>(someDelta) * TICKS_PER_SECOND / static_cast<std::uint64_t>(myFrequency);

		const std::uint32_t someFrameCountBefore = myFrameCount;
		if (myIsFixedTimeStep)
		{
			if (std::llabs(static_cast<long long>(someTicks) - static_cast<long long>(myTargetElapsedTicks)) < FIXED_STEP_TOLERANCE_TICKS)
				someTicks = myTargetElapsedTicks;
			myLeftOverTicks += someTicks;
			while (myLeftOverTicks >= myTargetElapsedTicks)
			{
				myElapsedTicks = myTargetElapsedTicks;
				myTotalTicks += myTargetElapsedTicks;
				myLeftOverTicks -= myTargetElapsedTicks;
				++myFrameCount;
				aUpdate();
			}
		}
		else
		{
			myTotalTicks += someTicks;
			myElapsedTicks = someTicks;
			myLeftOverTicks = 0;
			++myFrameCount;
			aUpdate();
		}

		if (myFrameCount != someFrameCountBefore)
			++myFramesThisSecond;
		if (myCounterThisSecond >= static_cast<std::uint64_t>(myFrequency))
		{
			myFramesPerSecond = myFramesThisSecond;
			myFramesThisSecond = 0;
			myCounterThisSecond %= static_cast<std::uint64_t>(myFrequency);
		}
	}
}
