#pragma once
// Tells asset owners when a file they loaded changes on disk. One worker thread
// polls modification times; the callbacks run on the main thread in FlushChanges,
// once a frame. Works only when the engine's "Filewatcher" debug feature is on.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Norv
{
	class FileWatcher
	{
	public:
		using Callback = std::function<void(const std::string&)>;

		// aIsEnabled: the engine's "Filewatcher" debug feature; off, nothing is ever watched.
		explicit FileWatcher(bool aIsEnabled);
		// Stops and joins the worker.
		~FileWatcher();
		FileWatcher(const FileWatcher&) = delete;
		FileWatcher& operator=(const FileWatcher&) = delete;

		// Calls aCallback with aPath (main thread, in FlushChanges) whenever the file's
		// modification time changes. False when watching is off or the file is missing.
		// Several callbacks per file are allowed; all run in registration order.
		// anOwner tags the callback for RemoveCallbacks; null callbacks live as long as the watcher.
		bool WatchFileChange(const std::string& aPath, Callback aCallback, const void* anOwner = nullptr);

		// Main thread: forgets every callback of anOwner (an owner that goes away must,
		// since its callbacks point at it); a file left without callbacks is no longer polled.
		void RemoveCallbacks(const void* anOwner);

		// How many callbacks wait on aPath (any spelling).
		std::size_t GetCallbackCount(const std::string& aPath) const;

		// Main thread, once a frame: delivers every path changed since the last call, once each.
		void FlushChanges();

	private:
		void ThreadMain();
		// Worker, locks held: queues aPath when its time differs from aStoredTime and stores the new time.
		void CheckForChanges(const std::string& aPath, std::uint64_t& aStoredTime);
		// The file's modification time, 0 when it does not exist; nothing when it cannot be read.
		static std::optional<std::uint64_t> GetLastWriteTime(const std::string& aPath);
		// '/' and '\' spellings of one path share one key.
		static std::string MakeKey(const std::string& aPath);

		std::unique_ptr<std::thread> myThread;
		struct OwnedCallback
		{
			const void* myOwner;
			Callback myCallback;
		};

		std::map<std::string, std::vector<OwnedCallback>> myCallbacks;
		std::vector<std::string> myPendingChanges;
		std::vector<std::string> myDeliveringChanges;
		std::map<std::string, std::uint64_t> myModificationTimes;
		std::mutex myChangesMutex; // guards the pending changes and their swap; always taken first
		std::mutex myTimesMutex; // guards the modification times
		std::atomic<bool> myIsStopRequested = false;
		std::atomic<bool> myIsStopAcknowledged = false;
		bool myIsEnabled;
	};
}
