#include "sound/AudioOut.h"

#include "bass/bass.h"

#include <iostream>

namespace Norv
{
	namespace
	{
		constexpr int DEFAULT_DEVICE = -1;
		constexpr DWORD OUTPUT_RATE_HZ = 44100;
		constexpr DWORD LOOPING_SOFTWARE_SAMPLE = BASS_SAMPLE_LOOP | BASS_SAMPLE_SOFTWARE;
		constexpr DWORD ONE_SHOT_FLAGS = BASS_SAMPLE_OVER_POS | BASS_SAMPLE_8BITS;
	}

	AudioOut& AudioOut::GetInstance()
	{
		if (!ourInstance)
			ourInstance = new AudioOut();
		return *ourInstance;
	}

	AudioOut::AudioOut()
	{
		// Without a device every later call fails quietly and nothing plays.
		myIsInitialised = BASS_Init(DEFAULT_DEVICE, OUTPUT_RATE_HZ, BASS_DEVICE_8BITS, nullptr, nullptr) != FALSE;
	}

	AudioOut::~AudioOut()
	{
		for (const SampleRecord& someRecord : mySamples)
			BASS_SampleFree(someRecord.mySample);
		if (myIsInitialised)
			BASS_Free();
		if (ourInstance == this)
			ourInstance = nullptr;
	}

	// ---------------------------------------------------------------- samples

	std::uint32_t AudioOut::Load(const std::string& aPath, bool aLoop)
	{
		if (FindSample(aPath) != 0)
		{
			std::cerr << "Audio error: " << aPath << " already loaded" << std::endl;
			return DUPLICATE_SAMPLE;
		}
		const HSAMPLE someSample = BASS_SampleLoad(FALSE, aPath.c_str(), 0, 0, MAX_CHANNELS_PER_SAMPLE, aLoop ? BASS_SAMPLE_LOOP : ONE_SHOT_FLAGS);
		if (someSample == 0)
			return NO_SAMPLE;
		mySamples.push_back({ aPath, someSample });
		return someSample;
	}

	std::uint32_t AudioOut::FindSample(const std::string& aPath) const
	{
		for (const SampleRecord& someRecord : mySamples)
		{
			if (someRecord.myPath == aPath)
				return someRecord.mySample;
		}
		return 0;
	}

	std::vector<std::uint32_t> AudioOut::GetChannels(std::uint32_t aSample) const
	{
		BASS_SAMPLE someInfo{};
		if (!BASS_SampleGetInfo(aSample, &someInfo))
			return {};
		std::vector<std::uint32_t> someChannels(someInfo.max);
		const DWORD someCount = BASS_SampleGetChannels(aSample, someChannels.data());
		someChannels.resize(someCount == static_cast<DWORD>(-1) ? 0 : someCount);
		return someChannels;
	}

	// ---------------------------------------------------------------- playing

	bool AudioOut::Play(std::uint32_t aSample, std::uint32_t& anOutChannel, float aVolume)
	{
		if (aSample == 0)
			return false;
		const HCHANNEL someChannel = BASS_SampleGetChannel(aSample, 0);
		if (someChannel == 0)
			return false;
		BASS_ChannelSetAttribute(someChannel, BASS_ATTRIB_VOL, aVolume);
		anOutChannel = someChannel;
		return BASS_ChannelPlay(someChannel, FALSE) != FALSE;
	}

	bool AudioOut::Pause(std::uint32_t aSample)
	{
		bool someAllPaused = true;
		for (std::uint32_t someChannel : GetChannels(aSample))
			someAllPaused = BASS_ChannelPause(someChannel) != FALSE && someAllPaused;
		return someAllPaused;
	}

	bool AudioOut::Resume(std::uint32_t aSample)
	{
		bool someAllResumed = true;
		for (std::uint32_t someChannel : GetChannels(aSample))
		{
			if (BASS_ChannelIsActive(someChannel) == BASS_ACTIVE_PAUSED)
				someAllResumed = BASS_ChannelPlay(someChannel, FALSE) != FALSE && someAllResumed;
		}
		return someAllResumed;
	}

	bool AudioOut::Stop(std::uint32_t aSample, bool anImmediately)
	{
		if (!anImmediately)
			return StopLooping(aSample);
		const HCHANNEL someChannel = BASS_SampleGetChannel(aSample, 0);
		BASS_ChannelSetPosition(someChannel, 0, BASS_POS_BYTE);
		return BASS_SampleStop(aSample) != FALSE;
	}

	bool AudioOut::StopLooping(std::uint32_t aSample)
	{
		BASS_SAMPLE someInfo{};
		if (!BASS_SampleGetInfo(aSample, &someInfo) || someInfo.flags != LOOPING_SOFTWARE_SAMPLE)
			return false;
		for (std::uint32_t someChannel : GetChannels(aSample))
		{
			const DWORD someFlags = BASS_ChannelFlags(someChannel, 0, 0);
			if (someFlags != static_cast<DWORD>(-1) && (someFlags & BASS_SAMPLE_LOOP) != 0)
				return BASS_ChannelFlags(someChannel, 0, BASS_SAMPLE_LOOP) != static_cast<DWORD>(-1);
		}
		return false;
	}

	void AudioOut::SetVolume(std::uint32_t aChannel, float aValue)
	{
		BASS_ChannelSetAttribute(aChannel, BASS_ATTRIB_VOL, aValue);
	}

	void AudioOut::SetPan(std::uint32_t aChannel, float aValue)
	{
		BASS_ChannelSetAttribute(aChannel, BASS_ATTRIB_PAN, aValue);
	}
}
