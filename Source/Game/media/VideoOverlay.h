#pragma once
// The cutscene overlay: one video played over the whole window, its frame drawn
// as one sprite under the interface camera (origin bottom-left, y up). The game
// uses the one overlay of GetInstance; a new Load replaces the video.
#include "Math/Vector.h"
#include "drawers/SpriteData.h"
#include "video/Video.h"

#include <cstdint>
#include <memory>

class VideoOverlay
{
public:
	static VideoOverlay& GetInstance();

	VideoOverlay();
	~VideoOverlay();
	VideoOverlay(const VideoOverlay&) = delete;
	VideoOverlay& operator=(const VideoOverlay&) = delete;

	// Replaces the video with aPath (opened with sound when aWithSound) and lays the
	// frame out over the window's render size. A file that cannot be opened (or
	// given a texture) leaves a video that never plays and is never shown.
	void Load(const char* aPath, bool aWithSound);
	// Starts the video without looping; calling it again keeps it running.
	void Play();
	// Advances the video by the engine's frame time and takes its frame as the sprite's texture.
	void Update();
	void Update(float aDeltaTime);
	// Draws the frame over the window, one sprite in a batch of its own, while
	// IsShowingFrame. The caller sets the interface camera first.
	void Render();

	// The video's state: Norv::Video::STATE_PLAYING until its end, then STATE_FINISHED;
	// STATE_NONE before a Load or when the file could not be opened.
	std::uint32_t GetState() const;
	bool IsActive() const { return myIsActive; }
	// Whether the frame is drawn: a video that opened and has not finished.
	bool IsShowingFrame() const;
	const Norv::Sprite2DInstanceData& GetFrameSprite() const { return mySprite; }
	const Norv::Video* GetVideo() const { return myVideo.get(); }

private:
	bool myIsActive = false;
	Norv::Vector2<float> myWindowSize;
	std::unique_ptr<Norv::Video> myVideo;
	Norv::Sprite2DInstanceData mySprite;
	Norv::SpriteSharedData mySpriteData;
};
