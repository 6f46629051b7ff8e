#include "Support/VideoSound.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <memory>

namespace NorvTest
{
	namespace
	{
		struct Closer
		{
			void operator()(AVFormatContext* aFormat) const { avformat_close_input(&aFormat); }
			void operator()(AVCodecContext* aContext) const { avcodec_free_context(&aContext); }
			void operator()(SwrContext* aResampler) const { swr_free(&aResampler); }
			void operator()(AVPacket* aPacket) const { av_packet_free(&aPacket); }
			void operator()(AVFrame* aFrame) const { av_frame_free(&aFrame); }
		};
		template <typename T>
		using Owned = std::unique_ptr<T, Closer>;

		// Converts aCount input samples (none: drains the resampler) onto the sound.
		bool Append(SwrContext& aResampler, const std::uint8_t** anInput, int aCount, StereoSound& aSound)
		{
			const int someRoom = swr_get_out_samples(&aResampler, aCount);
			if (someRoom < 0)
				return false;
			const std::size_t someAt = aSound.myLeft.size();
			aSound.myLeft.resize(someAt + static_cast<std::size_t>(someRoom));
			aSound.myRight.resize(someAt + static_cast<std::size_t>(someRoom));
			std::uint8_t* someOutput[2] = { reinterpret_cast<std::uint8_t*>(aSound.myLeft.data() + someAt), reinterpret_cast<std::uint8_t*>(aSound.myRight.data() + someAt) };
			const int someWritten = swr_convert(&aResampler, someOutput, someRoom, anInput, aCount);
			if (someWritten < 0)
				return false;
			aSound.myLeft.resize(someAt + static_cast<std::size_t>(someWritten));
			aSound.myRight.resize(someAt + static_cast<std::size_t>(someWritten));
			return true;
		}

		bool ReceiveFrames(AVCodecContext& aDecoder, SwrContext& aResampler, AVFrame& aFrame, StereoSound& aSound)
		{
			while (avcodec_receive_frame(&aDecoder, &aFrame) == 0)
				if (!Append(aResampler, const_cast<const std::uint8_t**>(aFrame.extended_data), aFrame.nb_samples, aSound))
					return false;
			return true;
		}
	}

	StereoSound ReadVideoSound(const std::filesystem::path& aPath)
	{
		AVFormatContext* someOpened = nullptr;
		if (avformat_open_input(&someOpened, aPath.string().c_str(), nullptr, nullptr) < 0)
			return {};
		Owned<AVFormatContext> someFormat(someOpened);
		const AVCodec* someCodec = nullptr;
		if (avformat_find_stream_info(someFormat.get(), nullptr) < 0)
			return {};
		const int someTrack = av_find_best_stream(someFormat.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &someCodec, 0);
		if (someTrack < 0)
			return {};
		Owned<AVCodecContext> someDecoder(avcodec_alloc_context3(someCodec));
		if (!someDecoder || avcodec_parameters_to_context(someDecoder.get(), someFormat->streams[someTrack]->codecpar) < 0 || avcodec_open2(someDecoder.get(), someCodec, nullptr) < 0)
			return {};

		AVChannelLayout someInputLayout;
		av_channel_layout_default(&someInputLayout, someDecoder->ch_layout.nb_channels);
		AVChannelLayout someStereo = AV_CHANNEL_LAYOUT_STEREO;
		SwrContext* someMade = nullptr;
		const int someResult = swr_alloc_set_opts2(&someMade, &someStereo, AV_SAMPLE_FMT_FLTP, someDecoder->sample_rate,
			&someInputLayout, someDecoder->sample_fmt, someDecoder->sample_rate, 0, nullptr);
		Owned<SwrContext> someResampler(someMade);
		if (someResult < 0 || !someResampler || swr_init(someResampler.get()) < 0)
			return {};

		StereoSound someSound;
		Owned<AVPacket> somePacket(av_packet_alloc());
		Owned<AVFrame> someFrame(av_frame_alloc());
		while (av_read_frame(someFormat.get(), somePacket.get()) >= 0)
		{
			const bool isSound = somePacket->stream_index == someTrack;
			const bool isSent = isSound && avcodec_send_packet(someDecoder.get(), somePacket.get()) == 0;
			av_packet_unref(somePacket.get());
			if (isSound && (!isSent || !ReceiveFrames(*someDecoder, *someResampler, *someFrame, someSound)))
				return {};
		}
		avcodec_send_packet(someDecoder.get(), nullptr);
		if (!ReceiveFrames(*someDecoder, *someResampler, *someFrame, someSound) || !Append(*someResampler, nullptr, 0, someSound))
			return {};
		someSound.myRate = someDecoder->sample_rate;
		return someSound;
	}
}
