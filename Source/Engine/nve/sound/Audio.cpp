#include "sound/Audio.h"

#include "settings/settings.h"
#include "sound/AudioOut.h"

#include <iostream>
#include <string>

namespace Norv
{
	void Audio::Init(const char* aPath, bool aLoop)
	{
		AudioOut& someOut = AudioOut::GetInstance();
		const std::string someResolved = Settings::ResolveAssetPath(aPath ? aPath : "");
		if (someResolved.empty())
		{
			std::cerr << "Audio error: " << (aPath ? aPath : "") << " not found" << std::endl;
			mySampleId = AudioOut::NO_SAMPLE;
			return;
		}
		mySampleId = someOut.Load(someResolved, aLoop);
	}

	bool Audio::HasSample() const
	{
		return mySampleId != AudioOut::NO_SAMPLE && AudioOut::GetExisting();
	}

	void Audio::Play()
	{
		if (HasSample())
			AudioOut::GetExisting()->Play(mySampleId, myChannel, myVolume);
	}

	void Audio::Pause()
	{
		if (HasSample())
			AudioOut::GetExisting()->Pause(mySampleId);
	}

	void Audio::Resume()
	{
		if (HasSample())
			AudioOut::GetExisting()->Resume(mySampleId);
	}

	void Audio::Stop(bool anImmediately)
	{
		if (HasSample())
			AudioOut::GetExisting()->Stop(mySampleId, anImmediately);
	}

	void Audio::SetVolume(float aVolume)
	{
		myVolume = aVolume;
		if (HasSample())
			AudioOut::GetExisting()->SetVolume(myChannel, aVolume);
	}

	void Audio::SetPosition(const Vector2<float>& aPosition)
	{
		myPosition = aPosition;
		if (AudioOut* someOut = AudioOut::GetExisting())
			someOut->SetPan(myChannel, aPosition.x);
	}
}
