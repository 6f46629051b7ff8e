#pragma once
// One loaded sound as game code holds it. A handle whose file could not be loaded
// ignores play, pause, resume and stop; volume and position changes apply to the
// channel of the handle's last Play.
#include "Math/Vector.h"

#include <cstdint>

namespace Norv
{
	class Audio
	{
	public:
		Audio() = default;

		// aPath is asset-relative; the first call makes the sound service.
		void Init(const char* aPath, bool aLoop);

		// Plays on a new channel (a one-shot sound overlaps up to 3 times) at the handle's volume.
		void Play();
		void Pause();
		void Resume();
		// Immediately: every channel of the sound stops now; otherwise a looping sound
		// ends after its current pass.
		void Stop(bool anImmediately);
		void SetVolume(float aVolume);
		// x is the pan: -1 full left .. +1 full right.
		void SetPosition(const Vector2<float>& aPosition);

		std::uint32_t GetSampleId() const { return mySampleId; }
		std::uint32_t GetChannel() const { return myChannel; }
		const Vector2<float>& GetPosition() const { return myPosition; }
		float GetVolume() const { return myVolume; }

	private:
		bool HasSample() const;

		std::uint32_t mySampleId = 0xFFFFFFFF;
		std::uint32_t myChannel = 0;
		Vector2<float> myPosition;
		float myVolume = 1.0f;
	};
}
