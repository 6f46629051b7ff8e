// The sound and video loaders: WAV samples and the FFmpeg video path.
#include "FuzzTargets.h"
#include "Scratch.h"

#include "bass/WavDecoder.h"
#include "video/VideoPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace NorvFuzz
{
	namespace
	{
		constexpr DWORD MIXER_RATE = 44100;
		constexpr std::size_t MIXED_FRAMES = 1024;
		constexpr int VIDEO_FRAMES = 8; // decoded per input, the first included
		constexpr std::uint32_t RGBA_BYTES = 4;
	}

	bool RunWav(Input aInput)
	{
		const Platform::DecodedWav someWav = Platform::DecodeWav(aInput, "fuzz input");
		if (someWav.myError != BASS_OK)
			return true;
		// What the decoder hands over the mixer takes, and a resolution the file format has.
		const Platform::BassMixer::Sound& someSound = someWav.mySound;
		const DWORD someBits = someSound.myOriginalBits;
		if (!(someBits == 8 || someBits == 16 || someBits == 24 || someBits == 32 || someBits == 64))
			return Inconsistent("a resolution no WAV file has");
		Platform::BassMixer someMixer(MIXER_RATE);
		HSAMPLE someSample = 0;
		if (someMixer.AddSample(someSound, 1, BASS_SAMPLE_LOOP, someSample) != BASS_OK)
			return Inconsistent("a decoded sound the mixer refuses");
		// A few output blocks through the resampler, wrapping at the loop.
		HCHANNEL someChannel = 0;
		someMixer.GetChannel(someSample, someChannel);
		someMixer.Play(someChannel, false);
		std::vector<float> someOut(MIXED_FRAMES * 2);
		someMixer.Mix(someOut.data(), MIXED_FRAMES);
		// One channel at volume 1, interpolated between 16-bit values: within full scale.
		if (std::any_of(someOut.begin(), someOut.end(), [](float aValue) { return !(std::abs(aValue) <= 1.0f); }))
			return Inconsistent("one sound mixed past full scale");
		return true;
	}

	bool RunVideo(Input aInput)
	{
		// The sound goes to SDL's silent driver: no device is needed.
		setenv("SDL_AUDIODRIVER", "dummy", 0);
		const std::string somePath = WriteScratch("video.mp4", aInput).string();
		Norv::VideoPlayer somePlayer;
		if (somePlayer.Init(somePath.c_str(), true) != Norv::VideoPlayer::STATUS_OK)
			return true;
		const double someRate = somePlayer.GetFrameRate();
		if (!std::isfinite(someRate) || someRate <= 0.0)
			return Inconsistent("a frame rate that is not positive");
		// A stream whose first picture never decodes shows nothing: no picture to copy.
		if (!somePlayer.DecodeFirstFrame() || somePlayer.GetFrameWidth() == 0)
			return true;
		// The texture is sized by the first picture; later pictures of another
		// size are clipped or padded into it.
		const std::uint32_t someWidth = somePlayer.GetFrameWidth();
		const std::uint32_t someHeight = somePlayer.GetFrameHeight();
		if (someHeight == 0)
			return Inconsistent("a picture of no rows");
		std::vector<std::uint8_t> someTexture(std::size_t{ someWidth } * someHeight * RGBA_BYTES);
		for (int someFrame = 0; someFrame < VIDEO_FRAMES; ++someFrame)
		{
			if (!somePlayer.CopyFrameTo(someTexture.data(), someWidth * RGBA_BYTES, someWidth, someHeight))
				return Inconsistent("a decoded picture that cannot be copied");
			if (somePlayer.DecodeNextFrame() < 0)
				break;
		}
		return true;
	}
}
