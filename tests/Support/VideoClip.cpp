#include "Support/VideoClip.h"

#include "Support/FuzzSeeds.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace NorvTest
{
	namespace
	{
		constexpr int SOUND_CHUNK_SAMPLES = 1024;
		constexpr double TONE_HZ = 440.0;
		constexpr double TONE_LEVEL = 0.3;

		struct Track
		{
			AVStream* myStream = nullptr;
			AVCodecContext* myContext = nullptr;
			~Track() { avcodec_free_context(&myContext); }
		};

		// Sends aFrame (null: flush) and writes every packet that comes out.
		bool Encode(AVFormatContext* aFormat, Track& aTrack, const AVFrame* aFrame)
		{
			if (avcodec_send_frame(aTrack.myContext, aFrame) < 0)
				return false;
			AVPacket* somePacket = av_packet_alloc();
			int someResult = 0;
			while ((someResult = avcodec_receive_packet(aTrack.myContext, somePacket)) == 0)
			{
				if (somePacket->duration == 0 && aTrack.myContext->codec_type == AVMEDIA_TYPE_VIDEO)
					somePacket->duration = 1; // else MP4 drops the last picture
				av_packet_rescale_ts(somePacket, aTrack.myContext->time_base, aTrack.myStream->time_base);
				somePacket->stream_index = aTrack.myStream->index;
				if (av_interleaved_write_frame(aFormat, somePacket) < 0)
					someResult = AVERROR(EIO);
			}
			av_packet_free(&somePacket);
			return someResult == AVERROR(EAGAIN) || someResult == AVERROR_EOF;
		}

		bool OpenTrack(AVFormatContext* aFormat, Track& aTrack, const char* anEncoder, const std::function<void(AVCodecContext&)>& aSetUp)
		{
			const AVCodec* someCodec = avcodec_find_encoder_by_name(anEncoder);
			if (!someCodec)
				return false;
			aTrack.myStream = avformat_new_stream(aFormat, nullptr);
			aTrack.myContext = avcodec_alloc_context3(someCodec);
			if (!aTrack.myStream || !aTrack.myContext)
				return false;
			aSetUp(*aTrack.myContext);
			if (aFormat->oformat->flags & AVFMT_GLOBALHEADER)
				aTrack.myContext->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
			if (avcodec_open2(aTrack.myContext, someCodec, nullptr) < 0)
				return false;
			aTrack.myStream->time_base = aTrack.myContext->time_base;
			return avcodec_parameters_from_context(aTrack.myStream->codecpar, aTrack.myContext) >= 0;
		}

		bool WritePicture(AVFormatContext* aFormat, Track& aTrack, AVFrame* aFrame, int anIndex)
		{
			if (av_frame_make_writable(aFrame) < 0)
				return false;
			for (int y = 0; y < aFrame->height; ++y)
				std::memset(aFrame->data[0] + y * aFrame->linesize[0], ClipFrameLuma(anIndex), static_cast<std::size_t>(aFrame->width));
			for (int y = 0; y < aFrame->height / 2; ++y)
			{
				std::memset(aFrame->data[1] + y * aFrame->linesize[1], 128, static_cast<std::size_t>(aFrame->width / 2));
				std::memset(aFrame->data[2] + y * aFrame->linesize[2], 128, static_cast<std::size_t>(aFrame->width / 2));
			}
			aFrame->pts = anIndex;
			return Encode(aFormat, aTrack, aFrame);
		}

		// Writes the samples from aFirst up to aEnd.
		bool WriteSound(AVFormatContext* aFormat, Track& aTrack, AVFrame* aFrame, std::int64_t& aFirst, std::int64_t aEnd)
		{
			const AVCodecContext& someContext = *aTrack.myContext;
			while (aFirst < aEnd)
			{
				const int someCount = static_cast<int>(std::min<std::int64_t>(aFrame->nb_samples, aEnd - aFirst));
				if (av_frame_make_writable(aFrame) < 0)
					return false;
				for (int i = 0; i < someCount; ++i)
				{
					const double someValue = TONE_LEVEL * std::sin(2.0 * M_PI * TONE_HZ * static_cast<double>(aFirst + i) / someContext.sample_rate);
					for (int c = 0; c < someContext.ch_layout.nb_channels; ++c)
					{
						if (someContext.sample_fmt == AV_SAMPLE_FMT_FLTP)
							reinterpret_cast<float*>(aFrame->data[c])[i] = static_cast<float>(someValue);
						else
							reinterpret_cast<std::int16_t*>(aFrame->data[0])[i * someContext.ch_layout.nb_channels + c] = static_cast<std::int16_t>(someValue * 32767.0);
					}
				}
				const int someFull = aFrame->nb_samples;
				aFrame->nb_samples = someCount;
				aFrame->pts = aFirst;
				const bool someWritten = Encode(aFormat, aTrack, aFrame);
				aFrame->nb_samples = someFull;
				if (!someWritten)
					return false;
				aFirst += someCount;
			}
			return true;
		}
	}

	int ClipFrameLuma(int aIndex)
	{
		return 30 + (aIndex * 17) % 200;
	}

	// Encodes the clip; the seed copy is WriteVideoClip's.
	static bool EncodeVideoClip(const std::filesystem::path& aPath, const ClipOptions& anOptions)
	{
		av_log_set_level(AV_LOG_ERROR);
		AVFormatContext* someFormat = nullptr;
		if (avformat_alloc_output_context2(&someFormat, nullptr, nullptr, aPath.string().c_str()) < 0)
			return false;
		const std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> someOwner(someFormat, [](AVFormatContext* aFormat) {
			avio_closep(&aFormat->pb);
			avformat_free_context(aFormat);
		});

		Track someVideo, someSound;
		const bool someHasSound = anOptions.mySoundRate > 0;
		const bool someIsPcm = aPath.extension() == ".mkv";
		bool someOk = OpenTrack(someFormat, someVideo, "mpeg4", [&](AVCodecContext& aContext) {
			aContext.width = anOptions.myWidth;
			aContext.height = anOptions.myHeight;
			aContext.time_base = { 1, anOptions.myFramesPerSecond };
			aContext.framerate = { anOptions.myFramesPerSecond, 1 };
			aContext.pix_fmt = AV_PIX_FMT_YUV420P;
			aContext.gop_size = 5;
			aContext.max_b_frames = 0;
			aContext.qmin = aContext.qmax = 2;
		});
		if (someOk && someHasSound)
		{
			someOk = OpenTrack(someFormat, someSound, someIsPcm ? "pcm_s16le" : "aac", [&](AVCodecContext& aContext) {
				aContext.sample_rate = anOptions.mySoundRate;
				aContext.sample_fmt = someIsPcm ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
				av_channel_layout_default(&aContext.ch_layout, anOptions.mySoundChannels);
				aContext.time_base = { 1, anOptions.mySoundRate };
				aContext.bit_rate = 64000;
			});
		}
		if (!someOk || avio_open(&someFormat->pb, aPath.string().c_str(), AVIO_FLAG_WRITE) < 0 || avformat_write_header(someFormat, nullptr) < 0)
			return false;

		AVFrame* somePicture = av_frame_alloc();
		AVFrame* someSamples = av_frame_alloc();
		somePicture->format = AV_PIX_FMT_YUV420P;
		somePicture->width = anOptions.myWidth;
		somePicture->height = anOptions.myHeight;
		someOk = av_frame_get_buffer(somePicture, 0) >= 0;
		if (someOk && someHasSound)
		{
			someSamples->format = someSound.myContext->sample_fmt;
			someSamples->sample_rate = anOptions.mySoundRate;
			someSamples->nb_samples = someSound.myContext->frame_size > 0 ? someSound.myContext->frame_size : SOUND_CHUNK_SAMPLES;
			av_channel_layout_copy(&someSamples->ch_layout, &someSound.myContext->ch_layout);
			someOk = av_frame_get_buffer(someSamples, 0) >= 0;
		}

		std::int64_t someSoundWritten = 0;
		for (int someIndex = 0; someOk && someIndex < anOptions.myFrameCount; ++someIndex)
		{
			someOk = WritePicture(someFormat, someVideo, somePicture, someIndex);
			if (someOk && someHasSound)
			{
				const std::int64_t someUntil = static_cast<std::int64_t>(someIndex + 1) * anOptions.mySoundRate / anOptions.myFramesPerSecond;
				someOk = WriteSound(someFormat, someSound, someSamples, someSoundWritten, someUntil);
			}
		}
		someOk = someOk && Encode(someFormat, someVideo, nullptr) && (!someHasSound || Encode(someFormat, someSound, nullptr));
		av_frame_free(&somePicture);
		av_frame_free(&someSamples);
		return someOk && av_write_trailer(someFormat) >= 0;
	}

	bool WriteVideoClip(const std::filesystem::path& aPath, const ClipOptions& anOptions)
	{
		const bool someIsWritten = EncodeVideoClip(aPath, anOptions);
		if (someIsWritten && std::getenv("NORV_FUZZ_SEEDS"))
		{
			std::ifstream someFile(aPath, std::ios::binary);
			SaveFuzzSeed("video", std::string(std::istreambuf_iterator<char>(someFile), {}));
		}
		return someIsWritten;
	}
}
