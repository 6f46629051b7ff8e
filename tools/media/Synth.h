#pragma once
// Sound synthesis for the data set: a seeded noise source, filters, voices and
// mixing helpers over mono float buffers. Everything is deterministic: the same
// calls give the same samples on every run.
#include <cstdint>
#include <vector>

namespace NorvMedia
{
	constexpr int SOUND_RATE = 22050; // samples per second of every generated sound
	constexpr double PI = 3.14159265358979323846;

	using Buffer = std::vector<float>;

	// xorshift32: our own generator, so that no library's distribution changes the sound.
	class Random
	{
	public:
		explicit Random(std::uint32_t aSeed) : myState(aSeed * 2654435761u + 0x9E3779B9u) { if (myState == 0) myState = 1; }
		float Unit();   // 0..1
		float Signed(); // -1..1
		int Below(int aCount);
	private:
		std::uint32_t myState;
	};

	// RBJ biquad; set up once, then fed sample by sample.
	class Biquad
	{
	public:
		static Biquad LowPass(double aHz, double aQ = 0.707);
		static Biquad HighPass(double aHz, double aQ = 0.707);
		static Biquad BandPass(double aHz, double aQ);
		float Process(float anInput);
	private:
		// Feed-forward coefficients over the feedback 1 + alpha, -2 cos, 1 - alpha, all divided by the first.
		static Biquad Normalised(double aB0, double aB1, double aB2, double anAlpha, double aCos);

		double myB0 = 1, myB1 = 0, myB2 = 0, myA1 = 0, myA2 = 0;
		double myX1 = 0, myX2 = 0, myY1 = 0, myY2 = 0;
	};

	double MidiToHz(double aNote);
	int ToSamples(double aSeconds);

	// Attack-decay envelope at time t (seconds): linear rise, exponential fall.
	float Pluck(double aTime, double anAttack, double aDecay);
	// Attack, hold and release: 0 outside 0..aLength.
	float Swell(double aTime, double aLength, double anAttack, double aRelease);

	// Voices: each adds its sound into aBuffer from aStart seconds on.
	void AddPluckedString(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel, std::uint32_t aSeed, float aBrightness = 0.5f);
	void AddBell(Buffer& aBuffer, double aStart, double aHz, double aDecay, float aLevel);
	void AddFlute(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel, std::uint32_t aSeed);
	void AddPad(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel, double aCutoffHz);
	void AddBass(Buffer& aBuffer, double aStart, double aHz, double aLength, float aLevel);
	// A tone gliding from aStartHz to anEndHz; aWave 0 sine, 1 triangle, 2 square, 3 saw.
	void AddSweep(Buffer& aBuffer, double aStart, double aLength, double aStartHz, double anEndHz, int aWave, float aLevel, double anAttack = 0.005);
	// Filtered noise under an attack-decay envelope; aLowHz/aHighHz 0 leave that side open.
	void AddNoiseBurst(Buffer& aBuffer, double aStart, double aLength, double aLowHz, double aHighHz, float aLevel, std::uint32_t aSeed, double anAttack = 0.002);
	void AddKick(Buffer& aBuffer, double aStart, float aLevel);
	void AddHat(Buffer& aBuffer, double aStart, float aLevel, std::uint32_t aSeed);

	// Adds aSource, times aGain, into aTarget from sample aAt on, growing aTarget as needed.
	void MixInto(Buffer& aTarget, const Buffer& aSource, std::size_t aAt, float aGain = 1.0f);
	// Short fades at both ends, so a one-shot sound starts and stops at zero.
	void FadeEnds(Buffer& aBuffer, double aSeconds = 0.004);
	// Makes a seamless loop of aLength seconds from a longer buffer: everything past
	// the loop's end is added onto its beginning (tails ring on into the next turn).
	void WrapIntoLoop(Buffer& aBuffer, double aLength);
	// Makes a seamless loop of a continuous texture (noise, hum): the part past the
	// loop's end cross-fades into its beginning. aBuffer must be longer than aLength.
	void CrossFadeIntoLoop(Buffer& aBuffer, double aLength);
}
