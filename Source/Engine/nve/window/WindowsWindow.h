#pragma once
// The engine's one window: registers the class, creates (or adopts) the window,
// fits its client area, and runs the window procedure that offers every message
// to the game's callback first, then handles closing and resizing.
#include "Math/Vector.h"
#include "engine/EngineCreateParameters.h"
#include "kernel/WindowsTypes.h"

namespace Norv
{
	class WindowsWindow
	{
	public:
		WindowsWindow();
		~WindowsWindow();

		bool Init(const EngineCreateParameters& aParameters, HINSTANCE& anInstanceOut, HWND*& aWindowHandlePointer);
		void Destroy();

		static LRESULT WndProc(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam);

		HWND GetHWND() const { return myWindowHandle; }
		const Vector2<unsigned int>& GetWindowSize() const { return myWindowSize; }

	private:
		HWND myWindowHandle = nullptr;
		WindowProcedureCallback myWindowProcedureCallback;
		Vector2<unsigned int> myRequestedSize;
		Vector2<unsigned int> myWindowSize;
	};
}
