#include "filewatcher/FileWatcher.h"

#include "files/FilePath.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace Norv
{
	namespace
	{
		constexpr std::chrono::nanoseconds POLL_INTERVAL{ 32'000'000 };

		// now + aDelay, saturating at the clock's maximum instead of overflowing.
		std::chrono::steady_clock::time_point DeadlineAfter(std::chrono::nanoseconds aDelay)
		{
			const auto someNow = std::chrono::steady_clock::now();
			const auto someMax = std::chrono::steady_clock::time_point::max();
			return someMax - someNow < aDelay ? someMax : someNow + aDelay;
		}
	}

	FileWatcher::FileWatcher(bool aIsEnabled)
		: myIsEnabled(aIsEnabled)
	{
	}

	FileWatcher::~FileWatcher()
	{
		myIsStopRequested = true;
		if (myThread)
		{
			while (!myIsStopAcknowledged)
				std::this_thread::sleep_until(DeadlineAfter(std::chrono::nanoseconds(1)));
			myThread->join();
			myThread.reset();
		}
	}

	bool FileWatcher::WatchFileChange(const std::string& aPath, Callback aCallback, const void* anOwner)
	{
		if (!myIsEnabled)
			return false;
		const std::optional<std::uint64_t> someTime = GetLastWriteTime(aPath);
		if (!someTime || *someTime == 0)
			return false;

		myCallbacks[MakeKey(aPath)].push_back({ anOwner, std::move(aCallback) });
		if (myThread)
		{
			std::lock_guard someLock(myTimesMutex);
			myModificationTimes[aPath] = *someTime;
		}
		else
		{
			myModificationTimes[aPath] = *someTime;
			myThread = std::make_unique<std::thread>(&FileWatcher::ThreadMain, this);
		}
		return true;
	}

	void FileWatcher::RemoveCallbacks(const void* anOwner)
	{
		if (!anOwner)
			return;
		for (auto someEntry = myCallbacks.begin(); someEntry != myCallbacks.end();)
		{
			std::erase_if(someEntry->second, [anOwner](const OwnedCallback& aCallback) { return aCallback.myOwner == anOwner; });
			someEntry = someEntry->second.empty() ? myCallbacks.erase(someEntry) : std::next(someEntry);
		}
		std::lock_guard someLock(myTimesMutex);
		std::erase_if(myModificationTimes, [this](const auto& anEntry) { return !myCallbacks.contains(MakeKey(anEntry.first)); });
	}

	std::size_t FileWatcher::GetCallbackCount(const std::string& aPath) const
	{
		const auto someFound = myCallbacks.find(MakeKey(aPath));
		return someFound == myCallbacks.end() ? 0 : someFound->second.size();
	}

	void FileWatcher::FlushChanges()
	{
		if (!myIsEnabled || !myThread)
			return;

		std::lock_guard someLock(myChangesMutex);
		myPendingChanges.swap(myDeliveringChanges);
		for (const std::string& somePath : myDeliveringChanges)
		{
			const auto someFound = myCallbacks.find(MakeKey(somePath));
			if (someFound == myCallbacks.end())
				continue;
			// A callback may register more files, which can grow the list under us.
			const std::vector<OwnedCallback> someCallbacks = someFound->second;
			for (const OwnedCallback& someCallback : someCallbacks)
				if (someCallback.myCallback)
					someCallback.myCallback(somePath);
		}
		myDeliveringChanges.clear();
	}

	void FileWatcher::ThreadMain()
	{
		while (!myIsStopRequested)
		{
			{
				std::scoped_lock someLocks(myChangesMutex, myTimesMutex);
				for (auto& [somePath, someStoredTime] : myModificationTimes)
					CheckForChanges(somePath, someStoredTime);
			}
			std::this_thread::sleep_until(DeadlineAfter(POLL_INTERVAL));
		}
		myIsStopAcknowledged = true;
	}

	void FileWatcher::CheckForChanges(const std::string& aPath, std::uint64_t& aStoredTime)
	{
		const std::optional<std::uint64_t> someTime = GetLastWriteTime(aPath);
		if (!someTime || *someTime == aStoredTime)
			return;
		if (std::find(myPendingChanges.begin(), myPendingChanges.end(), aPath) == myPendingChanges.end())
			myPendingChanges.push_back(aPath);
		aStoredTime = *someTime;
	}

	std::optional<std::uint64_t> FileWatcher::GetLastWriteTime(const std::string& aPath)
	{
		const std::filesystem::path someResolved = Platform::ResolveFilePath(std::string_view(aPath));
		std::error_code someError;
		const auto someTime = std::filesystem::last_write_time(someResolved, someError);
		if (someError)
		{
			if (someError == std::errc::no_such_file_or_directory || someError == std::errc::not_a_directory)
				return 0;
			return std::nullopt;
		}
		// A real file never reports 0, which stands for "missing".
		return std::max<std::uint64_t>(1, static_cast<std::uint64_t>(someTime.time_since_epoch().count()));
	}

	std::string FileWatcher::MakeKey(const std::string& aPath)
	{
		std::string someKey = aPath;
		std::replace(someKey.begin(), someKey.end(), '\\', '#');
		std::replace(someKey.begin(), someKey.end(), '/', '#');
		return someKey;
	}
}
