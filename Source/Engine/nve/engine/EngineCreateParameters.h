#pragma once
// The engine's start-up parameters: one global record with built-in defaults,
// filled from the settings file and editable by the game until the engine starts.
#include "Math/Color.h"
#include "Math/Vector.h"
#include "kernel/WindowsTypes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace Norv
{
	using WindowProcedureCallback = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

	struct EngineCreateParameters
	{
		static constexpr std::uint32_t DEFAULT_DEBUG_FEATURES = 3; // Fps and Mem

		WindowProcedureCallback myWindowProcedureCallback;
		std::function<void()> mySecondCallback;
		std::function<void()> myThirdCallback;
		Vector2<unsigned int> myWindowSize{ 1280, 720 };
		Vector2<unsigned int> myRenderSize{ 1280, 720 };
		std::uint32_t myDebugFeatures = DEFAULT_DEBUG_FEATURES;
		Color myClearColor{ 3.0f / 255.0f, 0.6f, 176.0f / 255.0f, 1.0f };
		HWND* myWindowHandle = nullptr;
		HINSTANCE myInstanceHandle = nullptr;
		std::wstring myTitle = L"Norv";
		bool myVsync = false;
		bool myStartInFullscreen = false;
		bool myStartMaximized = false;
		bool myBorderless = false;
		int myMultisampling = 0; // 0 Off, 1 Low, 2 Medium, 3 High
	};

	// The global parameters, by reference.
	EngineCreateParameters& GetEngineCreateParameters();
}
