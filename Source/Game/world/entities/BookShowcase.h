#pragma once
// The page that presents a newly gained ability: showing it freezes the player and
// asks the play state for the ability page; the page hides it again. Its first
// model is the page, drawn in screen space over the level.
#include "world/entities/Entity.h"

class Player;

class BookShowcase : public Entity
{
public:
	void Update(FrameContext& aContext) override;
	void RenderUI() override;

	// For pickup kinds 1 to 4: the player stops, the page is asked for.
	void Show(int aPickupType);
	// The player moves again.
	void Hide();

	bool myIsShowing = false;
	Player* myPlayer = nullptr;

private:
	// The page model at the centre of the render area.
	void PlacePage();
};
