#include "bass/bass.h"

#include "bass/AudioDevice.h"
#include "bass/BassMixer.h"
#include "bass/BassOutput.h"
#include "bass/WavDecoder.h"

#include <algorithm>
#include <memory>

namespace
{
	constexpr int OUTPUT_CHANNELS = 2;
	constexpr int NO_OUTPUT_DEVICE = 0;

	struct Output
	{
		std::unique_ptr<Platform::BassMixer> myMixer;
		bool myHasDevice = false;
	};

	// Made by BASS_Init and left to the process when nothing calls BASS_Free, so the
	// device thread never meets a destroyed mixer at exit.
	Output* ourOutput = nullptr;
	thread_local int ourLastError = BASS_OK;

	void ProduceSound(void* aMixer, Uint8* aStream, int aLength)
	{
		const std::size_t someFrames = static_cast<std::size_t>(aLength) / (OUTPUT_CHANNELS * sizeof(float));
		static_cast<Platform::BassMixer*>(aMixer)->Mix(reinterpret_cast<float*>(aStream), someFrames);
	}

	BOOL Report(int anError)
	{
		ourLastError = anError;
		return anError == BASS_OK ? TRUE : FALSE;
	}

	// The mixer, or null with BASS_ERROR_INIT recorded.
	Platform::BassMixer* GetMixer()
	{
		if (!ourOutput)
		{
			ourLastError = BASS_ERROR_INIT;
			return nullptr;
		}
		return ourOutput->myMixer.get();
	}
}

// -------------------------------------------------------------------- device

BOOL BASS_Init(int aDevice, DWORD aFrequency, DWORD /*aFlags*/, HWND /*aWindow*/, const void* /*aClassId*/)
{
	if (ourOutput)
		return Report(BASS_ERROR_ALREADY);
	if (aDevice < -1 || aDevice > 1)
		return Report(BASS_ERROR_DEVICE);
	if (aFrequency == 0)
		return Report(BASS_ERROR_ILLPARAM);

	auto someOutput = std::make_unique<Output>();
	someOutput->myMixer = std::make_unique<Platform::BassMixer>(aFrequency);
	if (aDevice != NO_OUTPUT_DEVICE)
	{
		Platform::AudioSourceFormat someFormat;
		someFormat.myFormat = AUDIO_F32SYS;
		someFormat.myRate = static_cast<int>(aFrequency);
		if (!Platform::AddAudioSource(someFormat, &ProduceSound, someOutput->myMixer.get()))
			return Report(BASS_ERROR_DEVICE);
		someOutput->myHasDevice = true;
	}
	ourOutput = someOutput.release();
	return Report(BASS_OK);
}

BOOL BASS_Free()
{
	if (!GetMixer())
		return FALSE;
	if (ourOutput->myHasDevice)
		Platform::RemoveAudioSource(ourOutput->myMixer.get());
	delete ourOutput;
	ourOutput = nullptr;
	return Report(BASS_OK);
}

int BASS_ErrorGetCode()
{
	return ourLastError;
}

void Platform::MixBassOutput(float* anOutput, std::size_t aFrameCount)
{
	if (ourOutput)
		ourOutput->myMixer->Mix(anOutput, aFrameCount);
	else
		std::fill_n(anOutput, aFrameCount * OUTPUT_CHANNELS, 0.0f);
}

// -------------------------------------------------------------------- samples

HSAMPLE BASS_SampleLoad(BOOL aIsMemory, const void* aFile, QWORD aOffset, DWORD aLength, DWORD aMax, DWORD aFlags)
{
	Platform::BassMixer* someMixer = GetMixer();
	if (!someMixer)
		return 0;
	if (aIsMemory || aOffset != 0 || aLength != 0)
	{
		Report(BASS_ERROR_NOTAVAIL);
		return 0;
	}
	if (!aFile)
	{
		Report(BASS_ERROR_FILEOPEN);
		return 0;
	}

	Platform::DecodedWav someWav = Platform::DecodeWavFile(static_cast<const char*>(aFile));
	HSAMPLE someSample = 0;
	if (someWav.myError != BASS_OK)
		Report(someWav.myError);
	else if (!Report(someMixer->AddSample(std::move(someWav.mySound), aMax, aFlags, someSample)))
		someSample = 0;
	return someSample;
}

BOOL BASS_SampleFree(HSAMPLE aSample)
{
	Platform::BassMixer* someMixer = GetMixer();
	return someMixer ? Report(someMixer->FreeSample(aSample)) : FALSE;
}

BOOL BASS_SampleGetInfo(HSAMPLE aSample, BASS_SAMPLE* anInfo)
{
	Platform::BassMixer* someMixer = GetMixer();
	if (!someMixer)
		return FALSE;
	if (!anInfo)
		return Report(BASS_ERROR_ILLPARAM);
	return Report(someMixer->GetSampleInfo(aSample, *anInfo));
}

DWORD BASS_SampleGetChannels(HSAMPLE aSample, HCHANNEL* aChannels)
{
	Platform::BassMixer* someMixer = GetMixer();
	DWORD someCount = 0;
	if (!someMixer || !Report(someMixer->GetSampleChannels(aSample, aChannels, someCount)))
		return static_cast<DWORD>(-1);
	return someCount;
}

HCHANNEL BASS_SampleGetChannel(HSAMPLE aSample, DWORD /*aFlags*/)
{
	Platform::BassMixer* someMixer = GetMixer();
	HCHANNEL someChannel = 0;
	if (!someMixer || !Report(someMixer->GetChannel(aSample, someChannel)))
		return 0;
	return someChannel;
}

BOOL BASS_SampleStop(HSAMPLE aSample)
{
	Platform::BassMixer* someMixer = GetMixer();
	return someMixer ? Report(someMixer->StopSample(aSample)) : FALSE;
}

// -------------------------------------------------------------------- channels

BOOL BASS_ChannelPlay(DWORD aHandle, BOOL aRestart)
{
	Platform::BassMixer* someMixer = GetMixer();
	return someMixer ? Report(someMixer->Play(aHandle, aRestart != FALSE)) : FALSE;
}

BOOL BASS_ChannelPause(DWORD aHandle)
{
	Platform::BassMixer* someMixer = GetMixer();
	return someMixer ? Report(someMixer->Pause(aHandle)) : FALSE;
}

DWORD BASS_ChannelIsActive(DWORD aHandle)
{
	Platform::BassMixer* someMixer = GetMixer();
	DWORD someState = BASS_ACTIVE_STOPPED;
	if (someMixer)
		Report(someMixer->GetState(aHandle, someState));
	return someState;
}

DWORD BASS_ChannelFlags(DWORD aHandle, DWORD aFlags, DWORD aMask)
{
	Platform::BassMixer* someMixer = GetMixer();
	DWORD someFlags = 0;
	if (!someMixer || !Report(someMixer->ChangeFlags(aHandle, aFlags, aMask, someFlags)))
		return static_cast<DWORD>(-1);
	return someFlags;
}

BOOL BASS_ChannelSetAttribute(DWORD aHandle, DWORD anAttribute, float aValue)
{
	Platform::BassMixer* someMixer = GetMixer();
	return someMixer ? Report(someMixer->SetAttribute(aHandle, anAttribute, aValue)) : FALSE;
}

BOOL BASS_ChannelSetPosition(DWORD aHandle, QWORD aPosition, DWORD aMode)
{
	Platform::BassMixer* someMixer = GetMixer();
	if (!someMixer)
		return FALSE;
	if (aMode != BASS_POS_BYTE)
		return Report(BASS_ERROR_NOTAVAIL);
	return Report(someMixer->SetPosition(aHandle, aPosition));
}
