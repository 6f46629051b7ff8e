#pragma once
// The mixer behind the BASS stand-in: the samples, their channels and the mix of
// every playing channel into 16-bit stereo. Thread-safe: the audio device's thread
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
		// Frames of samples are interleaved left, right.
		using Frames = std::vector<std::int16_t>;

		explicit BassMixer(DWORD aRate) : myRate(aRate) {}

		DWORD GetRate() const { return myRate; }

		int AddSample(Frames aFrames, DWORD anOriginalBits, DWORD aMax, DWORD aFlags, HSAMPLE& aSampleOut);
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
		int SetPosition(HCHANNEL aChannel, QWORD aBytePosition);

		// Writes aFrameCount stereo frames of every playing channel, summed and clipped,
		// and moves the channels on: a looping channel wraps, any other stops at its end.
		void Mix(std::int16_t* anOutput, std::size_t aFrameCount);

	private:
		static constexpr std::size_t CHUNK_FRAMES = 256; // frames summed per pass, on the stack

		enum class State { Stopped, Playing, Paused };

		struct Sample
		{
			Frames myFrames;
			DWORD myOriginalBits = 16;
			DWORD myMax = 1;
			DWORD myFlags = 0;
			std::vector<HCHANNEL> myChannels;
		};

		struct Channel
		{
			HSAMPLE mySample = 0;
			const Sample* mySampleData = nullptr;
			State myState = State::Stopped;
			std::size_t myPosition = 0; // frames
			DWORD myFlags = 0;
			float myVolume = 1.0f;
			float myPan = 0.0f;
		};

		DWORD NewHandle();
		void RemoveChannel(Sample& aSample, HCHANNEL aChannel);
		// Adds one channel's next aFrameCount frames into aSum; stops or wraps it at the end.
		static void MixChannel(Channel& aChannel, float* aSum, std::size_t aFrameCount);

		mutable std::mutex myMutex;
		DWORD myRate;
		DWORD myLastHandle = 0;
		std::unordered_map<HSAMPLE, Sample> mySamples;
		std::unordered_map<HCHANNEL, Channel> myChannels;
	};
}
