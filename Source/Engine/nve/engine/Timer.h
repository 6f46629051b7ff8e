#pragma once
// Step timer over the performance counter, in ticks of 100 ns.
#include <cstdint>
#include <functional>

namespace Norv
{
	class Timer
	{
	public:
		static constexpr std::uint64_t TICKS_PER_SECOND = 10'000'000;

		Timer();

		// One step: measures the time since the last tick (clamped to 0.1 s) and
		// calls aUpdate once, or once per fixed step when the fixed step is on.
		void Tick(const std::function<void()>& aUpdate);

		void SetFixedTimeStep(bool aIsFixed) { myIsFixedTimeStep = aIsFixed; }
		std::uint64_t GetElapsedTicks() const { return myElapsedTicks; }
		std::uint64_t GetTotalTicks() const { return myTotalTicks; }
		std::uint32_t GetFrameCount() const { return myFrameCount; }
		std::uint32_t GetFramesPerSecond() const { return myFramesPerSecond; }

	private:
		std::int64_t myFrequency = 0;
		std::int64_t myLastCounter = 0;
		std::int64_t myMaxDelta = 0;
		std::uint64_t myElapsedTicks = 0;
		std::uint64_t myTotalTicks = 0;
		std::uint64_t myLeftOverTicks = 0;
		std::uint32_t myFrameCount = 0;
		std::uint32_t myFramesPerSecond = 0;
		std::uint32_t myFramesThisSecond = 0;
		std::uint64_t myCounterThisSecond = 0;
		bool myIsFixedTimeStep = false;
		std::uint64_t myTargetElapsedTicks = 166666; // 1/60 s
	};
}
