#pragma once
// The splash sequence that opens the game: three pictures, each fading in, held
// and fading out; Confirm, Jump or a press of Escape skips to the main menu.
#include "shell/IStates.h"

#include "Math/Vector.h"
#include "drawers/SpriteData.h"

#include <array>
#include <cstdint>

class IntroState : public IStates
{
public:
	static constexpr std::array<const char*, 3> PICTURE_PATHS = { "../Source/Game/data/UI/norv-splash.png", "../Source/Game/data/Logos/Studio_Logo_V2.png",
		"../Source/Game/data/Logos/NORV LOGO EXP/LOGO_Invert.png" };
	static constexpr float PHASE_LENGTH = 3.0f;     // seconds from a picture's start to its fade-out
	static constexpr float THIRD_PICTURE_SCALE = 1.0f / 3.0f;

	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override;
	void Render(InputMapper& anInput) override;
	void OnResize() override;

	std::uint32_t GetPhase() const { return myPhase; }
	float GetAlpha() const { return myAlpha; }
	// The picture shown; null before the first update and after Exit.
	const Norv::Sprite2DInstanceData* GetCurrentPicture() const { return myCurrentInstance; }
	const Norv::Sprite2DInstanceData& GetPicture(std::size_t anIndex) const { return myInstances[anIndex]; }

private:
	// One picture's fade in, hold and fade out; true once it has faded out.
	bool UpdateFade(float aDeltaTime);

	std::array<Norv::SpriteSharedData, 3> mySharedData;
	std::array<Norv::Sprite2DInstanceData, 3> myInstances;
	Norv::Sprite2DInstanceData* myCurrentInstance = nullptr;
	Norv::SpriteSharedData* myCurrentSharedData = nullptr;
	std::uint32_t myPhase = 0;
	Norv::Vector2<float> myWindowSize;
	float myElapsed = 0.0f;
	float myAlpha = 0.0f;
	std::uint32_t myPictureIndex = 0;
};
