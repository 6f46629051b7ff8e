#include "media/VideoOverlay.h"

#include "engine/Engine.h"
#include "engine/EngineCreateParameters.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"

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
	mySpriteData.myColorTexture = myVideo->GetTextureRecord();
	const Norv::Vector2<float> someTextureSize(Norv::Texture::CalculateTextureSize(myVideo->GetTexture().GetView()));
	const float someVideoWidth = static_cast<float>(myVideo->GetVideoWidth());
	const float someVideoHeight = static_cast<float>(myVideo->GetVideoHeight());
	mySprite.mySize = {};
	if (someVideoWidth > 0.0f && someVideoHeight > 0.0f)
		mySprite.mySize = { someTextureSize.x / someVideoWidth * myWindowSize.x, someTextureSize.y / someVideoHeight * myWindowSize.y };
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
	if (!myIsActive)
		return;
	myVideo->Update(aDeltaTime);
	mySpriteData.myColorTexture = myVideo->GetTextureRecord();
}

void VideoOverlay::Render()
{
	Norv::GraphicsEngine* someGraphics = Norv::GraphicsEngine::GetCurrent();
	if (!IsShowingFrame() || !someGraphics || !someGraphics->GetSpriteDrawer() || !someGraphics->GetGraphicsStateStack())
		return;
	// Clamped: a wrapping sampler would blend the texture's empty right and lower
	// parts into the frame's opposite edges.
	Norv::GraphicsStateStack& someStack = *someGraphics->GetGraphicsStateStack();
	someStack.Push();
	someStack.SetSamplerState(Norv::SamplerFilters::LINEAR, Norv::SamplerAddresses::CLAMP);
	{
		Norv::SpriteBatchScope someBatch = someGraphics->GetSpriteDrawer()->BeginBatch(mySpriteData);
		someBatch.Draw(mySprite);
	}
	someStack.Pop();
}

std::uint32_t VideoOverlay::GetState() const
{
	return myVideo->GetState();
}

bool VideoOverlay::IsShowingFrame() const
{
	return myIsActive && myVideo->GetState() == Norv::Video::STATE_PLAYING;
}
