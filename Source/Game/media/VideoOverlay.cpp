#include "media/VideoOverlay.h"

#include "engine/Engine.h"
#include "engine/EngineCreateParameters.h"

namespace
{
	Norv::Vector2<float> GetRenderSize()
	{
		const Norv::Engine* someEngine = Norv::Engine::GetInstance();
		const Norv::Vector2<unsigned int>& someSize = someEngine ? someEngine->GetRenderSize() : Norv::GetEngineCreateParameters().myRenderSize;
		return Norv::Vector2<float>(someSize);
	}
}

VideoOverlay& VideoOverlay::GetInstance()
{
	static VideoOverlay ourInstance;
	return ourInstance;
}

VideoOverlay::VideoOverlay()
	: myWindowSize(GetRenderSize()), myVideo(std::make_unique<Norv::Video>())
{
}

VideoOverlay::~VideoOverlay() = default;

void VideoOverlay::Load(const char* aPath, bool aWithSound)
{
	myVideo = std::make_unique<Norv::Video>();
	myIsActive = false;
	myVideo->Init(aPath, aWithSound);
	myWindowSize = GetRenderSize();

	// The texture may be larger than the frame: scale it so the frame's area fills the window.
	const float someVideoWidth = static_cast<float>(myVideo->GetVideoWidth());
	const float someVideoHeight = static_cast<float>(myVideo->GetVideoHeight());
	mySprite.mySize = {};
	if (someVideoWidth > 0.0f && someVideoHeight > 0.0f)
	{
		mySprite.mySize = { static_cast<float>(myVideo->GetTextureWidth()) / someVideoWidth * myWindowSize.x,
			static_cast<float>(myVideo->GetTextureHeight()) / someVideoHeight * myWindowSize.y };
	}
	mySprite.myPivot = { 0.0f, 0.0f };
	mySprite.myPosition = { 0.0f, myWindowSize.y };
	myIsActive = true;
}

void VideoOverlay::Play()
{
	myVideo->Play(false);
}

void VideoOverlay::Update()
{
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	Update(someEngine ? someEngine->GetDeltaTime() : 0.0f);
}

void VideoOverlay::Update(float aDeltaTime)
{
	if (myIsActive)
		myVideo->Update(aDeltaTime);
}

std::uint32_t VideoOverlay::GetState() const
{
	return myVideo->GetState();
}

bool VideoOverlay::IsShowingFrame() const
{
	return myIsActive && myVideo->GetState() == Norv::Video::STATE_PLAYING;
}
