#pragma once
// The process-wide sound service: the output device and every loaded sound, each
// file loaded once as a sample of at most 3 simultaneous channels. Made by the
// first Norv::Audio::Init and never destroyed.
#include <cstdint>
#include <string>
#include <vector>

namespace Norv
{
	class AudioOut
	{
	public:
		static constexpr std::uint32_t NO_SAMPLE = 0xFFFFFFFF;     // the load failed
		static constexpr std::uint32_t DUPLICATE_SAMPLE = 0;       // the file was loaded before
		static constexpr std::uint32_t MAX_CHANNELS_PER_SAMPLE = 3;

		// The service, made on the first call.
		static AudioOut& GetInstance();
		// The service, or null before anything made it.
		static AudioOut* GetExisting() { return ourInstance; }

		AudioOut();
		virtual ~AudioOut();
		AudioOut(const AudioOut&) = delete;
		AudioOut& operator=(const AudioOut&) = delete;

		bool IsInitialised() const { return myIsInitialised; }

		// The sample of a resolved path: DUPLICATE_SAMPLE (with a line on the standard
		// error stream) when that path was loaded before, NO_SAMPLE when it cannot be loaded.
		std::uint32_t Load(const std::string& aPath, bool aLoop);
		// The sample loaded from exactly aPath, 0 when none.
		std::uint32_t FindSample(const std::string& aPath) const;
		std::size_t GetSampleCount() const { return mySamples.size(); }
		std::vector<std::uint32_t> GetChannels(std::uint32_t aSample) const;

		// Starts the sample on a channel (a free one, or the one the sample may replace)
		// at aVolume and stores that channel in anOutChannel.
		bool Play(std::uint32_t aSample, std::uint32_t& anOutChannel, float aVolume);
		// True when every channel of the sample paused.
		bool Pause(std::uint32_t aSample);
		// Restarts the channels that are paused; stopped ones stay stopped.
		bool Resume(std::uint32_t aSample);
		// Immediately: every channel stops now. Otherwise as StopLooping.
		bool Stop(std::uint32_t aSample, bool anImmediately);
		// The first channel that still loops finishes its current pass and ends; only
		// for samples loaded to loop.
		bool StopLooping(std::uint32_t aSample);

		void SetVolume(std::uint32_t aChannel, float aValue);
		// -1 full left .. +1 full right.
		void SetPan(std::uint32_t aChannel, float aValue);

	private:
		struct SampleRecord
		{
			std::string myPath;
			std::uint32_t mySample;
		};

		inline static AudioOut* ourInstance = nullptr;

		bool myIsInitialised = false;
		std::vector<SampleRecord> mySamples;
	};
}
