#pragma once
// The one engine object of the process: owns the window, the Direct3D 11 device
// object, the graphics object, the texture manager, the font manager and the file
// watcher, and drives the frame.
#include "Math/Vector.h"
#include "engine/EngineCreateParameters.h"
#include "engine/Timer.h"
#include "kernel/WindowsTypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace Norv
{
	class WindowsWindow;
	class DX11;
	class GraphicsEngine;
	class TextureManager;
	class FontManager;
	class FileWatcher;

	// Registration lists offered to the game; nothing invokes them.
	struct EngineCallbacks
	{
		std::vector<std::function<void()>> myFirstCallbacks;
		std::vector<std::function<void()>> mySecondCallbacks;
		std::map<std::uint32_t, std::uint32_t> myValues;
	};

	class Engine
	{
	public:
		// Creates the engine from the global create parameters and runs Init.
		// False when an engine already exists or Init fails (the engine then stays).
		static bool Start();
		static void DestroyInstance();
		static Engine* GetInstance() { return ourInstance; }

		bool BeginFrame();
		void EndFrame();

		HWND* GetHWND() const { return myCreateParameters.myWindowHandle; }
		float GetDeltaTime() const { return myDeltaTime; }
		float GetTotalTime() const { return myTotalTime; }
		GraphicsEngine* GetGraphicsEngine() const { return myGraphicsEngine.get(); }
		TextureManager* GetTextureManager() const { return myTextureManager.get(); }
		FontManager* GetFontManager() const { return myFontManager.get(); }
		FileWatcher* GetFileWatcher() const { return myFileWatcher.get(); }
		WindowsWindow* GetWindow() const { return myWindow.get(); }
		DX11* GetDX11() const { return myDX11.get(); }
		const Vector2<unsigned int>& GetRenderSize() const { return myCreateParameters.myRenderSize; }
		const Vector2<unsigned int>& GetWindowSize() const { return myCreateParameters.myWindowSize; }
		bool IsDebugFeatureOn(std::uint32_t aMask) const;
		const Timer& GetTimer() const { return myTimer; }

		void SetResizePending() { myIsResizePending = true; }
		bool IsResizePending() const { return myIsResizePending; }
		float GetAspectRatio() const { return myAspectRatio; }
		float GetInverseAspectRatio() const { return myInverseAspectRatio; }
		const Vector2<float>& GetAspectFactor() const { return myAspectFactor; }
		const Vector2<float>& GetInverseAspectFactor() const { return myInverseAspectFactor; }

	private:
		Engine();
		~Engine();
		bool Init();
		void Resize();
		void UpdateAspectRatio();

		inline static Engine* ourInstance = nullptr;

		std::unique_ptr<WindowsWindow> myWindow;
		std::unique_ptr<DX11> myDX11;
		std::unique_ptr<GraphicsEngine> myGraphicsEngine;
		std::unique_ptr<TextureManager> myTextureManager;
		std::unique_ptr<FontManager> myFontManager;
		EngineCreateParameters myCreateParameters;
		std::unique_ptr<EngineCallbacks> myCallbacks;
		std::unique_ptr<FileWatcher> myFileWatcher;
		bool myIsResizePending = false;
		float myAspectRatio = 1.0f;
		float myInverseAspectRatio = 1.0f;
		Vector2<float> myAspectFactor{ 1.0f, 1.0f };
		Vector2<float> myInverseAspectFactor{ 1.0f, 1.0f };
		std::int64_t myStartTime = 0;
		float myTotalTime = 0.0f;
		float myDeltaTime = 0.0f;
		Timer myTimer;
		bool myIsQuitting = false;
	};
}
