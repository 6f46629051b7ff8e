#include "graphics/GraphicsEngine.h"

#include "drawers/CustomShapeDrawer.h"
#include "drawers/LineDrawer.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/DX11.h"
#include "graphics/FullscreenEffect.h"
#include "graphics/GraphicsStateStack.h"
#include "model/ModelDrawer.h"

namespace Norv
{
	namespace
	{
		template <typename Effect>
		bool CreateEffect(std::unique_ptr<Effect>& anEffect, const char* aPixelShaderName)
		{
			anEffect = std::make_unique<Effect>();
			return anEffect->Init(aPixelShaderName);
		}
	}

	GraphicsEngine::GraphicsEngine() = default;

	GraphicsEngine::~GraphicsEngine()
	{
		if (ourCurrent == this)
			ourCurrent = nullptr;
		myPixelateEffect.reset();
		myHorizontalBlurEffect.reset();
		myVerticalBlurEffect.reset();
		myToneMapEffect.reset();
		myCopyEffect.reset();
		myGraphicsStateStack.reset();
		myLineDrawer.reset();
		myCustomShapeDrawer.reset();
		myModelDrawer.reset();
		mySpriteDrawer.reset();
	}

	bool GraphicsEngine::Init()
	{
		if (!DX11::ourBackBuffer)
			return false;
		ourCurrent = this;
		DX11::ourBackBuffer->SetAsActiveTarget();

		mySpriteDrawer = std::make_unique<SpriteDrawer>();
		mySpriteDrawer->Init();
		myModelDrawer = std::make_unique<ModelDrawer>();
		myModelDrawer->Init();
		myCustomShapeDrawer = std::make_unique<CustomShapeDrawer>();
		myCustomShapeDrawer->Init();
		myLineDrawer = std::make_unique<LineDrawer>();
		myLineDrawer->Init();

		if (!CreateEffect(myCopyEffect, "Shaders/PostprocessCopyPS") || !CreateEffect(myToneMapEffect, "Shaders/PostprocessTonemapPS")
			|| !CreateEffect(myVerticalBlurEffect, "Shaders/PostprocessGaussianV_PS") || !CreateEffect(myHorizontalBlurEffect, "Shaders/PostprocessGaussianH_PS")
			|| !CreateEffect(myPixelateEffect, "Shaders/PostprocessPixelate_PS"))
			return false;

		myGraphicsStateStack = std::make_unique<GraphicsStateStack>();
		if (!myGraphicsStateStack->Init())
			return false;
		myIsInitialized = true;
		return true;
	}
}
