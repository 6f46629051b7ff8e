#include "shell/LoadingScreen.h"

#include "shell/widgets/MenuSprites.h"

#include "engine/Engine.h"
#include "graphics/Texture.h"
#include "text/FontManager.h"
#include "text/Text.h"

namespace
{
	std::unique_ptr<LoadingScreen>& Instance()
	{
		static std::unique_ptr<LoadingScreen> ourInstance;
		return ourInstance;
	}
}

LoadingScreen& LoadingScreen::GetInstance()
{
	std::unique_ptr<LoadingScreen>& someInstance = Instance();
	if (!someInstance)
		someInstance.reset(new LoadingScreen());
	return *someInstance;
}

LoadingScreen* LoadingScreen::FindInstance()
{
	return Instance().get();
}

void LoadingScreen::DestroyInstance()
{
	Instance().reset();
}

LoadingScreen::LoadingScreen()
	: myRandom(std::random_device{}())
{
	myPictureData.myColorTexture = Menu::LoadPicture(PICTURE_PATH);
	myCaptionData.myColorTexture = Menu::LoadTexture(CAPTION_PATH);
	if (myCaptionData.myColorTexture)
		myCaption.mySize = Norv::Vector2<float>(Norv::Texture::CalculateTextureSize(myCaptionData.myColorTexture->myView.Get()));
	if (const Norv::Engine* someEngine = Norv::Engine::GetInstance(); someEngine && someEngine->GetFontManager())
		myTipFont = someEngine->GetFontManager()->LoadFont(TIP_FONT_PATH, TIP_FONT_SIZE, 0);
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	myPicture.mySize = someSize;
	myPicture.myPosition = someSize * 0.5f;
	myCaption.myPosition = { someSize.x * 0.5f, someSize.y * CAPTION_Y };
}

LoadingScreen::~LoadingScreen() = default;

std::uint32_t LoadingScreen::PickTip()
{
	constexpr std::uint64_t COUNT = TIPS.size();
	constexpr std::uint32_t THRESHOLD = static_cast<std::uint32_t>((std::uint64_t{ 1 } << 32) % COUNT);
	std::uint64_t someProduct = static_cast<std::uint64_t>(myRandom()) * COUNT;
	while (static_cast<std::uint32_t>(someProduct) < THRESHOLD)
		someProduct = static_cast<std::uint64_t>(myRandom()) * COUNT;
	return static_cast<std::uint32_t>(someProduct >> 32);
}

void LoadingScreen::Show(const Norv::Color& aColor)
{
	myCurrentTip = PickTip();
	myAlpha = 1.0f;
	myIsVisible = true;
	myIsFading = false;
	myPicture.myColor = aColor;
}

void LoadingScreen::StartFadeOut()
{
	myAlpha = 1.0f;
	myIsVisible = true;
	myIsFading = true;
}

void LoadingScreen::Render()
{
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	Render(someEngine ? someEngine->GetDeltaTime() : 0.0f);
}

void LoadingScreen::LayOut()
{
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	myPicture.mySize = someSize;
	myPicture.myPosition = someSize * 0.5f;
	const float someScale = someSize.x / Menu::REFERENCE_WIDTH;
	myCaption.mySizeScale = { someScale, someScale };
	myCaption.myPosition = { someSize.x * 0.5f, someSize.y * CAPTION_Y };
}

void LoadingScreen::Render(float aDeltaTime)
{
	if (!myIsVisible)
		return;
	LayOut();
	if (myIsFading)
	{
		myAlpha -= aDeltaTime * FADE_SPEED;
		if (myAlpha <= 0.0f)
		{
			// This frame still draws, at alpha 0.
			myAlpha = 0.0f;
			myIsFading = false;
			myIsVisible = false;
		}
	}
	myPicture.myColor.a = myAlpha;
	myCaption.myColor.a = myAlpha;
	DrawSpriteInstance(myPictureData, myPicture);
	DrawSpriteInstance(myCaptionData, myCaption);

	if (!myTipFont)
		return;
	Norv::Text someTip(myTipFont);
	someTip.SetText(TIPS[myCurrentTip]);
	someTip.SetColor({ 1.0f, 1.0f, 1.0f, myAlpha });
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	someTip.SetPosition({ someSize.x * 0.5f - someTip.GetWidth() * 0.5f, someSize.y * TIP_Y });
	someTip.Render();
}
