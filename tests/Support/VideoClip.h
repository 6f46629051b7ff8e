#pragma once
// Tiny video clips made in code with FFmpeg's encoders for the video tests:
// MPEG-4 part 2 pictures, each a flat grey that brightens frame by frame, and an
// optional tone as AAC (".mp4") or 16-bit PCM (".mkv").
#include <filesystem>

namespace NorvTest
{
	struct ClipOptions
	{
		int myWidth = 64;
		int myHeight = 48;
		int myFramesPerSecond = 25;
		int myFrameCount = 10;
		int mySoundRate = 0; // 0: no sound
		int mySoundChannels = 1;
	};

	// The luma of frame aIndex (video range, so RGB reads about (luma - 16) * 255 / 219).
	int ClipFrameLuma(int aIndex);

	// Writes the clip; the container follows the extension (".mp4" or ".mkv"). False on failure.
	bool WriteVideoClip(const std::filesystem::path& aPath, const ClipOptions& anOptions);
}
