#include "bass/BassMixer.h"

#include <algorithm>
#include <cmath>

namespace Platform
{
	namespace
	{
		constexpr DWORD MAX_CHANNELS_PER_SAMPLE = 65535;
		constexpr DWORD INVALID_HANDLE = 0xFFFFFFFF;
		constexpr float FULL_SCALE = 32768.0f; // a 16-bit value at full scale, 1.0 on the way out
	}

	// ---------------------------------------------------------------- samples

	DWORD BassMixer::NewHandle()
	{
		do
			++myLastHandle;
		while (myLastHandle == 0 || myLastHandle == INVALID_HANDLE || mySamples.contains(myLastHandle) || myChannels.contains(myLastHandle));
		return myLastHandle;
	}

	int BassMixer::AddSample(Sound aSound, DWORD aMax, DWORD aFlags, HSAMPLE& aSampleOut)
	{
		if (aMax == 0 || aMax > MAX_CHANNELS_PER_SAMPLE || aSound.myChannels == 0 || aSound.myChannels > MAX_SOUND_CHANNELS
			|| aSound.myRate < MIN_SOUND_RATE_HZ || aSound.myRate > MAX_SOUND_RATE_HZ
			|| aSound.myValues.empty() || aSound.myValues.size() % aSound.myChannels != 0)
			return BASS_ERROR_ILLPARAM;
		std::lock_guard someLock(myMutex);
		aSampleOut = NewHandle();
		Sample& someSample = mySamples[aSampleOut];
		someSample.myEnd = std::uint64_t{ aSound.myValues.size() / aSound.myChannels } << FRACTION_BITS;
		someSample.myStep = (std::uint64_t{ aSound.myRate } << FRACTION_BITS) / myRate;
		someSample.mySound = std::move(aSound);
		someSample.myMax = aMax;
		someSample.myFlags = aFlags | BASS_SAMPLE_SOFTWARE;
		someSample.myChannels.reserve(aMax);
		return BASS_OK;
	}

	int BassMixer::FreeSample(HSAMPLE aSample)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = mySamples.find(aSample);
		if (someFound == mySamples.end())
			return BASS_ERROR_HANDLE;
		for (HCHANNEL someChannel : someFound->second.myChannels)
			myChannels.erase(someChannel);
		mySamples.erase(someFound);
		return BASS_OK;
	}

	int BassMixer::GetSampleInfo(HSAMPLE aSample, BASS_SAMPLE& anInfoOut) const
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = mySamples.find(aSample);
		if (someFound == mySamples.end())
			return BASS_ERROR_HANDLE;
		const Sample& someSample = someFound->second;
		anInfoOut = {};
		anInfoOut.freq = someSample.mySound.myRate;
		anInfoOut.volume = 1.0f;
		anInfoOut.pan = 0.0f;
		anInfoOut.flags = someSample.myFlags;
		anInfoOut.length = static_cast<DWORD>(someSample.mySound.myValues.size() * sizeof(std::int16_t));
		anInfoOut.max = someSample.myMax;
		anInfoOut.origres = someSample.mySound.myOriginalBits;
		anInfoOut.chans = someSample.mySound.myChannels;
		return BASS_OK;
	}

	int BassMixer::GetSampleChannels(HSAMPLE aSample, HCHANNEL* aChannels, DWORD& aCountOut) const
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = mySamples.find(aSample);
		if (someFound == mySamples.end())
			return BASS_ERROR_HANDLE;
		const std::vector<HCHANNEL>& someChannels = someFound->second.myChannels;
		if (aChannels)
			std::copy(someChannels.begin(), someChannels.end(), aChannels);
		aCountOut = static_cast<DWORD>(someChannels.size());
		return BASS_OK;
	}

	void BassMixer::RemoveChannel(Sample& aSample, HCHANNEL aChannel)
	{
		myChannels.erase(aChannel);
		std::erase(aSample.myChannels, aChannel);
	}

	int BassMixer::GetChannel(HSAMPLE aSample, HCHANNEL& aChannelOut)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = mySamples.find(aSample);
		if (someFound == mySamples.end())
			return BASS_ERROR_HANDLE;
		Sample& someSample = someFound->second;

		// A stopped channel's slot is free; a full sample may steal the channel that
		// has played longest when it was loaded to allow that.
		HCHANNEL someFreed = 0;
		HCHANNEL someLongest = 0;
		std::uint64_t someLongestPosition = 0;
		for (HCHANNEL someHandle : someSample.myChannels)
		{
			const Channel& someChannel = myChannels.at(someHandle);
			if (someChannel.myState == State::Stopped)
			{
				someFreed = someHandle;
				break;
			}
			if (someLongest == 0 || someChannel.myPosition > someLongestPosition)
			{
				someLongest = someHandle;
				someLongestPosition = someChannel.myPosition;
			}
		}
		if (someFreed == 0 && someSample.myChannels.size() >= someSample.myMax)
		{
			if ((someSample.myFlags & BASS_SAMPLE_OVER_POS) == 0)
				return BASS_ERROR_NOCHAN;
			someFreed = someLongest;
		}
		if (someFreed != 0)
			RemoveChannel(someSample, someFreed);

		aChannelOut = NewHandle();
		Channel& someChannel = myChannels[aChannelOut];
		someChannel.mySample = aSample;
		someChannel.mySampleData = &someSample;
		someChannel.myFlags = someSample.myFlags;
		someSample.myChannels.push_back(aChannelOut);
		return BASS_OK;
	}

	int BassMixer::StopSample(HSAMPLE aSample)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = mySamples.find(aSample);
		if (someFound == mySamples.end())
			return BASS_ERROR_HANDLE;
		for (HCHANNEL someHandle : someFound->second.myChannels)
		{
			Channel& someChannel = myChannels.at(someHandle);
			someChannel.myState = State::Stopped;
			someChannel.myPosition = 0;
		}
		return BASS_OK;
	}

	// ---------------------------------------------------------------- channels

	int BassMixer::Play(HCHANNEL aChannel, bool aRestart)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = myChannels.find(aChannel);
		if (someFound == myChannels.end())
			return BASS_ERROR_HANDLE;
		if (aRestart)
			someFound->second.myPosition = 0;
		someFound->second.myState = State::Playing;
		return BASS_OK;
	}

	int BassMixer::Pause(HCHANNEL aChannel)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = myChannels.find(aChannel);
		if (someFound == myChannels.end())
			return BASS_ERROR_HANDLE;
		Channel& someChannel = someFound->second;
		if (someChannel.myState == State::Paused)
			return BASS_ERROR_ALREADY;
		if (someChannel.myState == State::Stopped)
			return BASS_ERROR_NOPLAY;
		someChannel.myState = State::Paused;
		return BASS_OK;
	}

	int BassMixer::GetState(HCHANNEL aChannel, DWORD& aStateOut) const
	{
		std::lock_guard someLock(myMutex);
		aStateOut = BASS_ACTIVE_STOPPED;
		const auto someFound = myChannels.find(aChannel);
		if (someFound == myChannels.end())
			return BASS_ERROR_HANDLE;
		switch (someFound->second.myState)
		{
		case State::Playing: aStateOut = BASS_ACTIVE_PLAYING; break;
		case State::Paused: aStateOut = BASS_ACTIVE_PAUSED; break;
		case State::Stopped: break;
		}
		return BASS_OK;
	}

	int BassMixer::ChangeFlags(HCHANNEL aChannel, DWORD aFlags, DWORD aMask, DWORD& aFlagsOut)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = myChannels.find(aChannel);
		if (someFound == myChannels.end())
			return BASS_ERROR_HANDLE;
		Channel& someChannel = someFound->second;
		const DWORD someChangeable = aMask & BASS_SAMPLE_LOOP;
		someChannel.myFlags = (someChannel.myFlags & ~someChangeable) | (aFlags & someChangeable);
		aFlagsOut = someChannel.myFlags;
		return BASS_OK;
	}

	int BassMixer::SetAttribute(HCHANNEL aChannel, DWORD anAttribute, float aValue)
	{
		if (std::isnan(aValue))
			return BASS_ERROR_ILLPARAM;
		std::lock_guard someLock(myMutex);
		const auto someFound = myChannels.find(aChannel);
		if (someFound == myChannels.end())
			return BASS_ERROR_HANDLE;
		switch (anAttribute)
		{
		case BASS_ATTRIB_VOL: someFound->second.myVolume = std::max(aValue, 0.0f); return BASS_OK;
		case BASS_ATTRIB_PAN: someFound->second.myPan = std::clamp(aValue, -1.0f, 1.0f); return BASS_OK;
		default: return BASS_ERROR_ILLPARAM;
		}
	}

	int BassMixer::SetPosition(HCHANNEL aChannel, QWORD aBytePosition)
	{
		std::lock_guard someLock(myMutex);
		const auto someFound = myChannels.find(aChannel);
		if (someFound == myChannels.end())
			return BASS_ERROR_HANDLE;
		Channel& someChannel = someFound->second;
		const Sample& someSample = *someChannel.mySampleData;
		const QWORD someFrame = aBytePosition / (someSample.mySound.myChannels * sizeof(std::int16_t));
		if (someFrame >= someSample.myEnd >> FRACTION_BITS)
			return BASS_ERROR_POSITION;
		someChannel.myPosition = someFrame << FRACTION_BITS;
		return BASS_OK;
	}

	// ---------------------------------------------------------------- mixing

	template <DWORD CHANNELS>
	void BassMixer::MixChannel(Channel& aChannel, float* aSum, std::size_t aFrameCount)
	{
		constexpr std::uint64_t FRACTION_MASK = (std::uint64_t{ 1 } << FRACTION_BITS) - 1;
		constexpr float FRACTION_SCALE = 1.0f / static_cast<float>(std::uint64_t{ 1 } << FRACTION_BITS);
		const Sample& someSample = *aChannel.mySampleData;
		const std::int16_t* someValues = someSample.mySound.myValues.data();
		const std::uint64_t someLastFrame = (someSample.myEnd >> FRACTION_BITS) - 1;
		// Pan -1 keeps only the left side, +1 only the right; 0 leaves both whole.
		const float someLeft = aChannel.myVolume * std::min(1.0f, 1.0f - aChannel.myPan);
		const float someRight = aChannel.myVolume * std::min(1.0f, 1.0f + aChannel.myPan);
		for (std::size_t someFrame = 0; someFrame < aFrameCount; ++someFrame)
		{
			const bool someLoops = (aChannel.myFlags & BASS_SAMPLE_LOOP) != 0;
			if (aChannel.myPosition >= someSample.myEnd)
			{
				if (!someLoops)
				{
					aChannel.myPosition = 0;
					aChannel.myState = State::Stopped;
					return;
				}
				aChannel.myPosition %= someSample.myEnd; // keeps the phase between frames
			}
			// Between this frame and the next: a loop's next after its last is its first,
			// a one-shot holds its last.
			const std::uint64_t someAt = aChannel.myPosition >> FRACTION_BITS;
			const std::uint64_t someNext = someAt < someLastFrame ? someAt + 1 : (someLoops ? 0 : someAt);
			const float someFraction = static_cast<float>(aChannel.myPosition & FRACTION_MASK) * FRACTION_SCALE;
			const std::int16_t* someThis = someValues + someAt * CHANNELS;
			const std::int16_t* someThat = someValues + someNext * CHANNELS;
			const float someLeftValue = someThis[0] + (someThat[0] - someThis[0]) * someFraction;
			const float someRightValue = CHANNELS == 1 ? someLeftValue : someThis[1] + (someThat[1] - someThis[1]) * someFraction;
			aSum[someFrame * 2] += someLeftValue * someLeft;
			aSum[someFrame * 2 + 1] += someRightValue * someRight;
			aChannel.myPosition += someSample.myStep;
		}
		if (aChannel.myPosition >= someSample.myEnd && (aChannel.myFlags & BASS_SAMPLE_LOOP) == 0)
		{
			aChannel.myPosition = 0;
			aChannel.myState = State::Stopped;
		}
	}

	void BassMixer::Mix(float* anOutput, std::size_t aFrameCount)
	{
		std::fill_n(anOutput, aFrameCount * 2, 0.0f);
		std::lock_guard someLock(myMutex);
		for (auto& [someHandle, someChannel] : myChannels)
		{
			if (someChannel.myState != State::Playing)
				continue;
			if (someChannel.mySampleData->mySound.myChannels == 1)
				MixChannel<1>(someChannel, anOutput, aFrameCount);
			else
				MixChannel<2>(someChannel, anOutput, aFrameCount);
		}
		for (std::size_t someIndex = 0; someIndex < aFrameCount * 2; ++someIndex)
			anOutput[someIndex] /= FULL_SCALE;
	}
}
