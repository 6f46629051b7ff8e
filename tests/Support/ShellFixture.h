#pragma once
// A started engine with the game's input actions over its window, menu art and
// fonts of the test's own under the names the game asks for, and helpers that
// feed keys and the mouse through the window messages frame by frame.
#include "Support/ImageEncoding.h"
#include "Support/InjectedGamepads.h"
#include "Support/Messages.h"
#include "Support/RunningEngine.h"

#include "shell/InputMapper.h"
#include "shell/LoadingScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace NorvTest
{
	constexpr float SHELL_FRAME_SECONDS = 0.016f;
	constexpr const char* SHELL_TEST_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

	class ShellTest : public ::testing::Test
	{
	protected:
		// The loading screen is made afresh on this test's engine and goes with it.
		explicit ShellTest(const Norv::EngineCreateParameters& aParameters = {}) : myEngine(aParameters) { LoadingScreen::DestroyInstance(); }
		~ShellTest() override { LoadingScreen::DestroyInstance(); }

		// A solid image of aSize under the game's name aGamePath ("../Source/Game/data/...").
		void WriteImage(const std::string& aGamePath, int aWidth, int aHeight, std::array<std::uint8_t, 4> aTexel) const
		{
			Folder().Write(GameFile(aGamePath), EncodePng(aWidth, aHeight, SolidPixels(aWidth, aHeight, aTexel)));
		}
		// A font of the system's under the game's name aGamePath.
		void WriteFont(const std::string& aGamePath) const
		{
			std::ifstream someFont(SHELL_TEST_FONT, std::ios::binary);
			std::stringstream someBytes;
			someBytes << someFont.rdbuf();
			Folder().Write(GameFile(aGamePath), someBytes.str());
		}
		void WriteMenuFont() const { WriteFont("../Source/Game/data/UI/Melon_Pop.ttf"); }
		// Where a "../" name resolves: under the executable folder's "data/", one level up.
		static std::filesystem::path GameFile(const std::string& aGamePath) { return std::filesystem::path(aGamePath.substr(3)); }
		const ExecutableFolder& Folder() const { return myEngine.Folder(); }

		void Frame(float aSeconds = SHELL_FRAME_SECONDS) { myInput.Update(aSeconds); }
		void KeyDown(WPARAM aKey) { myInput.GetKeyboardAndMouse().UpdateEvents(WM_KEYDOWN, aKey, 0); }
		void KeyUp(WPARAM aKey) { myInput.GetKeyboardAndMouse().UpdateEvents(WM_KEYUP, aKey, 0); }
		// Down for the two frames after which its action reads as pressed.
		void PressKey(WPARAM aKey)
		{
			KeyDown(aKey);
			Frame();
			Frame();
		}
		// Pressed and released before the next frame, as the window reports it
		// (SDL key events through the message queue to the mapper's keyboard), and
		// the two frames after which its action reads as pressed.
		void TapKey(WPARAM aKey)
		{
			const std::pair<WPARAM, SDL_Scancode> someKeys[] = { { VK_RETURN, SDL_SCANCODE_RETURN }, { VK_ESCAPE, SDL_SCANCODE_ESCAPE },
				{ VK_UP, SDL_SCANCODE_UP }, { VK_DOWN, SDL_SCANCODE_DOWN }, { VK_LEFT, SDL_SCANCODE_LEFT }, { VK_RIGHT, SDL_SCANCODE_RIGHT } };
			const auto someFound = std::find_if(std::begin(someKeys), std::end(someKeys), [&](const auto& aPair) { return aPair.first == aKey; });
			ASSERT_NE(someFound, std::end(someKeys)) << "no scancode for key " << aKey;
			const Uint32 someWindow = GetSdlWindowId(myEngine.Window());
			PushKey(someWindow, true, someFound->second, SDL_GetKeyFromScancode(someFound->second));
			PushKey(someWindow, false, someFound->second, SDL_GetKeyFromScancode(someFound->second));
			FeedMessages();
			Frame();
			Frame();
		}
		// The mouse moved to interface pixels (origin bottom-left), as the window
		// reports it (position and raw motion); taken in by the next frame.
		void MoveMouse(float anX, float aY)
		{
			RECT someClient{};
			GetClientRect(myEngine.Window(), &someClient);
			SDL_Event someEvent{};
			someEvent.type = SDL_MOUSEMOTION;
			someEvent.motion.windowID = GetSdlWindowId(myEngine.Window());
			someEvent.motion.x = static_cast<int>(anX);
			someEvent.motion.y = static_cast<int>(someClient.bottom - aY);
			someEvent.motion.xrel = 1;
			someEvent.motion.yrel = 1;
			SDL_PushEvent(&someEvent);
			FeedMessages();
		}
		// Every pending window message to the mapper's keyboard and mouse.
		void FeedMessages()
		{
			MSG someMessage{};
			while (PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE))
				myInput.GetKeyboardAndMouse().UpdateEvents(someMessage.message, someMessage.wParam, someMessage.lParam);
		}
		void MouseButton(bool aDown) { myInput.GetKeyboardAndMouse().UpdateEvents(aDown ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, 0); }

		// One engine frame of aMilliseconds, so that the engine's frame time is known.
		void EngineFrame(std::int64_t aMilliseconds = 16)
		{
			myCounter.AdvanceMilliseconds(aMilliseconds);
			myEngine.Get().BeginFrame();
			myEngine.Get().EndFrame();
		}

		ManualCounter myCounter;
		InjectedGamepads myPads;
		RunningEngine myEngine;
		InputMapper myInput{ myEngine.Window() };

	private:
		bool myHasDataFolder = (std::filesystem::create_directories(myEngine.Folder().Path() / "data"), true);
	};
}
