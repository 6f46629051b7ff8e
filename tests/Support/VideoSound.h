#pragma once
// The sound track of a video as the game hears it, decoded with FFmpeg for the
// loudness tests: converted to stereo as the video player converts it (the
// default layout for the track's channel count), at the track's own rate.
#include <filesystem>
#include <vector>

namespace NorvTest
{
	struct StereoSound
	{
		int myRate = 0; // 0: no sound track, or it did not decode
		std::vector<float> myLeft;
		std::vector<float> myRight;
	};

	StereoSound ReadVideoSound(const std::filesystem::path& aPath);
}
