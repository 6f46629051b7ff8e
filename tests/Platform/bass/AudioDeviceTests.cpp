#include "bass/AudioDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

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
