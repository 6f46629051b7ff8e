#include "video/FFmpegHandles.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace Norv::impl
{
	void FFmpegDeleter::operator()(AVFormatContext* aContext) const { avformat_close_input(&aContext); }
	void FFmpegDeleter::operator()(AVCodecContext* aContext) const { avcodec_free_context(&aContext); }
	void FFmpegDeleter::operator()(AVFrame* aFrame) const { av_frame_free(&aFrame); }
	void FFmpegDeleter::operator()(AVPacket* aPacket) const { av_packet_free(&aPacket); }
	void FFmpegDeleter::operator()(SwsContext* aContext) const { sws_freeContext(aContext); }
	void FFmpegDeleter::operator()(SwrContext* aContext) const { swr_free(&aContext); }
	void FFmpegDeleter::operator()(std::uint8_t* aBuffer) const { av_free(aBuffer); }
}
