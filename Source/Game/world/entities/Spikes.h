#pragma once
// A bed of spikes: the player and patrolling enemies that touch it die at once.
#include "world/entities/Entity.h"

class Spikes : public Entity
{
public:
	static constexpr Norv::Vector2<float> COLLIDER_SIZE{ 65.0f, 40.0f };
	static constexpr float QUARTER_TURN = 90.0f; // degrees

	Spikes();

	// Turned by an odd number of quarter turns about x, the collider turns with the model.
	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;
};
