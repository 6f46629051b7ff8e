#pragma once
// Plays one clip into a pose of 128 joint transforms: keeps the play time,
// advances it, loops or ends, and samples with interpolation between frames.
// A plain value; copies share the clip.
#include "model/Animation.h"

#include <cstdint>
#include <memory>

namespace Norv
{
	// Player states.
	inline constexpr std::uint8_t ANIMATION_STATE_NEW = 1;
	inline constexpr std::uint8_t ANIMATION_STATE_PLAYING = 2;
	inline constexpr std::uint8_t ANIMATION_STATE_SWITCHED_AWAY = 3;
	inline constexpr std::uint8_t ANIMATION_STATE_FINISHED = 5;

	class AnimationPlayer
	{
	public:
		// Keeps the clip and copies its frame rate; time, state and flags stay.
		void SetAnimation(std::shared_ptr<Animation> aClip);
		// Advances the time when playing (looping or finishing), then samples.
		void Update(float aDeltaTime);
		// Samples the clip at the current time into the pose. Without a clip, or
		// with a clip of no frames, the pose is left as it is. Times outside the
		// clip are clamped into it, so the frame index never leaves the clip.
		void UpdatePose();

		const std::shared_ptr<Animation>& GetAnimation() const { return myAnimation; }
		const SkeletonPose& GetPose() const { return myPose; }
		float GetTime() const { return myTime; }
		void SetTime(float aTime) { myTime = aTime; }
		bool IsLooping() const { return myIsLooping; }
		void SetLooping(bool aIsLooping) { myIsLooping = aIsLooping; }
		bool IsInterpolating() const { return myIsInterpolating; }
		void SetInterpolating(bool aIsInterpolating) { myIsInterpolating = aIsInterpolating; }
		float GetFrameRate() const { return myFrameRate; }
		std::uint8_t GetState() const { return myState; }
		void SetState(std::uint8_t aState) { myState = aState; }
		float GetSpeed() const { return mySpeed; }
		void SetSpeed(float aSpeed) { mySpeed = aSpeed; }

	private:
		std::shared_ptr<Animation> myAnimation;
		float myTime = 0.0f;
		bool myIsLooping = false;
		bool myIsInterpolating = true;
		float myFrameRate = 0.0f;
		std::uint8_t myState = ANIMATION_STATE_NEW;
		SkeletonPose myPose;
		float mySpeed = 1.0f;
	};
}
