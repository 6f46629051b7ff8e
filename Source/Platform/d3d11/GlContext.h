#pragma once
// The OpenGL 4.5 core context behind one device: on a window's SDL window (made
// with SDL_WINDOW_OPENGL, held for the context's life), or EGL surfaceless when
// there is none.
#include "kernel/WindowsTypes.h"

#include <memory>

struct SDL_Window;

namespace Platform::impl
{
	class GlContext
	{
	public:
		// Null (with a message on standard error) when no 4.5 context can be had.
		static std::unique_ptr<GlContext> Create(HWND aWindow);
		~GlContext();
		GlContext(const GlContext&) = delete;
		GlContext& operator=(const GlContext&) = delete;

		// Cheap when already current on this thread.
		void MakeCurrent();
		SDL_Window* GetWindow() const { return myWindow; }
		// The window's drawable size; false without a window.
		bool GetDrawableSize(unsigned& aWidth, unsigned& aHeight) const;
		// Shows the window's frame (flushes without a window); a negative interval keeps the last one.
		void SwapWindow(int aSyncInterval);

	private:
		GlContext() = default;
		void SetUpConventions();

		HWND myHandle = nullptr;
		SDL_Window* myWindow = nullptr;
		void* mySdlContext = nullptr;
		void* myEglDisplay = nullptr;
		void* myEglContext = nullptr;
	};
}
