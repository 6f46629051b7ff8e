#include "bass/AudioDevice.h"

#include "Loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace
{
	constexpr auto PULL_WAIT = std::chrono::seconds(2);

	void PullSilence(void* aUser, Uint8* anOutput, int aByteCount)
	{
		std::memset(anOutput, 0, static_cast<std::size_t>(aByteCount));
		static_cast<std::atomic<int>*>(aUser)->fetch_add(1);
	}
}

// SDL_AUDIODRIVER naming a driver that cannot start (as a sound server that is not
// running): the device still opens, silent, and says so in one line.
TEST(AudioDevice, ADriverThatFailsGivesWayToTheSilentOne)
{
	const char* someVariable = std::getenv("SDL_AUDIODRIVER");
	const std::optional<std::string> someOld = someVariable ? std::optional<std::string>(someVariable) : std::nullopt;
	setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
	SDL_QuitSubSystem(SDL_INIT_AUDIO);

	std::atomic<int> somePulls{ 0 };
	testing::internal::CaptureStderr();
	const bool someIsOpen = Platform::AddAudioSource({}, PullSilence, &somePulls);
	const std::string someMessage = testing::internal::GetCapturedStderr();
	EXPECT_TRUE(someIsOpen);
	EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
	EXPECT_NE(someMessage.find("playing silently"), std::string::npos) << someMessage;
	EXPECT_EQ(std::count(someMessage.begin(), someMessage.end(), '\n'), 1) << someMessage;

	const auto someDeadline = std::chrono::steady_clock::now() + PULL_WAIT;
	while (somePulls.load() == 0 && std::chrono::steady_clock::now() < someDeadline)
		std::this_thread::sleep_for(std::chrono::milliseconds(10));
	EXPECT_GT(somePulls.load(), 0);
	Platform::RemoveAudioSource(&somePulls);

	if (someOld)
		setenv("SDL_AUDIODRIVER", someOld->c_str(), 1);
	else
		unsetenv("SDL_AUDIODRIVER");
}

namespace
{
	// A source of a sine at aRate (mono 16-bit, as a video's sound might come, or the
	// bus's own floating-point stereo), counting its pulls; silent while muted.
	struct Tone
	{
		double myAmplitude = 0.0;
		double myHz = 0.0;
		int myRate = Platform::AUDIO_DEVICE_RATE_HZ;
		bool myIsMuted = false;
		std::size_t myNext = 0;
		std::atomic<int> myPulls{ 0 };

		double Next() { return myIsMuted ? 0.0 : myAmplitude * std::sin(2.0 * std::numbers::pi * myHz * static_cast<double>(myNext++) / myRate); }
	};

	void PullStereoFloat(void* aUser, Uint8* anOutput, int aByteCount)
	{
		Tone& someTone = *static_cast<Tone*>(aUser);
		float* someOut = reinterpret_cast<float*>(anOutput);
		for (std::size_t i = 0; i < static_cast<std::size_t>(aByteCount) / (2 * sizeof(float)); ++i)
			someOut[i * 2] = someOut[i * 2 + 1] = static_cast<float>(someTone.Next());
		someTone.myPulls.fetch_add(1);
	}

	void PullMono16(void* aUser, Uint8* anOutput, int aByteCount)
	{
		Tone& someTone = *static_cast<Tone*>(aUser);
		std::int16_t* someOut = reinterpret_cast<std::int16_t*>(anOutput);
		for (std::size_t i = 0; i < static_cast<std::size_t>(aByteCount) / sizeof(std::int16_t); ++i)
			someOut[i] = static_cast<std::int16_t>(std::lround(someTone.Next() * 32767.0));
		someTone.myPulls.fetch_add(1);
	}

	// aSeconds of the master output, pulled by hand a game frame's worth at a time.
	std::vector<std::int16_t> PullByHand(double aSeconds)
	{
		constexpr std::size_t FRAME = Platform::AUDIO_DEVICE_RATE_HZ / 60;
		std::vector<std::int16_t> someOut(static_cast<std::size_t>(aSeconds * 60.0) * FRAME * 2);
		for (std::size_t someDone = 0; someDone < someOut.size(); someDone += FRAME * 2)
			Platform::MixAudioOutput(someOut.data() + someDone, FRAME);
		return someOut;
	}

	std::vector<float> Left(const std::vector<std::int16_t>& aFrames, std::size_t aFirstFrame)
	{
		std::vector<float> someLeft;
		for (std::size_t i = aFirstFrame * 2; i < aFrames.size(); i += 2)
			someLeft.push_back(static_cast<float>(aFrames[i]) / 32768.0f);
		return someLeft;
	}
}

// The master output pulled by hand: the device's thread pulls nothing meanwhile;
// a source in the bus's format and one converted from 16-bit mono at another rate
// are summed; a quiet one alone leaves at its level; both together, far over full
// scale, leave limited under -1 dBTP with no sample at full scale; muted, the
// output is exactly silent.
TEST(AudioDevice, TheMasterOutputSumsItsSourcesAndHoldsThemUnderTheCeiling)
{
	Platform::SetAudioOutputByHand(true);
	Tone someMusic;
	someMusic.myAmplitude = 0.3;
	someMusic.myHz = 440.0;
	Tone someVideo;
	someVideo.myAmplitude = 0.95;
	someVideo.myHz = 300.0;
	someVideo.myRate = 22050;
	someVideo.myIsMuted = true;
	ASSERT_TRUE(Platform::AddAudioSource({ AUDIO_F32SYS, 2, Platform::AUDIO_DEVICE_RATE_HZ }, PullStereoFloat, &someMusic));
	ASSERT_TRUE(Platform::AddAudioSource({ AUDIO_S16SYS, 1, 22050 }, PullMono16, &someVideo));
	std::this_thread::sleep_for(std::chrono::milliseconds(100));
	EXPECT_EQ(someMusic.myPulls.load(), 0) << "the device pulled while the output is pulled by hand";

	const std::size_t SETTLED = 4410;
	const std::vector<float> someQuiet = Left(PullByHand(0.5), SETTLED);
	EXPECT_NEAR(NorvMedia::TruePeakDb(someQuiet), 20.0 * std::log10(0.3), 0.05);
	EXPECT_GT(someVideo.myPulls.load(), 0);

	someMusic.myAmplitude = 0.9;
	someVideo.myIsMuted = false;
	const std::vector<std::int16_t> someLoud = PullByHand(1.0);
	EXPECT_EQ(std::count_if(someLoud.begin(), someLoud.end(), [](std::int16_t aValue) { return aValue == INT16_MAX || aValue == INT16_MIN; }), 0);
	const std::vector<float> someLoudLeft = Left(someLoud, 0);
	EXPECT_LE(NorvMedia::TruePeakDb(someLoudLeft), -1.0);
	EXPECT_GT(NorvMedia::TruePeakDb(someLoudLeft), -2.5) << "the sum is held far under the ceiling";

	someMusic.myIsMuted = true;
	someVideo.myIsMuted = true;
	const std::vector<std::int16_t> someMuted = PullByHand(0.5);
	EXPECT_TRUE(std::all_of(someMuted.begin() + SETTLED * 2, someMuted.end(), [](std::int16_t aValue) { return aValue == 0; }));

	Platform::RemoveAudioSource(&someVideo);
	Platform::RemoveAudioSource(&someMusic);
	Platform::SetAudioOutputByHand(false);
}
