#include "shell/Go.h"

#include "shell/GameSettings.h"
#include "shell/GameStates.h"
#include "shell/LoadingScreen.h"
#include "shell/InputMapper.h"
#include "shell/StateStack.h"
#include "world/effects/FlipbookVFX.h"

#include "engine/Engine.h"
#include "files/FilePath.h"
#include "kernel/Console.h"
#include "kernel/Kernel.h"
#include "settings/DebugFeature.h"
#include "win32/Win32.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace
{
	// The game's input actions live until the process ends; the window callback reads them.
	std::unique_ptr<InputMapper>& GameInput()
	{
		static std::unique_ptr<InputMapper> ourInput;
		return ourInput;
	}

	// Without its file the window keeps the default quietly; a file that is there but
	// gives no image (damaged, or not readable) is said, once.
	void ReportUnreadImage(HANDLE anImage, LPCWSTR aPath, const char* aWhat)
	{
		const std::filesystem::path someFile = Platform::ResolveFilePath(std::filesystem::path(Platform::WideToUtf8(aPath)));
		if (anImage == nullptr && Platform::FileExists(someFile))
		{
			std::error_code someError;
			std::fprintf(stderr, "The window %s \"%s\" could not be read; the default one is kept\n", aWhat,
				std::filesystem::absolute(someFile, someError).lexically_normal().string().c_str());
		}
	}

	void SetWindowIconAndCursor(HWND aWindow)
	{
		HANDLE someIcon = LoadImageW(nullptr, Game::WINDOW_ICON_PATH, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
		ReportUnreadImage(someIcon, Game::WINDOW_ICON_PATH, "icon");
		SendMessageW(aWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(someIcon));
		SendMessageW(aWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(someIcon));
		HANDLE someCursor = LoadImageW(nullptr, Game::WINDOW_CURSOR_PATH, IMAGE_CURSOR, Game::CURSOR_SIZE_PX, Game::CURSOR_SIZE_PX, LR_LOADFROMFILE | LR_DEFAULTSIZE);
		ReportUnreadImage(someCursor, Game::WINDOW_CURSOR_PATH, "cursor");
		SetClassLongPtrW(aWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(someCursor));
	}
}

namespace Game
{
	Session::Session() = default;

	Session::~Session()
	{
		if (!myEngine)
			return;
		// The owner first, then the states it points at.
		myStates.reset();
		myGameStates.reset();
		// Their textures and fonts go with the engine's device.
		FlipbookVFX::ReleaseWalkingPool();
		LoadingScreen::DestroyInstance();
		Norv::Engine::DestroyInstance();
	}

	int Session::Start()
	{
		if (!GameSettings::Load())
			return 1;
		Norv::EngineCreateParameters& someParameters = Norv::GetEngineCreateParameters();
		someParameters.myWindowProcedureCallback = &WindowCallback;
		// The file watcher is always on; of the settings' features only the debug drawing is kept.
		const std::uint32_t someDrawing = someParameters.myDebugFeatures & Norv::ToMask(Norv::DebugFeature::Collision);
		someParameters.myDebugFeatures = Norv::ToMask(Norv::DebugFeature::Filewatcher) | someDrawing;

		if (!Norv::Engine::Start())
		{
			std::fprintf(stderr, "The engine could not start.\n");
			Platform::PauseConsole();
			return 1;
		}
		myEngine = Norv::Engine::GetInstance();
		const HWND someWindow = *myEngine->GetHWND();
		SetWindowIconAndCursor(someWindow);

		GameInput() = std::make_unique<InputMapper>(someWindow);
		myGameStates = std::make_unique<GameStates>();
		myStates = std::make_unique<StateStack>(myGameStates->GetStateSet());
		myStates->PushInitialState(*GameInput());
		return 0;
	}

	bool Session::RunFrame(bool anIsDrawn)
	{
		if (!myEngine->BeginFrame())
			return false;
		InputMapper& someInput = *GameInput();
		const float someDeltaTime = myEngine->GetDeltaTime();
		someInput.Update(someDeltaTime);
		myStates->Update(someInput, someDeltaTime);
		if (anIsDrawn)
			myStates->Render(someInput);
		myEngine->EndFrame();
		return !myStates->ShouldQuit();
	}

	InputMapper& Session::GetInput() const
	{
		return *GameInput();
	}

	int Go()
	{
		Session someSession;
		if (const int someResult = someSession.Start(); someResult != 0)
			return someResult;
		while (someSession.RunFrame())
		{
		}
		return 0;
	}

	LRESULT WindowCallback(HWND, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
	{
		if (InputMapper* someInput = GameInput().get(); someInput && someInput->GetKeyboardAndMouse().UpdateEvents(aMessage, aWParam, aLParam))
			return 0;
		switch (aMessage)
		{
		case WM_DESTROY:
			PostQuitMessage(0);
			return 0;
		case WM_GETMINMAXINFO:
		{
			// The frame can be dragged neither larger nor smaller than the screen.
			auto* someInfo = reinterpret_cast<MINMAXINFO*>(aLParam);
			const POINT someScreen{ GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
			someInfo->ptMinTrackSize = someScreen;
			someInfo->ptMaxTrackSize = someScreen;
			return 0;
		}
		default:
			return 0;
		}
	}
}
