#pragma once
// Helpers for tests that drive windows through the message queue.
#include "win32/Win32.h"

#include <SDL.h>

#include <functional>
#include <vector>

namespace NorvTest
{
	// Removes every pending message (SDL events included) without dispatching it.
	inline void DrainMessages()
	{
		MSG someMessage{};
		while (PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE))
		{
		}
	}

	// Dispatches every pending message; returns them in order.
	inline std::vector<MSG> PumpMessages()
	{
		std::vector<MSG> someMessages;
		MSG someMessage{};
		while (PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE))
		{
			someMessages.push_back(someMessage);
			DispatchMessageW(&someMessage);
		}
		return someMessages;
	}

	inline Uint32 GetSdlWindowId(HWND aWindow)
	{
		return SDL_GetWindowID(Platform::GetSdlWindow(aWindow));
	}

	// Queues a key event for the SDL window aWindowId, as the keyboard would.
	inline void PushKey(Uint32 aWindowId, bool anIsDown, SDL_Scancode aScancode, SDL_Keycode aKey, Uint16 aModifiers = KMOD_NONE, bool anIsRepeat = false)
	{
		SDL_Event someEvent{};
		someEvent.type = anIsDown ? SDL_KEYDOWN : SDL_KEYUP;
		someEvent.key.windowID = aWindowId;
		someEvent.key.state = anIsDown ? SDL_PRESSED : SDL_RELEASED;
		someEvent.key.repeat = anIsRepeat ? 1 : 0;
		someEvent.key.keysym = { aScancode, aKey, aModifiers, 0 };
		SDL_PushEvent(&someEvent);
	}

	// A window of its own class whose procedure records every message it gets
	// once created, then hands it to an optional handler or DefWindowProcW.
	class TestWindow
	{
	public:
		using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

		explicit TestWindow(DWORD aStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int aWidth = 640, int aHeight = 480)
		{
			WNDCLASSEXW someClass{};
			someClass.cbSize = sizeof(someClass);
			someClass.lpfnWndProc = &Procedure;
			someClass.lpszClassName = L"NorvTestWindow";
			RegisterClassExW(&someClass);
			myHandle = CreateWindowExW(0, L"NorvTestWindow", L"test", aStyle, 0, 0, aWidth, aHeight, nullptr, nullptr, nullptr, nullptr);
			SetWindowLongPtrW(myHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
			DrainMessages();
		}
		~TestWindow()
		{
			SetWindowLongPtrW(myHandle, GWLP_USERDATA, 0);
			DestroyWindow(myHandle);
			DrainMessages();
		}
		TestWindow(const TestWindow&) = delete;
		TestWindow& operator=(const TestWindow&) = delete;

		HWND Handle() const { return myHandle; }
		Uint32 SdlId() const { return GetSdlWindowId(myHandle); }

		// Messages of one kind received so far.
		std::vector<MSG> Received(UINT aMessage) const
		{
			std::vector<MSG> someFound;
			for (const MSG& someMessage : myReceived)
				if (someMessage.message == aMessage)
					someFound.push_back(someMessage);
			return someFound;
		}

		std::vector<MSG> myReceived;
		Handler myHandler;

	private:
		static LRESULT Procedure(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
		{
			if (auto* someSelf = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(aWindow, GWLP_USERDATA)))
			{
				someSelf->myReceived.push_back({ aWindow, aMessage, aWParam, aLParam, 0, { 0, 0 } });
				if (someSelf->myHandler)
					return someSelf->myHandler(aWindow, aMessage, aWParam, aLParam);
			}
			return DefWindowProcW(aWindow, aMessage, aWParam, aLParam);
		}

		HWND myHandle = nullptr;
	};
}
