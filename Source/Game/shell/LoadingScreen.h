#pragma once
// The loading screen: a full-window picture with a caption and one random tip,
// drawn over every state while a level loads and faded out when it is ready.
// One process-wide instance, made on first use once the engine runs and
// destroyed with DestroyInstance before the engine shuts down.
#include "Math/Color.h"
#include "drawers/SpriteData.h"
#include "text/FontData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

class LoadingScreen
{
public:
	static constexpr const char* PICTURE_PATH = "../Source/Game/data/UI/LoadingScreen_Picture.png";
	static constexpr const char* CAPTION_PATH = "../Source/Game/data/UI/Loading_Screen_Text.png";
	static constexpr const char* TIP_FONT_PATH = "../Source/Game/data/UI/BlackCastleMF.ttf";
	static constexpr std::uint32_t TIP_FONT_SIZE = 36;
	static constexpr float FADE_SPEED = 2.0f;  // alpha per second
	static constexpr float CAPTION_Y = 0.2f;   // of the render height
	static constexpr float TIP_Y = 0.3f;       // of the render height
	static constexpr std::array<const char*, 18> TIPS = {
		"With dash, you can move diagonally, reaching new paths!",
		"Not all creatures attack, but they will if you get too close!",
		"The Bee will return to its original position after charging!",
		"Use directional attack to create new opportunities for platforming or defense!",
		"A hedgehog rolls, don't stand in its way once it does!",
		"Climb walls, its a great way to reach new heights!",
		"Follow the butterflies, they're pretty!",
		"If your path is blocked by a gate, there must be a lever around nearby",
		"You can bounce wall to wall to reach higher platforms",
		"A frog is 90% leg, 10% chaos",
		"If you hit a flower they will let you jump on them, but beware, their patience is limited...",
		"If you distrubed a creature and do not wish to fight, go away, they will probably forget about you",
		"A frog can jump up to 95 times its body length",
		"In winter, wood frogs can freeze to hibernate and come back to life when the snow melts",
		"Glass frogs have a transparent skin and we can see their organs through their belly",
		"Are you really Reading this ?",
		"Man ! This takes forever to load !",
		"Usually mushrooms do not have legs",
	};

	static LoadingScreen& GetInstance();
	// The instance if one was made; null before the first GetInstance, so that
	// drawing nothing loads nothing.
	static LoadingScreen* FindInstance();
	// Releases the instance and its GPU objects; the next GetInstance makes a new one.
	static void DestroyInstance();

	// Shows a new tip at full alpha over a picture tinted aColor (its alpha is the screen's).
	void Show(const Norv::Color& aColor);
	// Fades out over 1 / FADE_SPEED seconds from full alpha.
	void StartFadeOut();
	// Lays out for the current render size, advances the fade by the engine's frame
	// time and draws; nothing while hidden.
	void Render();
	// As Render, with the fade advanced by aDeltaTime.
	void Render(float aDeltaTime);

	bool IsVisible() const { return myIsVisible; }
	bool IsFading() const { return myIsFading; }
	float GetAlpha() const { return myAlpha; }
	std::uint32_t GetCurrentTip() const { return myCurrentTip; }
	const Norv::Sprite2DInstanceData& GetPicture() const { return myPicture; }
	const Norv::Sprite2DInstanceData& GetCaption() const { return myCaption; }

	LoadingScreen(const LoadingScreen&) = delete;
	LoadingScreen& operator=(const LoadingScreen&) = delete;
	~LoadingScreen();

private:
	LoadingScreen();
	void LayOut();
	// A uniform index below the tip count, by multiply and reject.
	std::uint32_t PickTip();

	std::mt19937 myRandom;
	bool myIsVisible = false;
	bool myIsFading = false;
	float myAlpha = 0.0f;
	Norv::SpriteSharedData myPictureData;
	Norv::Sprite2DInstanceData myPicture;
	Norv::SpriteSharedData myCaptionData;
	Norv::Sprite2DInstanceData myCaption;
	std::shared_ptr<Norv::InternalTextAndFontData> myTipFont;
	std::uint32_t myCurrentTip = 0;
};
