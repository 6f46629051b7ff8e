#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace NorvMedia
{
	float Random::Unit()
	{
		myState ^= myState << 13;
		myState ^= myState >> 17;
		myState ^= myState << 5;
		return static_cast<float>(myState >> 8) / 16777216.0f;
	}

	float Random::Signed() { return Unit() * 2.0f - 1.0f; }

	int Random::Below(int aCount) { return std::min(aCount - 1, static_cast<int>(Unit() * static_cast<float>(aCount))); }

	namespace
	{
		struct Coefficients { double myW, myAlpha, myCos; };

		Coefficients Prepare(double aHz, double aQ)
		{
			const double someW = 2.0 * PI * std::min(aHz, SOUND_RATE * 0.45) / SOUND_RATE;
			return { someW, std::sin(someW) / (2.0 * aQ), std::cos(someW) };
		}

		double Wave(int aWave, double aPhase)
		{
			const double someFraction = aPhase - std::floor(aPhase);
			switch (aWave)
			{
			case 1: return 4.0 * std::abs(someFraction - 0.5) - 1.0;
			case 2: return someFraction < 0.5 ? 0.7 : -0.7;
			case 3: return (2.0 * someFraction - 1.0) * 0.8;
			default: return std::sin(2.0 * PI * someFraction);
			}
		}

		// Adds aLengthSeconds of aVoice(t) from aStart on, growing the buffer as needed.
		template <typename Voice>
		void AddVoice(Buffer& aBuffer, double aStart, double aLength, Voice&& aVoice)
		{
			const int someFirst = ToSamples(aStart);
			const int someCount = ToSamples(aLength);
			if (aBuffer.size() < static_cast<std::size_t>(someFirst + someCount))
				aBuffer.resize(static_cast<std::size_t>(someFirst + someCount), 0.0f);
			for (int i = 0; i < someCount; ++i)
				aBuffer[static_cast<std::size_t>(someFirst + i)] += static_cast<float>(aVoice(static_cast<double>(i) / SOUND_RATE));
		}
	}

	Biquad Biquad::Normalised(double aB0, double aB1, double aB2, double anAlpha, double aCos)
	{
		const double a0 = 1.0 + anAlpha;
		Biquad someFilter;
		someFilter.myB0 = aB0 / a0;
		someFilter.myB1 = aB1 / a0;
		someFilter.myB2 = aB2 / a0;
		someFilter.myA1 = -2.0 * aCos / a0;
		someFilter.myA2 = (1.0 - anAlpha) / a0;
		return someFilter;
	}

	Biquad Biquad::LowPass(double aHz, double aQ)
	{
		const Coefficients c = Prepare(aHz, aQ);
		return Normalised((1.0 - c.myCos) / 2.0, 1.0 - c.myCos, (1.0 - c.myCos) / 2.0, c.myAlpha, c.myCos);
	}

	Biquad Biquad::HighPass(double aHz, double aQ)
	{
		const Coefficients c = Prepare(aHz, aQ);
		return Normalised((1.0 + c.myCos) / 2.0, -(1.0 + c.myCos), (1.0 + c.myCos) / 2.0, c.myAlpha, c.myCos);
	}

	Biquad Biquad::BandPass(double aHz, double aQ)
	{
		const Coefficients c = Prepare(aHz, aQ);
		return Normalised(c.myAlpha, 0.0, -c.myAlpha, c.myAlpha, c.myCos);
	}

	float Biquad::Process(float anInput)
	{
		const double someOutput = myB0 * anInput + myB1 * myX1 + myB2 * myX2 - myA1 * myY1 - myA2 * myY2;
		myX2 = myX1;
		myX1 = anInput;
		myY2 = myY1;
		myY1 = someOutput;
		return static_cast<float>(someOutput);
	}

	double MidiToHz(double aNote) { return 440.0 * std::pow(2.0, (aNote - 69.0) / 12.0); }

	int ToSamples(double aSeconds) { return static_cast<int>(std::lround(std::max(0.0, aSeconds) * SOUND_RATE)); }

	float Pluck(double aTime, double anAttack, double aDecay)
	{
		if (aTime < 0.0)
			return 0.0f;
		if (aTime < anAttack)
			return static_cast<float>(aTime / anAttack);
		return static_cast<float>(std::exp(-(aTime - anAttack) / aDecay));
	}

	float Swell(double aTime, double aLength, double anAttack, double aRelease)
	{
		if (aTime < 0.0 || aTime > aLength)
			return 0.0f;
		const double someIn = std::min(1.0, aTime / anAttack);
		const double someOut = std::min(1.0, (aLength - aTime) / aRelease);
		return static_cast<float>(someIn * someOut);
	}

	void AddPluckedString(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel, std::uint32_t aSeed, float aBrightness)
	{
		// Karplus-Strong: a noise-filled delay line averaged round and round.
		const int somePeriod = std::max(2, static_cast<int>(std::lround(SOUND_RATE / aHz)));
		std::vector<float> someLine(static_cast<std::size_t>(somePeriod));
		Random someRandom(aSeed);
		float someSmoothed = 0.0f;
		for (float& someValue : someLine)
		{
			someSmoothed = someSmoothed * (1.0f - aBrightness) + someRandom.Signed() * aBrightness;
			someValue = someSmoothed;
		}
		std::size_t someIndex = 0;
		AddVoice(aBuffer, aStart, aLength, [&](double aTime) {
			const std::size_t someNext = (someIndex + 1) % someLine.size();
			const float someValue = someLine[someIndex];
			someLine[someIndex] = 0.4985f * (someValue + someLine[someNext]);
			someIndex = someNext;
			return someValue * aLevel * Swell(aTime, aLength, 0.001, 0.05);
		});
	}

	void AddBell(Buffer& aBuffer, double aStart, double aHz, double aDecay, float aLevel)
	{
		constexpr double PARTIALS[][2] = { { 1.0, 1.0 }, { 2.76, 0.45 }, { 5.4, 0.25 }, { 8.93, 0.12 } };
		AddVoice(aBuffer, aStart, aDecay * 5.0, [&](double aTime) {
			double someSum = 0.0;
			for (const auto& somePartial : PARTIALS)
				someSum += std::sin(2.0 * PI * aHz * somePartial[0] * aTime) * somePartial[1] * std::exp(-aTime * somePartial[0] / aDecay);
			return someSum * aLevel * Pluck(aTime, 0.002, 1e9);
		});
	}

	void AddFlute(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel, std::uint32_t aSeed)
	{
		Random someRandom(aSeed);
		Biquad someBreath = Biquad::BandPass(aHz * 2.0, 2.0);
		AddVoice(aBuffer, aStart, aLength + 0.15, [&](double aTime) {
			const double someVibrato = 1.0 + 0.006 * std::sin(2.0 * PI * 5.2 * aTime) * std::min(1.0, aTime * 2.0);
			const double somePhase = 2.0 * PI * aHz * someVibrato * aTime;
			const double someTone = std::sin(somePhase) + 0.18 * std::sin(2.0 * somePhase) + 0.06 * std::sin(3.0 * somePhase);
			const double someAir = someBreath.Process(someRandom.Signed()) * 0.35;
			return (someTone + someAir) * aLevel * Swell(aTime, aLength + 0.15, 0.06, 0.15);
		});
	}

	void AddPad(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel, double aCutoffHz)
	{
		Biquad someFilter = Biquad::LowPass(aCutoffHz, 0.8);
		AddVoice(aBuffer, aStart, aLength + 0.6, [&](double aTime) {
			double someSum = 0.0;
			for (double someDetune : { 0.996, 1.0, 1.004 })
				someSum += Wave(3, aHz * someDetune * aTime + someDetune * 10.0);
			return someFilter.Process(static_cast<float>(someSum / 3.0)) * aLevel * Swell(aTime, aLength + 0.6, 0.4, 0.6);
		});
	}

	void AddBass(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel)
	{
		AddVoice(aBuffer, aStart, aLength + 0.05, [&](double aTime) {
			const double somePhase = aHz * aTime;
			const double someTone = Wave(1, somePhase) * 0.6 + std::sin(2.0 * PI * somePhase) * 0.6;
			return someTone * aLevel * Pluck(aTime, 0.008, 0.6) * Swell(aTime, aLength + 0.05, 0.001, 0.05);
		});
	}

	void AddSweep(Buffer& aBuffer, double aStart, double aLength, double aStartHz, double anEndHz, int aWave, float aLevel, double anAttack)
	{
		double somePhase = 0.0;
		AddVoice(aBuffer, aStart, aLength, [&](double aTime) {
			const double someProgress = aTime / aLength;
			somePhase += aStartHz * std::pow(anEndHz / aStartHz, someProgress) / SOUND_RATE;
			return Wave(aWave, somePhase) * aLevel * Swell(aTime, aLength, anAttack, aLength * 0.6);
		});
	}

	void AddNoiseBurst(Buffer& aBuffer, double aStart, double aLength, double aLowHz, double aHighHz, float aLevel, std::uint32_t aSeed, double anAttack)
	{
		Random someRandom(aSeed);
		Biquad someHigh = Biquad::HighPass(aLowHz > 0.0 ? aLowHz : 10.0);
		Biquad someLow = Biquad::LowPass(aHighHz > 0.0 ? aHighHz : SOUND_RATE * 0.45);
		AddVoice(aBuffer, aStart, aLength, [&](double aTime) {
			const float someNoise = someLow.Process(someHigh.Process(someRandom.Signed()));
			return someNoise * aLevel * Pluck(aTime, anAttack, aLength / 4.0) * Swell(aTime, aLength, 1e-4, aLength * 0.3);
		});
	}

	void AddKick(Buffer& aBuffer, double aStart, float aLevel)
	{
		double somePhase = 0.0;
		AddVoice(aBuffer, aStart, 0.35, [&](double aTime) {
			somePhase += (45.0 + 110.0 * std::exp(-aTime * 30.0)) / SOUND_RATE;
			return std::sin(2.0 * PI * somePhase) * aLevel * Pluck(aTime, 0.002, 0.09);
		});
	}

	void AddHat(Buffer& aBuffer, double aStart, float aLevel, std::uint32_t aSeed)
	{
		AddNoiseBurst(aBuffer, aStart, 0.06, 6000.0, 0.0, aLevel, aSeed, 0.001);
	}

	void MixInto(Buffer& aTarget, const Buffer& aSource, std::size_t aAt, float aGain)
	{
		aTarget.resize(std::max(aTarget.size(), aAt + aSource.size()), 0.0f);
		for (std::size_t i = 0; i < aSource.size(); ++i)
			aTarget[aAt + i] += aSource[i] * aGain;
	}

	void FadeEnds(Buffer& aBuffer, double aSeconds)
	{
		const std::size_t someCount = std::min(aBuffer.size() / 2, static_cast<std::size_t>(ToSamples(aSeconds)));
		for (std::size_t i = 0; i < someCount; ++i)
		{
			const float someGain = static_cast<float>(i) / static_cast<float>(someCount);
			aBuffer[i] *= someGain;
			aBuffer[aBuffer.size() - 1 - i] *= someGain;
		}
	}

	void WrapIntoLoop(Buffer& aBuffer, double aLength)
	{
		const std::size_t someLoop = static_cast<std::size_t>(ToSamples(aLength));
		if (aBuffer.size() < someLoop)
			aBuffer.resize(someLoop, 0.0f);
		for (std::size_t i = someLoop; i < aBuffer.size(); ++i)
			aBuffer[i % someLoop] += aBuffer[i];
		aBuffer.resize(someLoop);
	}

	void CrossFadeIntoLoop(Buffer& aBuffer, double aLength)
	{
		const std::size_t someLoop = static_cast<std::size_t>(ToSamples(aLength));
		const std::size_t someFade = std::min(someLoop, aBuffer.size() - someLoop);
		for (std::size_t i = 0; i < someFade; ++i)
		{
			// Equal-power fade: the texture keeps its loudness through the seam.
			const double someMix = static_cast<double>(i) / static_cast<double>(someFade);
			aBuffer[i] = static_cast<float>(aBuffer[i] * std::sin(0.5 * PI * someMix) + aBuffer[someLoop + i] * std::cos(0.5 * PI * someMix));
		}
		aBuffer.resize(someLoop);
	}
}
