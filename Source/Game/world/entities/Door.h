#pragma once
// A door to another scene: the player standing in it and pressing Up goes to the
// scene its "targetScene" names.
#include "world/entities/Entity.h"

namespace Norv
{
	class Audio;
}

class Door : public Entity
{
public:
	static constexpr Norv::Vector2<float> COLLIDER_SIZE{ 100.0f, 200.0f };
	static constexpr float STICK_UP = 0.8f; // left stick y beyond which the stick counts as Up

	Door();

	void Update(FrameContext& aContext) override;

	Norv::Audio* myOpenSound = nullptr; // the sound bank's, fetched on the first update; not owned
};
