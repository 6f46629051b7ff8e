#include "d3d11/GlContext.h"

#include "win32/WindowHandle.h"

#include <SDL2/SDL.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstdio>

namespace Platform::impl
{
	namespace
	{
		constexpr int GL_MAJOR_VERSION_NEEDED = 4;
		constexpr int GL_MINOR_VERSION_NEEDED = 5;

		thread_local GlContext* ourCurrent = nullptr;

		bool CreateSdlContext(SDL_Window* aWindow, void*& aContext)
		{
			SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, GL_MAJOR_VERSION_NEEDED);
			SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, GL_MINOR_VERSION_NEEDED);
			SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
			aContext = SDL_GL_CreateContext(aWindow);
			if (!aContext)
				std::fprintf(stderr, "d3d11: no OpenGL %d.%d context on the window: %s\n", GL_MAJOR_VERSION_NEEDED, GL_MINOR_VERSION_NEEDED, SDL_GetError());
			return aContext != nullptr;
		}

		bool CreateEglSurfacelessContext(void*& aDisplay, void*& aContext)
		{
			EGLDisplay someDisplay = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
			EGLint someMajor = 0, someMinor = 0;
			if (someDisplay == EGL_NO_DISPLAY || !eglInitialize(someDisplay, &someMajor, &someMinor) || !eglBindAPI(EGL_OPENGL_API))
			{
				std::fprintf(stderr, "d3d11: no EGL surfaceless display (error 0x%x)\n", eglGetError());
				return false;
			}
			const EGLint someAttributes[] = {
				EGL_CONTEXT_MAJOR_VERSION, GL_MAJOR_VERSION_NEEDED,
				EGL_CONTEXT_MINOR_VERSION, GL_MINOR_VERSION_NEEDED,
				EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
				EGL_NONE };
			EGLContext someContext = eglCreateContext(someDisplay, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, someAttributes);
			if (someContext == EGL_NO_CONTEXT)
			{
				std::fprintf(stderr, "d3d11: no OpenGL %d.%d EGL context (error 0x%x)\n", GL_MAJOR_VERSION_NEEDED, GL_MINOR_VERSION_NEEDED, eglGetError());
				return false;
			}
			aDisplay = someDisplay;
			aContext = someContext;
			return true;
		}
	}

	std::unique_ptr<GlContext> GlContext::Create(HWND aWindow)
	{
		std::unique_ptr<GlContext> someContext(new GlContext());
		someContext->myWindow = Platform::HoldSdlWindow(aWindow);
		if (someContext->myWindow)
			someContext->myHandle = aWindow;
		const bool someIsMade = someContext->myWindow ? CreateSdlContext(someContext->myWindow, someContext->mySdlContext)
			: CreateEglSurfacelessContext(someContext->myEglDisplay, someContext->myEglContext);
		if (!someIsMade)
			return nullptr;
		ourCurrent = nullptr;
		someContext->MakeCurrent();
		if (!epoxy_has_gl_extension("GL_ARB_gl_spirv"))
		{
			std::fprintf(stderr, "d3d11: the OpenGL driver cannot load SPIR-V shaders (GL_ARB_gl_spirv)\n");
			return nullptr;
		}
		someContext->SetUpConventions();
		return someContext;
	}

	GlContext::~GlContext()
	{
		if (ourCurrent == this)
			ourCurrent = nullptr;
		if (mySdlContext)
		{
			SDL_GL_MakeCurrent(myWindow, nullptr);
			SDL_GL_DeleteContext(mySdlContext);
		}
		Platform::ReleaseSdlWindow(myHandle);
		if (myEglContext)
		{
			eglMakeCurrent(myEglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
			eglDestroyContext(myEglDisplay, myEglContext);
		}
	}

	void GlContext::MakeCurrent()
	{
		if (ourCurrent == this)
			return;
		if (mySdlContext)
			SDL_GL_MakeCurrent(myWindow, mySdlContext);
		else
			eglMakeCurrent(myEglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, myEglContext);
		ourCurrent = this;
	}

	bool GlContext::GetDrawableSize(unsigned& aWidth, unsigned& aHeight) const
	{
		if (!myWindow)
			return false;
		int someWidth = 0, someHeight = 0;
		SDL_GL_GetDrawableSize(myWindow, &someWidth, &someHeight);
		aWidth = static_cast<unsigned>(someWidth);
		aHeight = static_cast<unsigned>(someHeight);
		return true;
	}

	void GlContext::SwapWindow(int aSyncInterval)
	{
		if (!myWindow)
		{
			glFlush();
			return;
		}
		if (aSyncInterval >= 0)
			SDL_GL_SetSwapInterval(aSyncInterval);
		SDL_GL_SwapWindow(myWindow);
	}

	void GlContext::SetUpConventions()
	{
		// Direct3D's: depth 0..1 and row 0 at the top of every image.
		glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
		glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
		glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
		glPixelStorei(GL_PACK_ALIGNMENT, 1);
	}
}
