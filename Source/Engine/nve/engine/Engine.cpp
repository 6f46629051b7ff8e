#include "engine/Engine.h"

#include "engine/DrawCalls.h"
#include "filewatcher/FileWatcher.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/TextureManager.h"
#include "model/ModelFactory.h"
#include "text/FontManager.h"
#include "settings/DebugFeature.h"
#include "win32/Win32.h"
#include "window/WindowsWindow.h"

#include <algorithm>
#include <chrono>

namespace Norv
{
	Engine::Engine()
		: myCreateParameters(GetEngineCreateParameters())
		, myCallbacks(std::make_unique<EngineCallbacks>())
	{
		if (myCreateParameters.myStartInFullscreen || myCreateParameters.myStartMaximized)
		{
			const Vector2<unsigned int> someScreen(static_cast<unsigned int>(GetSystemMetrics(SM_CXSCREEN)), static_cast<unsigned int>(GetSystemMetrics(SM_CYSCREEN)));
			myCreateParameters.myWindowSize = someScreen;
			myCreateParameters.myRenderSize = someScreen;
		}
		if (myCreateParameters.mySecondCallback)
			myCallbacks->myFirstCallbacks.push_back(myCreateParameters.mySecondCallback);
		if (myCreateParameters.myThirdCallback)
			myCallbacks->mySecondCallbacks.push_back(myCreateParameters.myThirdCallback);
	}

	Engine::~Engine() = default;

	bool Engine::Start()
	{
		if (ourInstance != nullptr)
			return false;
		ourInstance = new Engine();
		return ourInstance->Init();
	}

	void Engine::DestroyInstance()
	{
		// Models hold GPU buffers: the factory goes before the device.
		ModelFactory::DestroyInstance();
		delete ourInstance;
		ourInstance = nullptr;
	}

	bool Engine::Init()
	{
		myFileWatcher = std::make_unique<FileWatcher>(IsDebugFeatureOn(ToMask(DebugFeature::Filewatcher)));

		myWindow = std::make_unique<WindowsWindow>();
		if (!myWindow->Init(myCreateParameters, myCreateParameters.myInstanceHandle, myCreateParameters.myWindowHandle))
			return false;

		myDX11 = std::make_unique<DX11>();
		if (!myDX11->Init(myWindow.get()))
		{
			myWindow->Destroy();
			return false;
		}

		// The built-in textures come first: the graphics object asks for its default
		// textures while starting, and a missing one is the placeholder image.
		myTextureManager = std::make_unique<TextureManager>(myFileWatcher.get());
		myTextureManager->Init();
		myGraphicsEngine = std::make_unique<GraphicsEngine>();
		if (!myGraphicsEngine->Init())
		{
			myWindow->Destroy();
			return false;
		}

		myFontManager = std::make_unique<FontManager>();
		myFontManager->Init();

		UpdateAspectRatio();
		myStartTime = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
		return true;
	}

	bool Engine::BeginFrame()
	{
		if (myIsQuitting)
			return false;

		MSG someMessage{};
		while (PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE))
		{
			TranslateMessage(&someMessage);
			DispatchMessageW(&someMessage);
			if (someMessage.message == WM_QUIT)
			{
				myIsQuitting = true;
				return false;
			}
		}

		myFileWatcher->FlushChanges();
		myDX11->Clear(myCreateParameters.myClearColor);
		myGraphicsEngine->GetGraphicsStateStack()->BeginFrame();
		DrawCalls::BeginFrame();
		return true;
	}

	void Engine::EndFrame()
	{
		myTimer.Tick([this]
		{
			myDeltaTime = static_cast<float>(static_cast<double>(myTimer.GetElapsedTicks()) / static_cast<double>(Timer::TICKS_PER_SECOND));
			myTotalTime += myDeltaTime;
		});

		myDX11->Present(myCreateParameters.myVsync);

		if (myIsResizePending)
		{
			Resize();
			myIsResizePending = false;
		}
	}

	void Engine::Resize()
	{
		myDX11->Resize();
		if (DX11::ourBackBuffer)
			DX11::ourBackBuffer->SetAsActiveTarget();

		// A minimised window has no client area: keep rendering for the last real size.
		const Vector2<unsigned int> someBackBufferSize = myDX11->GetBackBufferSize();
		if (someBackBufferSize.x != 0 && someBackBufferSize.y != 0)
			myCreateParameters.myRenderSize = someBackBufferSize;

		RECT someOuter{};
		if (GetWindowRect(myWindow->GetHWND(), &someOuter))
			myCreateParameters.myWindowSize = { static_cast<unsigned int>(someOuter.right - someOuter.left), static_cast<unsigned int>(someOuter.bottom - someOuter.top) };
		UpdateAspectRatio();
	}

	void Engine::UpdateAspectRatio()
	{
		const float someWidth = static_cast<float>(myCreateParameters.myRenderSize.x);
		const float someHeight = static_cast<float>(myCreateParameters.myRenderSize.y);
		const float someLong = std::max(someWidth, someHeight);
		const float someShort = std::min(someWidth, someHeight);
		if (someShort <= 0.0f)
			return; // no area: the last ratio stays
		myAspectRatio = someLong / someShort;
		myInverseAspectRatio = someShort / someLong;
		myAspectFactor = { 1.0f, myAspectRatio };
		myInverseAspectFactor = { 1.0f, myInverseAspectRatio };
	}

	bool Engine::IsDebugFeatureOn(std::uint32_t aMask) const
	{
		const std::uint32_t someAll = ToMask(DebugFeature::All);
		if ((myCreateParameters.myDebugFeatures & someAll) == someAll)
			return true;
		return (myCreateParameters.myDebugFeatures & aMask) != 0;
	}
}
