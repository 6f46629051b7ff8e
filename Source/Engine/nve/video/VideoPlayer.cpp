#include "video/VideoPlayer.h"

#include "files/FilePath.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>
#include <iostream>

namespace Norv
{
	namespace
	{
		constexpr int MAX_PACKETS_PER_FRAME = 10000;
		constexpr double MIN_FRAME_RATE = 0.000025;
		constexpr int OUTPUT_RATE_HZ = 44100;
		constexpr int OUTPUT_CHANNELS = 2;
		constexpr int OUTPUT_BYTES_PER_SAMPLE = 2;
		constexpr int WAVE_OUT_BUFFER_COUNT = 16;
		constexpr int WAVE_OUT_BUFFER_BYTES = 4096;
		constexpr AVPixelFormat PICTURE_FORMAT = AV_PIX_FMT_RGBA;
		constexpr int PICTURE_BYTES_PER_PIXEL = 4;

		double ToDouble(const AVRational& aRational)
		{
			return aRational.num == 0 || aRational.den == 0 ? 0.0 : av_q2d(aRational);
		}

		std::string ErrorText(int anError)
		{
			char someText[AV_ERROR_MAX_STRING_SIZE] = {};
			av_strerror(anError, someText, sizeof(someText));
			return someText;
		}

		int Fail(const std::string& aPath, const std::string& aReason)
		{
			std::cerr << "Video error: " << aPath << ": " << aReason << std::endl;
			return VideoPlayer::STATUS_FFMPEG_FAILED;
		}
	}

	VideoPlayer::VideoPlayer() = default;
	VideoPlayer::~VideoPlayer() = default;

	// ---------------------------------------------------------------- opening

	int VideoPlayer::Init(const char* aPath, bool aWithSound)
	{
		const std::filesystem::path someFile = Platform::ResolveFilePath(std::string_view(aPath ? aPath : ""));
		if (!Platform::OpenInputFile(someFile, std::ios::binary))
		{
			std::cerr << "Video error: " << someFile.string() << " cannot be read" << std::endl;
			return STATUS_UNREADABLE;
		}
		myPath = someFile.string();

		AVFormatContext* someFormat = nullptr;
		if (const int someResult = avformat_open_input(&someFormat, myPath.c_str(), nullptr, nullptr); someResult < 0)
			return Fail(myPath, ErrorText(someResult));
		myFormat.reset(someFormat);
		if (const int someResult = avformat_find_stream_info(myFormat.get(), nullptr); someResult < 0)
			return Fail(myPath, ErrorText(someResult));

		const AVCodec* someVideoDecoder = nullptr;
		for (unsigned i = 0; i < myFormat->nb_streams; ++i)
		{
			AVStream* someStream = myFormat->streams[i];
			const AVMediaType someType = someStream->codecpar->codec_type;
			if (someType == AVMEDIA_TYPE_VIDEO)
			{
				myVideoStreamIndex = static_cast<int>(i);
				someVideoDecoder = avcodec_find_decoder(someStream->codecpar->codec_id);
			}
			else if (someType == AVMEDIA_TYPE_AUDIO && aWithSound && !mySoundStream)
				mySoundStream = someStream;
		}

		if (mySoundStream)
		{
			if (const int someStatus = OpenSound(*mySoundStream); someStatus != STATUS_OK)
				return someStatus;
		}

		if (myVideoStreamIndex < 0 || !someVideoDecoder)
			return Fail(myPath, "no video stream that can be decoded");
		myVideoContext.reset(avcodec_alloc_context3(someVideoDecoder));
		if (!myVideoContext || avcodec_parameters_to_context(myVideoContext.get(), myFormat->streams[myVideoStreamIndex]->codecpar) < 0)
			return Fail(myPath, "no video decoder context");
		if (const int someResult = avcodec_open2(myVideoContext.get(), someVideoDecoder, nullptr); someResult < 0)
			return Fail(myPath, ErrorText(someResult));

		myWidth = myVideoContext->width;
		myHeight = myVideoContext->height;
		const int someBufferSize = av_image_get_buffer_size(PICTURE_FORMAT, myWidth, myHeight, 1);
		myVideoFrame.reset(av_frame_alloc());
		myReceivedFrame.reset(av_frame_alloc());
		myRgbaFrame.reset(av_frame_alloc());
		myPacket.reset(av_packet_alloc());
		if (someBufferSize <= 0 || !myVideoFrame || !myReceivedFrame || !myRgbaFrame || !myPacket)
			return Fail(myPath, "the picture size " + std::to_string(myWidth) + " x " + std::to_string(myHeight) + " cannot be converted");
		myRgbaBuffer.reset(static_cast<std::uint8_t*>(av_malloc(static_cast<std::size_t>(someBufferSize))));
		if (!myRgbaBuffer)
			return Fail(myPath, "out of memory");
		av_image_fill_arrays(myRgbaFrame->data, myRgbaFrame->linesize, myRgbaBuffer.get(), PICTURE_FORMAT, myWidth, myHeight, 1);
		myIsOpen = true;
		return STATUS_OK;
	}

	int VideoPlayer::OpenSound(AVStream& aStream)
	{
		const AVCodec* someDecoder = avcodec_find_decoder(aStream.codecpar->codec_id);
		if (!someDecoder)
		{
			std::cout << "Couldn't find a proper decoder for audio" << std::endl;
			return STATUS_FFMPEG_FAILED;
		}
		mySoundContext.reset(avcodec_alloc_context3(someDecoder));
		if (!mySoundContext || avcodec_parameters_to_context(mySoundContext.get(), aStream.codecpar) < 0
			|| avcodec_open2(mySoundContext.get(), someDecoder, nullptr) < 0)
		{
			std::cout << "Couldn't open the context with the decoder for audio" << std::endl;
			return STATUS_FFMPEG_FAILED;
		}

		AVChannelLayout someInputLayout;
		av_channel_layout_default(&someInputLayout, mySoundContext->ch_layout.nb_channels);
		AVChannelLayout someOutputLayout = AV_CHANNEL_LAYOUT_STEREO;
		SwrContext* someResampler = nullptr;
		const int someResult = swr_alloc_set_opts2(&someResampler, &someOutputLayout, AV_SAMPLE_FMT_S16, OUTPUT_RATE_HZ,
			&someInputLayout, mySoundContext->sample_fmt, mySoundContext->sample_rate, 0, nullptr);
		av_channel_layout_uninit(&someInputLayout);
		myResampler.reset(someResampler);
		if (someResult < 0 || !myResampler)
		{
			std::cout << "Couldn't create the SwrContext" << std::endl;
			return STATUS_FFMPEG_FAILED;
		}
		if (swr_init(myResampler.get()) < 0)
		{
			std::cout << "Couldn't initialize the SwrContext" << std::endl;
			return STATUS_FFMPEG_FAILED;
		}
		mySoundFrame.reset(av_frame_alloc());
		return mySoundFrame ? STATUS_OK : STATUS_FFMPEG_FAILED;
	}

	// ---------------------------------------------------------------- decoding

	bool VideoPlayer::DecodeFirstFrame()
	{
		DecodeNextFrame();
		return true;
	}

	int VideoPlayer::DecodeNextFrame()
	{
		if (!myIsOpen)
			return AVERROR_EOF;
		for (int somePackets = 0; somePackets < MAX_PACKETS_PER_FRAME; ++somePackets)
		{
			// A packet may hold more than one picture: take those left first. Pictures
			// are received aside, as a failed receive clears the frame it is given.
			if (avcodec_receive_frame(myVideoContext.get(), myReceivedFrame.get()) == 0)
			{
				av_frame_unref(myVideoFrame.get());
				av_frame_move_ref(myVideoFrame.get(), myReceivedFrame.get());
				myHasPicture = true;
				return myIsDraining ? 0 : myLastReadResult;
			}
			if (myIsDraining)
				return myLastReadResult;

			myLastReadResult = av_read_frame(myFormat.get(), myPacket.get());
			if (myLastReadResult < 0)
			{
				StartDraining();
				continue;
			}
			if (myPacket->stream_index == myVideoStreamIndex)
				avcodec_send_packet(myVideoContext.get(), myPacket.get());
			else if (mySoundStream && myPacket->stream_index == mySoundStream->index)
				DecodeSoundPacket(myPacket.get());
			av_packet_unref(myPacket.get());
		}
		return myLastReadResult;
	}

	void VideoPlayer::DecodeSoundPacket(const AVPacket* aPacket)
	{
		if (avcodec_send_packet(mySoundContext.get(), aPacket) < 0)
			return;
		while (avcodec_receive_frame(mySoundContext.get(), mySoundFrame.get()) == 0)
			QueueSound(mySoundFrame.get());
	}

	void VideoPlayer::QueueSound(const AVFrame* aFrame)
	{
		const int someInputSamples = aFrame ? aFrame->nb_samples : 0;
		const int someMaxSamples = swr_get_out_samples(myResampler.get(), someInputSamples);
		if (someMaxSamples <= 0)
			return;
		const std::size_t someMaxBytes = static_cast<std::size_t>(someMaxSamples) * OUTPUT_CHANNELS * OUTPUT_BYTES_PER_SAMPLE;
		if (mySoundBuffer.size() < someMaxBytes)
			mySoundBuffer.resize(someMaxBytes);
		std::uint8_t* someOutput = mySoundBuffer.data();
		const int someSamples = swr_convert(myResampler.get(), &someOutput, someMaxSamples,
			aFrame ? const_cast<const std::uint8_t**>(aFrame->extended_data) : nullptr, someInputSamples);
		if (someSamples <= 0)
			return;
		if (!myIsWaveOutCreated)
		{
			const WAVEFORMATEX someFormat = { WAVE_FORMAT_PCM, OUTPUT_CHANNELS, OUTPUT_RATE_HZ,
				OUTPUT_CHANNELS * OUTPUT_RATE_HZ * OUTPUT_BYTES_PER_SAMPLE, OUTPUT_CHANNELS * OUTPUT_BYTES_PER_SAMPLE, 8 * OUTPUT_BYTES_PER_SAMPLE, 0 };
			myWaveOut = std::make_unique<WaveOutRing>(someFormat, WAVE_OUT_BUFFER_COUNT, WAVE_OUT_BUFFER_BYTES);
			myIsWaveOutCreated = true;
		}
		const int someBytes = someSamples * OUTPUT_CHANNELS * OUTPUT_BYTES_PER_SAMPLE;
		myWaveOut->Write(mySoundBuffer.data(), someBytes);
		myQueuedSoundBytes += static_cast<std::uint64_t>(someBytes);
	}

	void VideoPlayer::StartDraining()
	{
		myIsDraining = true;
		avcodec_send_packet(myVideoContext.get(), nullptr);
		if (mySoundContext)
		{
			DecodeSoundPacket(nullptr);
			QueueSound(nullptr);
		}
	}

	double VideoPlayer::ChooseFrameRate(const AVRational& aRealRate, const AVRational& anAverageRate, const AVRational& aCodecTimeBase)
	{
		const AVRational someInverse = { aCodecTimeBase.den, aCodecTimeBase.num };
		for (const AVRational& someRate : { aRealRate, anAverageRate, someInverse })
		{
			if (ToDouble(someRate) >= MIN_FRAME_RATE)
				return ToDouble(someRate);
		}
		return DEFAULT_FRAME_RATE;
	}

	double VideoPlayer::GetFrameRate() const
	{
		if (!myIsOpen)
			return DEFAULT_FRAME_RATE;
		const AVStream* someStream = myFormat->streams[myVideoStreamIndex];
		return ChooseFrameRate(someStream->r_frame_rate, someStream->avg_frame_rate, myVideoContext->time_base);
	}

	void VideoPlayer::Rewind()
	{
		if (!myIsOpen)
			return;
		av_seek_frame(myFormat.get(), myVideoStreamIndex, 0, AVSEEK_FLAG_BACKWARD);
		avcodec_flush_buffers(myVideoContext.get());
		if (mySoundContext)
			avcodec_flush_buffers(mySoundContext.get());
		myIsDraining = false;
		myLastReadResult = 0;
	}

	// ---------------------------------------------------------------- pictures

	std::uint32_t VideoPlayer::GetFrameWidth() const
	{
		return myHasPicture ? static_cast<std::uint32_t>(myVideoFrame->width) : 0;
	}

	std::uint32_t VideoPlayer::GetFrameHeight() const
	{
		return myHasPicture ? static_cast<std::uint32_t>(myVideoFrame->height) : 0;
	}

	bool VideoPlayer::CopyFrameTo(std::uint8_t* aMapped, std::uint32_t aRowPitch, std::uint32_t aTextureWidth, std::uint32_t aTextureHeight)
	{
		if (!myHasPicture || !aMapped || aRowPitch < aTextureWidth * PICTURE_BYTES_PER_PIXEL)
			return false;
		myScaler.reset(sws_getCachedContext(myScaler.release(), myVideoFrame->width, myVideoFrame->height,
			static_cast<AVPixelFormat>(myVideoFrame->format), myWidth, myHeight, PICTURE_FORMAT, SWS_BILINEAR, nullptr, nullptr, nullptr));
		if (!myScaler)
			return false;
		const int someRows = sws_scale(myScaler.get(), myVideoFrame->data, myVideoFrame->linesize, 0, myVideoFrame->height, myRgbaFrame->data, myRgbaFrame->linesize);
		if (someRows <= 0)
			return false;

		const std::size_t someRowBytes = static_cast<std::size_t>(aTextureWidth) * PICTURE_BYTES_PER_PIXEL;
		const std::size_t someCopiedBytes = static_cast<std::size_t>(std::min<std::uint32_t>(static_cast<std::uint32_t>(myWidth), aTextureWidth)) * PICTURE_BYTES_PER_PIXEL;
		const std::uint32_t someCopiedRows = std::min<std::uint32_t>(static_cast<std::uint32_t>(myHeight), aTextureHeight);
		for (std::uint32_t someRow = 0; someRow < aTextureHeight; ++someRow)
		{
			std::uint8_t* someTarget = aMapped + static_cast<std::size_t>(someRow) * aRowPitch;
			std::size_t someDone = 0;
			if (someRow < someCopiedRows)
			{
				std::memcpy(someTarget, myRgbaFrame->data[0] + static_cast<std::size_t>(someRow) * static_cast<std::size_t>(myRgbaFrame->linesize[0]), someCopiedBytes);
				someDone = someCopiedBytes;
			}
			std::memset(someTarget + someDone, 0, someRowBytes - someDone);
		}
		++myCopiedFrameCount;
		return true;
	}
}
