#pragma once
// The mixer behind the BASS stand-in: the samples, their channels and the mix of
// every playing channel into floating-point stereo at the mixer's rate (full scale
// 1.0), never clipped: the output device's master stage keeps the sum in range. Samples are kept
// as they were recorded (their own rate, mono or stereo) and are resampled by
// linear interpolation, mono spread to both sides, while mixing. Thread-safe: the audio device's thread
// mixes while the program changes channels. Every operation returns a BASS error
// code (BASS_OK on success).
#include "bass/bass.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace Platform
{
	class BassMixer
	{
	public:
		static constexpr DWORD MAX_SOUND_CHANNELS = 2;
		// Rates outside these are no sound anyone recorded.
		static constexpr DWORD MIN_SOUND_RATE_HZ = 1000;
		static constexpr DWORD MAX_SOUND_RATE_HZ = 768000;

		// A sample's sound as kept: 16-bit values at its own rate, frames of one or two
		// channels interleaved (left, right).
		struct Sound
		{
			std::vector<std::int16_t> myValues;
			DWORD myChannels = 1;
			DWORD myRate = 0;
			DWORD myOriginalBits = 16; // bits per sample of the file it came from
		};

		explicit BassMixer(DWORD aRate) : myRate(aRate) {}

		// Fails with BASS_ERROR_ILLPARAM on no whole frame, a channel count or rate out of range, or aMax out of 1..65535.
		int AddSample(Sound aSound, DWORD aMax, DWORD aFlags, HSAMPLE& aSampleOut);
		int FreeSample(HSAMPLE aSample);
		int GetSampleInfo(HSAMPLE aSample, BASS_SAMPLE& anInfoOut) const;
		// Writes up to the sample's maximum channel count of handles when aChannels is not null.
		int GetSampleChannels(HSAMPLE aSample, HCHANNEL* aChannels, DWORD& aCountOut) const;
		int GetChannel(HSAMPLE aSample, HCHANNEL& aChannelOut);
		int StopSample(HSAMPLE aSample);

		int Play(HCHANNEL aChannel, bool aRestart);
		int Pause(HCHANNEL aChannel);
		int GetState(HCHANNEL aChannel, DWORD& aStateOut) const;
		int ChangeFlags(HCHANNEL aChannel, DWORD aFlags, DWORD aMask, DWORD& aFlagsOut);
		int SetAttribute(HCHANNEL aChannel, DWORD anAttribute, float aValue);
		// aBytePosition counts bytes of the sample as kept (see GetSampleInfo).
		int SetPosition(HCHANNEL aChannel, QWORD aBytePosition);

		// Writes aFrameCount stereo frames of every playing channel, summed (a 16-bit
		// sample value v as v / 32768, so a sum may pass 1.0), and moves the channels
		// on: a looping channel wraps, any other stops at its end.
		void Mix(float* anOutput, std::size_t aFrameCount);

	private:
		enum class State { Stopped, Playing, Paused };

		// Positions in a sample are frames with FRACTION_BITS bits of fraction.
		static constexpr int FRACTION_BITS = 32;

		struct Sample
		{
			Sound mySound;
			std::uint64_t myEnd = 0;  // the frame count, as a position
			std::uint64_t myStep = 0; // how far one frame at the mixer's rate moves a channel
			DWORD myMax = 1;
			DWORD myFlags = 0;
			std::vector<HCHANNEL> myChannels;
		};

		struct Channel
		{
			HSAMPLE mySample = 0;
			const Sample* mySampleData = nullptr;
			State myState = State::Stopped;
			std::uint64_t myPosition = 0; // frames, with FRACTION_BITS of fraction
			DWORD myFlags = 0;
			float myVolume = 1.0f;
			float myPan = 0.0f;
		};

		DWORD NewHandle();
		void RemoveChannel(Sample& aSample, HCHANNEL aChannel);
		// Adds one channel's next aFrameCount frames into aSum; stops or wraps it at the
		// end. CHANNELS: its sample's channel count.
		template <DWORD CHANNELS>
		static void MixChannel(Channel& aChannel, float* aSum, std::size_t aFrameCount);

		mutable std::mutex myMutex;
		DWORD myRate;
		DWORD myLastHandle = 0;
		std::unordered_map<HSAMPLE, Sample> mySamples;
		std::unordered_map<HCHANNEL, Channel> myChannels;
	};
}
