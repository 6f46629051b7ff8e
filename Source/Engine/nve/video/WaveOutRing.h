#pragma once
// The sound of a video on its way to the wave-out device: a ring of buffers
// filled in turn and handed to the device when full. A buffer still queued on
// the device is waited for before it is filled again, so the writer never
// overwrites sound that has not played.
#include "waveout/WaveOut.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Norv
{
	class WaveOutRing
	{
	public:
		WaveOutRing(const WAVEFORMATEX& aFormat, int aCount, int aSize);
		~WaveOutRing();
		WaveOutRing(const WaveOutRing&) = delete;
		WaveOutRing& operator=(const WaveOutRing&) = delete;

		bool IsOpen() const { return myWaveOut != nullptr; }

		// Copies aSize bytes into the ring; every buffer that fills up is queued, a
		// partly filled one waits for the next Write. Nothing happens without a device.
		void Write(const std::uint8_t* aData, int aSize);

	private:
		struct Buffer
		{
			WAVEHDR myHeader{};
			HWAVEOUT myWaveOut = nullptr;
			int myFilled = 0;
			std::unique_ptr<char[]> myData;
		};

		// False when the device has not played the buffer within the wait limit.
		bool WaitUntilPlayed(Buffer& aBuffer) const;

		int myCount = 0;
		int mySize = 0;
		int myCurrent = 0;
		std::vector<Buffer> myBuffers;
		HWAVEOUT myWaveOut = nullptr;
	};
}
