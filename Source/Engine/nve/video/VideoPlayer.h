#pragma once
// Demuxes and decodes one video file with FFmpeg: video frames converted to RGBA
// on request, the sound (when asked for) resampled to 16-bit stereo at 44.1 kHz
// and queued on the wave-out device as packets are read. Main thread only.
#include "video/FFmpegHandles.h"
#include "video/WaveOutRing.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVStream;
struct AVRational;

namespace Norv
{
	class VideoPlayer
	{
	public:
		static constexpr int STATUS_OK = 0;
		static constexpr int STATUS_FFMPEG_FAILED = 1;
		static constexpr int STATUS_UNREADABLE = 2;
		static constexpr double DEFAULT_FRAME_RATE = 25.0; // when the stream tells none

		VideoPlayer();
		~VideoPlayer();
		VideoPlayer(const VideoPlayer&) = delete;
		VideoPlayer& operator=(const VideoPlayer&) = delete;

		// aPath is a plain file path. A failure is reported on the standard error
		// stream and leaves a player that decodes nothing.
		int Init(const char* aPath, bool aWithSound);
		// Reads up to the first picture.
		bool DecodeFirstFrame();
		// Reads packets until the next picture; the last read result, negative once
		// the stream has ended (and no picture is left in the decoder).
		int DecodeNextFrame();
		double GetFrameRate() const;
		void Rewind();
		// Writes the current picture into aTextureWidth x aTextureHeight texels of 4
		// bytes at aMapped, rows aRowPitch bytes apart; texels outside the picture are
		// 0. False before the first picture.
		bool CopyFrameTo(std::uint8_t* aMapped, std::uint32_t aRowPitch, std::uint32_t aTextureWidth, std::uint32_t aTextureHeight);

		// The size of the last decoded picture (0 x 0 before one).
		std::uint32_t GetFrameWidth() const;
		std::uint32_t GetFrameHeight() const;
		int GetCopiedFrameCount() const { return myCopiedFrameCount; }
		bool HasSoundOutput() const { return myIsWaveOutCreated; }
		std::uint64_t GetQueuedSoundBytes() const { return myQueuedSoundBytes; }

		// The first rate of at least MIN_FRAME_RATE among the stream's real frame rate,
		// its average frame rate and the inverse of the codec's time base; else the default.
		static double ChooseFrameRate(const AVRational& aRealRate, const AVRational& anAverageRate, const AVRational& aCodecTimeBase);

	private:
		int OpenSound(AVStream& aStream);
		void DecodeSoundPacket(const AVPacket* aPacket);
		// Resamples one decoded frame (null: the resampler's remaining tail) and queues it.
		void QueueSound(const AVFrame* aFrame);
		// At the end of the stream: flushes both decoders and the resampler.
		void StartDraining();

		impl::FFmpegPtr<AVFormatContext> myFormat;
		impl::FFmpegPtr<AVCodecContext> myVideoContext;
		impl::FFmpegPtr<AVCodecContext> mySoundContext;
		impl::FFmpegPtr<SwsContext> myScaler;
		impl::FFmpegPtr<SwrContext> myResampler;
		impl::FFmpegPtr<AVFrame> myVideoFrame;
		impl::FFmpegPtr<AVFrame> myReceivedFrame;
		impl::FFmpegPtr<AVFrame> myRgbaFrame;
		impl::FFmpegPtr<AVFrame> mySoundFrame;
		impl::FFmpegPtr<AVPacket> myPacket;
		impl::FFmpegPtr<std::uint8_t> myRgbaBuffer;
		std::string myPath;
		bool myIsOpen = false; // Init succeeded; nothing decodes otherwise
		int myLastReadResult = 0;
		int myCopiedFrameCount = 0;
		bool myHasPicture = false;
		bool myIsDraining = false;
		int myVideoStreamIndex = -1;
		int myWidth = 0;
		int myHeight = 0;
		AVStream* mySoundStream = nullptr;
		std::vector<std::uint8_t> mySoundBuffer;
		std::unique_ptr<WaveOutRing> myWaveOut;
		bool myIsWaveOutCreated = false;
		std::uint64_t myQueuedSoundBytes = 0;
	};
}
