#pragma once
// The ability page: while the play state's book showcase shows a newly found
// ability, the world is paused under it; Confirm or Back hides the showcase and
// returns to play. It draws nothing itself: the showcase draws the page.
#include "shell/states/IMenuState.h"

#include <functional>

class PauseBookCase : public IMenuState
{
public:
	// Hides the play state's showcase, when its level has one.
	using ShowcaseHider = std::function<void()>;

	void SetShowcaseHider(ShowcaseHider aHider) { myHideShowcase = std::move(aHider); }

	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override;
	void Render(InputMapper&) override {}
	void OnResize() override {}

private:
	ShowcaseHider myHideShowcase;
};
