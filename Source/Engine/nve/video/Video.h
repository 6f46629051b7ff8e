#pragma once
// One video playing into a texture that game code draws as a sprite. Decoding,
// the upload of due frames and the queueing of the sound all happen in Update on
// the main thread; the video's clock is the frame time passed in.
#include "graphics/Texture.h"
#include "video/VideoPlayer.h"
#include "video/VideoTexture.h"

#include <cstdint>
#include <memory>

namespace Norv
{
	class Video
	{
	public:
		static constexpr std::uint32_t STATE_NONE = 0;     // never opened, or opening failed
		static constexpr std::uint32_t STATE_PLAYING = 1;  // opened, not yet at the end
		static constexpr std::uint32_t STATE_FINISHED = 2; // the stream ended at least once

		Video();
		~Video();
		Video(const Video&) = delete;
		Video& operator=(const Video&) = delete;

		// Opens aPath (a plain file path) and shows its first frame, stopped. False
		// when the video was opened before, the file cannot be played or the
		// frame texture cannot be made.
		bool Init(const char* aPath, bool aWithSound);
		// Starts (or keeps) playing; a looping video starts again after its last frame.
		void Play(bool aLoop);
		// Advances by aDeltaTime seconds and uploads every frame that fell due.
		void Update(float aDeltaTime);

		std::uint32_t GetState() const { return myState; }
		bool IsPlaying() const { return myIsPlaying; }
		std::uint32_t GetVideoWidth() const { return myVideoWidth; }
		std::uint32_t GetVideoHeight() const { return myVideoHeight; }
		std::uint32_t GetTextureWidth() const { return myTextureWidth; }
		std::uint32_t GetTextureHeight() const { return myTextureHeight; }
		const VideoTexture& GetTexture() const { return myTexture; }
		// The record sprites draw the frames with; null until Init made the texture.
		Texture* GetTextureRecord() const { return myTextureRecord.get(); }
		const VideoPlayer* GetPlayer() const { return myPlayer.get(); }

	private:
		// Decodes and uploads one frame per elapsed frame time.
		void UploadDueFrames();

		std::unique_ptr<Texture> myTextureRecord;
		std::unique_ptr<VideoPlayer> myPlayer;
		VideoTexture myTexture;
		std::uint32_t myVideoWidth = 0;
		std::uint32_t myVideoHeight = 0;
		float myTime = 0.0f;
		std::uint32_t myState = STATE_NONE;
		bool myIsPlaying = false;
		bool myIsLooping = false;
		std::uint32_t myTextureWidth = 0;
		std::uint32_t myTextureHeight = 0;
	};
}
