#include "video/Video.h"

#include <bit>
#include <iostream>

namespace Norv
{
	namespace
	{
		// Init steps the clock by this much, so a first frame is shown only when one frame lasts no longer.
		constexpr float FIRST_STEP_SECONDS = 0.0001f;
	}

	Video::Video() = default;
	Video::~Video() = default;

	bool Video::Init(const char* aPath, bool aWithSound)
	{
		if (myPlayer)
			return false;
		myPlayer = std::make_unique<VideoPlayer>();
		if (myPlayer->Init(aPath, aWithSound) != VideoPlayer::STATUS_OK)
			return false;

		myPlayer->DecodeFirstFrame();
		myVideoWidth = myPlayer->GetFrameWidth();
		myVideoHeight = myPlayer->GetFrameHeight();
		if (myVideoWidth == 0 || myVideoHeight == 0)
		{
			std::cerr << "Video error: " << (aPath ? aPath : "") << ": no picture could be decoded" << std::endl;
			return false;
		}
		const std::uint32_t someTextureWidth = std::bit_ceil(myVideoWidth);
		const std::uint32_t someTextureHeight = std::bit_ceil(myVideoHeight);
		if (!myTexture.IsCreated())
		{
			if (!myTexture.Create(someTextureWidth, someTextureHeight))
			{
				std::cerr << "Video error: " << aPath << ": no " << someTextureWidth << " x " << someTextureHeight << " texture could be made for its frames" << std::endl;
				return false;
			}
			myTextureRecord = std::make_unique<Texture>();
			myTextureRecord->myView = myTexture.GetView();
		}
		myTextureWidth = someTextureWidth;
		myTextureHeight = someTextureHeight;
		myState = STATE_PLAYING;

		const bool someWasPlaying = myIsPlaying;
		myIsPlaying = true;
		myTime = FIRST_STEP_SECONDS;
		UploadDueFrames();
		myTime = 0.0f;
		myIsPlaying = someWasPlaying;
		return true;
	}

	void Video::Play(bool aLoop)
	{
		myIsPlaying = true;
		myIsLooping = aLoop;
	}

	void Video::Update(float aDeltaTime)
	{
		if (!myIsPlaying || myState == STATE_NONE)
			return;
		myTime += aDeltaTime;
		UploadDueFrames();
	}

	void Video::UploadDueFrames()
	{
		const float someFrameTime = static_cast<float>(1.0 / myPlayer->GetFrameRate());
		while (myTime >= someFrameTime)
		{
			if (myPlayer->DecodeNextFrame() < 0)
			{
				myState = STATE_FINISHED;
				if (myIsLooping)
					myPlayer->Rewind();
			}
			const MappedTexture someMapped = myTexture.Map();
			if (!someMapped.myData)
				break;
			myPlayer->CopyFrameTo(someMapped.myData, someMapped.myRowPitch, myTexture.GetWidth(), myTexture.GetHeight());
			myTexture.Unmap();
			myTime -= someFrameTime;
		}
	}
}
