#include "Support/TempFolder.h"
#include "filewatcher/FileWatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace
{
	// Several poll periods of the worker, so a change made before it has been seen.
	constexpr std::chrono::milliseconds SCAN_WAIT{ 200 };
	constexpr std::chrono::seconds GIVE_UP{ 5 };

	// Moves the file's modification time by whole seconds, so a change never
	// hides inside the file system's timestamp granularity.
	void Touch(const fs::path& aPath, int aSeconds)
	{
		fs::last_write_time(aPath, fs::last_write_time(aPath) + std::chrono::seconds(aSeconds));
	}

	// Flushes once a poll period until aCalls holds aCount entries (or gives up).
	void FlushUntil(Norv::FileWatcher& aWatcher, const std::vector<std::string>& aCalls, size_t aCount)
	{
		const auto someEnd = std::chrono::steady_clock::now() + GIVE_UP;
		while (aCalls.size() < aCount && std::chrono::steady_clock::now() < someEnd)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
			aWatcher.FlushChanges();
		}
	}
}

class FileWatcherTest : public ::testing::Test
{
protected:
	NorvTest::TempFolder myFolder;
	std::string myFile = myFolder.Write("a.png", "one").string();
	std::vector<std::string> myCalls;
	Norv::FileWatcher::Callback myRecord = [this](const std::string& aPath) { myCalls.push_back(aPath); };
};

TEST_F(FileWatcherTest, DisabledWatcherRegistersNothingAndFlushesNothing)
{
	Norv::FileWatcher someWatcher(false);
	EXPECT_FALSE(someWatcher.WatchFileChange(myFile, myRecord));
	Touch(myFile, 5);
	std::this_thread::sleep_for(SCAN_WAIT);
	someWatcher.FlushChanges();
	EXPECT_TRUE(myCalls.empty());
}

TEST_F(FileWatcherTest, MissingFileIsNotWatched)
{
	Norv::FileWatcher someWatcher(true);
	EXPECT_FALSE(someWatcher.WatchFileChange((myFolder.Path() / "missing.png").string(), myRecord));
	someWatcher.FlushChanges();
	EXPECT_TRUE(myCalls.empty());
}

TEST_F(FileWatcherTest, TwoSavesBeforeOneFlushGiveOneCallback)
{
	Norv::FileWatcher someWatcher(true);
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, myRecord));
	someWatcher.FlushChanges();
	EXPECT_TRUE(myCalls.empty()) << "nothing changed yet";

	Touch(myFile, 5);
	std::this_thread::sleep_for(SCAN_WAIT);
	Touch(myFile, 5);
	std::this_thread::sleep_for(SCAN_WAIT);
	someWatcher.FlushChanges();
	ASSERT_EQ(myCalls.size(), 1u);
	EXPECT_EQ(myCalls[0], myFile);

	std::this_thread::sleep_for(SCAN_WAIT);
	someWatcher.FlushChanges();
	EXPECT_EQ(myCalls.size(), 1u) << "a delivered change is not delivered again";
}

TEST_F(FileWatcherTest, TwoOwnersOfOneFileAreCalledInRegistrationOrderUntilOneLeaves)
{
	Norv::FileWatcher someWatcher(true);
	std::vector<std::string> someOrder;
	const int someFirst = 0;
	const int someSecond = 0;
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, [&](const std::string& aPath) { someOrder.push_back("first " + aPath); }, &someFirst));
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, {}));
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, [&](const std::string& aPath) { someOrder.push_back("second " + aPath); }, &someSecond));

	Touch(myFile, 5);
	FlushUntil(someWatcher, someOrder, 1);
	EXPECT_EQ(someOrder, (std::vector<std::string>{ "first " + myFile, "second " + myFile }));

	// The first owner goes: only the second is told of the next change.
	someWatcher.RemoveCallbacks(&someFirst);
	EXPECT_EQ(someWatcher.GetCallbackCount(myFile), 2u); // the second and the ownerless one
	someOrder.clear();
	Touch(myFile, 5);
	FlushUntil(someWatcher, someOrder, 1);
	EXPECT_EQ(someOrder, (std::vector<std::string>{ "second " + myFile }));

	// Removing an owner twice, or no owner, changes nothing.
	someWatcher.RemoveCallbacks(&someFirst);
	someWatcher.RemoveCallbacks(nullptr);
	EXPECT_EQ(someWatcher.GetCallbackCount(myFile), 2u);
}

TEST_F(FileWatcherTest, SlashSpellingFindsCallbacksOfBackslashSpelling)
{
	Norv::FileWatcher someWatcher(true);
	std::string someBackslashed = myFile;
	std::replace(someBackslashed.begin(), someBackslashed.end(), '/', '\\');
	std::vector<std::string> someBackslashCalls;
	ASSERT_TRUE(someWatcher.WatchFileChange(someBackslashed, [&](const std::string& aPath) { someBackslashCalls.push_back(aPath); }));
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, myRecord));

	Touch(myFile, 5);
	FlushUntil(someWatcher, someBackslashCalls, 2);
	// Each spelling is polled on its own and both find the one list of callbacks.
	EXPECT_NE(std::find(someBackslashCalls.begin(), someBackslashCalls.end(), myFile), someBackslashCalls.end());
	EXPECT_NE(std::find(someBackslashCalls.begin(), someBackslashCalls.end(), someBackslashed), someBackslashCalls.end());
}

TEST_F(FileWatcherTest, DeletedFileIsReportedOnceAndAgainWhenItReappears)
{
	Norv::FileWatcher someWatcher(true);
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, myRecord));

	fs::remove(myFile);
	FlushUntil(someWatcher, myCalls, 1);
	ASSERT_EQ(myCalls.size(), 1u);
	std::this_thread::sleep_for(SCAN_WAIT);
	someWatcher.FlushChanges();
	EXPECT_EQ(myCalls.size(), 1u) << "a missing file stays unchanged";

	myFolder.Write("a.png", "two");
	FlushUntil(someWatcher, myCalls, 2);
	EXPECT_EQ(myCalls, (std::vector<std::string>{ myFile, myFile }));
}

TEST_F(FileWatcherTest, CallbackMayWatchAnotherFile)
{
	Norv::FileWatcher someWatcher(true);
	const std::string someOther = myFolder.Write("b.png", "b").string();
	ASSERT_TRUE(someWatcher.WatchFileChange(myFile, [&](const std::string& aPath) {
		myCalls.push_back(aPath);
		EXPECT_TRUE(someWatcher.WatchFileChange(someOther, myRecord));
	}));

	Touch(myFile, 5);
	FlushUntil(someWatcher, myCalls, 1);
	ASSERT_EQ(myCalls.size(), 1u);
	Touch(someOther, 5);
	FlushUntil(someWatcher, myCalls, 2);
	EXPECT_EQ(myCalls, (std::vector<std::string>{ myFile, someOther }));
}
