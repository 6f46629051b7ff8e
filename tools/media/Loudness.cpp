#include "Loudness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace NorvMedia
{
	namespace
	{
		constexpr double PI = 3.14159265358979323846;
		constexpr double BLOCK_SECONDS = 0.4;
		constexpr double BLOCK_STEP_SECONDS = 0.1;   // 75 % overlap between gating blocks
		constexpr double MOMENTARY_STEP_SECONDS = 0.01;
		constexpr double RELATIVE_GATE_LU = -10.0;
		constexpr int OVERSAMPLING = 4;
		constexpr int INTERPOLATION_HALF_TAPS = 12;  // input samples each side of an interpolated point

		struct Filter
		{
			double myB0, myB1, myB2, myA1, myA2;
			double myX1 = 0, myX2 = 0, myY1 = 0, myY2 = 0;

			double Process(double x)
			{
				const double y = myB0 * x + myB1 * myX1 + myB2 * myX2 - myA1 * myY1 - myA2 * myY2;
				myX2 = myX1;
				myX1 = x;
				myY2 = myY1;
				myY1 = y;
				return y;
			}
		};

		// The two K-weighting stages, a high shelf (the head's effect) and a high pass,
		// derived for any sample rate from their analogue prototypes.
		Filter Shelf(int aRate)
		{
			constexpr double HZ = 1681.974450955533, GAIN_DB = 3.999843853973347, Q = 0.7071752369554196;
			const double k = std::tan(PI * HZ / aRate);
			const double vh = std::pow(10.0, GAIN_DB / 20.0);
			const double vb = std::pow(vh, 0.4996667741545416);
			const double a0 = 1.0 + k / Q + k * k;
			return { (vh + vb * k / Q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / Q + k * k) / a0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / Q + k * k) / a0 };
		}

		Filter HighPass(int aRate)
		{
			constexpr double HZ = 38.13547087602444, Q = 0.5003270373238773;
			const double k = std::tan(PI * HZ / aRate);
			const double a0 = 1.0 + k / Q + k * k;
			return { 1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / Q + k * k) / a0 };
		}

		// Running sums of the K-weighted power, so any window's mean is one subtraction.
		std::vector<double> CumulativePower(std::span<const float> aSamples, int aRate)
		{
			Filter someShelf = Shelf(aRate);
			Filter someHighPass = HighPass(aRate);
			std::vector<double> someSums(aSamples.size() + 1, 0.0);
			for (std::size_t i = 0; i < aSamples.size(); ++i)
			{
				const double y = someHighPass.Process(someShelf.Process(aSamples[i]));
				someSums[i + 1] = someSums[i] + y * y;
			}
			return someSums;
		}

		constexpr int TAPS = 2 * INTERPOLATION_HALF_TAPS;
		using InterpolationTaps = std::array<std::array<double, TAPS>, OVERSAMPLING>;

		// A Hann-windowed sinc for each of the three points between two samples.
		const InterpolationTaps& GetInterpolationTaps()
		{
			static const InterpolationTaps ourTaps = [] {
				InterpolationTaps someTaps{};
				for (int p = 1; p < OVERSAMPLING; ++p)
					for (int n = 0; n < TAPS; ++n)
					{
						const double t = static_cast<double>(n - INTERPOLATION_HALF_TAPS) + static_cast<double>(p) / OVERSAMPLING;
						someTaps[p][n] = std::sin(PI * t) / (PI * t) * (0.5 + 0.5 * std::cos(PI * t / INTERPOLATION_HALF_TAPS));
					}
				return someTaps;
			}();
			return ourTaps;
		}

		double ToLufs(double aMeanPower) { return aMeanPower > 0.0 ? -0.691 + 10.0 * std::log10(aMeanPower) : -INFINITY; }
		double FromLufs(double aLufs) { return std::pow(10.0, (aLufs + 0.691) / 10.0); }

		// Mean power of every aBlock-long window starting aStep apart.
		std::vector<double> BlockPowers(const std::vector<double>& aSums, std::size_t aBlock, std::size_t aStep)
		{
			std::vector<double> somePowers;
			const std::size_t someCount = aSums.size() - 1;
			for (std::size_t start = 0; start + aBlock <= someCount; start += aStep)
				somePowers.push_back((aSums[start + aBlock] - aSums[start]) / static_cast<double>(aBlock));
			return somePowers;
		}

		std::size_t Samples(double aSeconds, int aRate) { return static_cast<std::size_t>(std::lround(aSeconds * aRate)); }

		double MeanOfBlocksAbove(std::span<const double> aPowers, double aGatePower)
		{
			double someSum = 0.0;
			std::size_t someCount = 0;
			for (double somePower : aPowers)
				if (somePower > aGatePower)
				{
					someSum += somePower;
					++someCount;
				}
			return someCount > 0 ? someSum / static_cast<double>(someCount) : 0.0;
		}
	}

	double IntegratedLoudness(std::span<const float> aSamples, int aRate)
	{
		return GatedLoudness(BlockPowers(CumulativePower(aSamples, aRate), Samples(BLOCK_SECONDS, aRate), Samples(BLOCK_STEP_SECONDS, aRate)));
	}

	double GatedLoudness(std::span<const double> aBlockPowers)
	{
		const double someUngated = MeanOfBlocksAbove(aBlockPowers, FromLufs(SILENCE_LUFS));
		if (someUngated <= 0.0)
			return SILENCE_LUFS;
		const double someGated = MeanOfBlocksAbove(aBlockPowers, FromLufs(ToLufs(someUngated) + RELATIVE_GATE_LU));
		return std::max(SILENCE_LUFS, ToLufs(someGated));
	}

	double MaxMomentaryLoudness(std::span<const float> aSamples, int aRate)
	{
		const std::size_t someBlock = Samples(BLOCK_SECONDS, aRate);
		std::vector<float> somePadded(aSamples.begin(), aSamples.end());
		somePadded.resize(std::max(somePadded.size(), someBlock), 0.0f);
		const std::vector<double> somePowers = BlockPowers(CumulativePower(somePadded, aRate), someBlock, std::max<std::size_t>(1, Samples(MOMENTARY_STEP_SECONDS, aRate)));
		return std::max(SILENCE_LUFS, ToLufs(*std::max_element(somePowers.begin(), somePowers.end())));
	}

	double TruePeakDb(std::span<const float> aSamples)
	{
		TruePeakMeter someMeter;
		for (float someSample : aSamples)
			someMeter.Add(someSample);
		return someMeter.GetDb();
	}

	// ---------------------------------------------------------------- streams

	TruePeakMeter::TruePeakMeter() = default;

	void TruePeakMeter::Add(float aSample)
	{
		myNewest = (myNewest + 1) % TAPS;
		myHistory[myNewest] = aSample;
		myHistory[myNewest + TAPS] = aSample;
		myPeak = std::max(myPeak, PeakAtMiddle());
	}

	double TruePeakMeter::PeakAtMiddle() const
	{
		static_assert(HALF_TAPS == INTERPOLATION_HALF_TAPS);
		const InterpolationTaps& someTaps = GetInterpolationTaps();
		// The sample HALF_TAPS before the newest, and the points between it and the next:
		// tap n weighs the sample n before the newest.
		const double* someNewest = myHistory.data() + myNewest + TAPS;
		double somePeak = std::abs(*(someNewest - HALF_TAPS));
		for (int p = 1; p < OVERSAMPLING; ++p)
		{
			double someValue = 0.0;
			for (std::size_t n = 0; n < TAPS; ++n)
				someValue += someTaps[p][n] * *(someNewest - n);
			somePeak = std::max(somePeak, std::abs(someValue));
		}
		return somePeak;
	}

	double TruePeakMeter::GetDb() const
	{
		// The wave dies away through the silence after the last sample.
		TruePeakMeter someEnded = *this;
		for (std::size_t n = 0; n < TAPS; ++n)
			someEnded.Add(0.0f);
		return someEnded.myPeak > 0.0 ? 20.0 * std::log10(someEnded.myPeak) : -INFINITY;
	}

	struct StreamMeter::Channel
	{
		Filter myShelf;
		Filter myHighPass;
		TruePeakMeter myPeak;
	};

	StreamMeter::StreamMeter(int aRate, int aChannels)
		: myChannels(aChannels)
		, myStepFrames(Samples(STEP_SECONDS, aRate))
	{
		for (int someChannel = 0; someChannel < aChannels; ++someChannel)
			myChannelMeters.push_back({ Shelf(aRate), HighPass(aRate), {} });
	}

	StreamMeter::~StreamMeter() = default;

	void StreamMeter::Add(std::span<const float> aFrames)
	{
		const std::size_t someChannels = static_cast<std::size_t>(myChannels);
		for (std::size_t someFrame = 0; someFrame + someChannels <= aFrames.size(); someFrame += someChannels)
		{
			for (std::size_t someChannel = 0; someChannel < someChannels; ++someChannel)
			{
				Channel& someMeter = myChannelMeters[someChannel];
				const float someSample = aFrames[someFrame + someChannel];
				const double y = someMeter.myHighPass.Process(someMeter.myShelf.Process(someSample));
				myStepSum += y * y;
				someMeter.myPeak.Add(someSample);
			}
			if (++myFramesInStep == myStepFrames)
			{
				myStepPowers.push_back(myStepSum / static_cast<double>(myStepFrames));
				myStepSum = 0.0;
				myFramesInStep = 0;
			}
		}
	}

	double StreamMeter::GetTruePeakDb() const
	{
		double somePeak = -INFINITY;
		for (const Channel& someChannel : myChannelMeters)
			somePeak = std::max(somePeak, someChannel.myPeak.GetDb());
		return somePeak;
	}
}
