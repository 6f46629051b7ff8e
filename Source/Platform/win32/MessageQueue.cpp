// The message queue: posting, peeking, dispatching and sending, and the default
// window procedure.
#include "win32/Internal.h"

#include <deque>

namespace
{
	struct QueueState
	{
		std::deque<MSG> myMessages;
		bool myIsQuitPosted = false;
		int myExitCode = 0;
	};

	QueueState& Queue()
	{
		static QueueState ourQueue;
		return ourQueue;
	}

	LRESULT CallProcedure(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
	{
		HWND someWindow = Platform::impl::FindLiveWindow(aWindow);
		if (someWindow == nullptr)
			return 0;
		return someWindow->myClass->myProcedure(someWindow, aMessage, aWParam, aLParam);
	}
}

namespace Platform::impl
{
	void PostToQueue(const MSG& aMessage)
	{
		Queue().myMessages.push_back(aMessage);
	}
}

LRESULT DefWindowProcW(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
{
	HWND someWindow = Platform::impl::FindLiveWindow(aWindow);
	if (someWindow == nullptr)
		return 0;
	switch (aMessage)
	{
	case WM_CLOSE:
		DestroyWindow(someWindow);
		return 0;
	case WM_SETICON:
	{
		// SDL keeps one icon per window: the big and the small one are the same here.
		if (aWParam != ICON_BIG && aWParam != ICON_SMALL)
			return 0;
		HICON somePrevious = someWindow->myIcon;
		someWindow->myIcon = reinterpret_cast<HICON>(aLParam);
		if (SDL_Surface* someSurface = Platform::impl::GetIconSurface(someWindow->myIcon))
			SDL_SetWindowIcon(someWindow->mySdlWindow, someSurface);
		return reinterpret_cast<LRESULT>(somePrevious);
	}
	default:
		return 0;
	}
}

LRESULT SendMessageW(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
{
	return CallProcedure(aWindow, aMessage, aWParam, aLParam);
}

BOOL PostMessageW(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
{
	if (aWindow != nullptr && Platform::impl::FindLiveWindow(aWindow) == nullptr)
		return FALSE;
	Platform::impl::PostToQueue({ aWindow, aMessage, aWParam, aLParam, 0, { 0, 0 } });
	return TRUE;
}

void PostQuitMessage(int anExitCode)
{
	Queue().myIsQuitPosted = true;
	Queue().myExitCode = anExitCode;
}

BOOL PeekMessageW(MSG* aMessage, HWND, UINT, UINT, UINT aRemoveFlags)
{
	if (aMessage == nullptr)
		return FALSE;
	if (SDL_WasInit(SDL_INIT_EVENTS))
	{
		SDL_Event someEvent;
		while (SDL_PollEvent(&someEvent))
			Platform::impl::TranslateEvent(someEvent);
	}
	QueueState& someQueue = Queue();
	if (!someQueue.myMessages.empty())
	{
		*aMessage = someQueue.myMessages.front();
		if (aRemoveFlags & PM_REMOVE)
			someQueue.myMessages.pop_front();
		return TRUE;
	}
	if (someQueue.myIsQuitPosted)
	{
		*aMessage = { nullptr, WM_QUIT, static_cast<WPARAM>(someQueue.myExitCode), 0, 0, { 0, 0 } };
		if (aRemoveFlags & PM_REMOVE)
			someQueue.myIsQuitPosted = false;
		return TRUE;
	}
	return FALSE;
}

BOOL TranslateMessage(const MSG*)
{
	return FALSE;
}

LRESULT DispatchMessageW(const MSG* aMessage)
{
	if (aMessage == nullptr || aMessage->hwnd == nullptr)
		return 0;
	return CallProcedure(aMessage->hwnd, aMessage->message, aMessage->wParam, aMessage->lParam);
}
