#pragma once
// Owning pointers for the FFmpeg objects the video player holds.
#include <cstdint>
#include <memory>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

namespace Norv::impl
{
	struct FFmpegDeleter
	{
		void operator()(AVFormatContext* aContext) const;
		void operator()(AVCodecContext* aContext) const;
		void operator()(AVFrame* aFrame) const;
		void operator()(AVPacket* aPacket) const;
		void operator()(SwsContext* aContext) const;
		void operator()(SwrContext* aContext) const;
		void operator()(std::uint8_t* aBuffer) const; // from av_malloc
	};

	template <typename T>
	using FFmpegPtr = std::unique_ptr<T, FFmpegDeleter>;
}
