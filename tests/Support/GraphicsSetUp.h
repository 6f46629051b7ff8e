#pragma once
// The render core without an engine or a window: settings whose cooked folder
// holds the build's compiled shaders (or a folder of the test's choosing), a
// headless DX11 with a back buffer of the given size, the built-in textures and
// the graphics object. Readers of the back buffer get BGRA bytes, row 0 on top.
#include "Support/ExecutableFolder.h"
#include "Support/ReadBack.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/TextureManager.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace NorvTest
{
	class GraphicsSetUp
	{
	public:
		// aDataFiles (path under the data folder, bytes) are written before anything starts.
		explicit GraphicsSetUp(Norv::Vector2<unsigned int> aSize = { 320, 240 }, const std::string& aCookedFolder = NORV_COOKED_DIR,
			const std::vector<std::pair<std::string, std::string>>& aDataFiles = {})
		{
			for (const auto& [somePath, someBytes] : aDataFiles)
				myFolder.Write(std::filesystem::path("data") / somePath, someBytes);
			myFolder.WriteSettings(R"({ "assets_path": { "engine": "engine", "game": "game", "cooked": ")" + aCookedFolder
				+ R"(" }, "window_settings": { "title": "Test" } })");
			Norv::LoadSettings("Game");
			Norv::GetEngineCreateParameters().myWindowSize = aSize;
			myDX11 = std::make_unique<Norv::DX11>();
			myIsReady = myDX11->Init(nullptr);
			if (!myIsReady)
				return;
			// The engine's order: the texture manager and its built-in textures, then the graphics object.
			myTextures = std::make_unique<Norv::TextureManager>();
			myTextures->Init();
			myGraphics = std::make_unique<Norv::GraphicsEngine>();
			myIsGraphicsReady = myGraphics->Init();
		}
		~GraphicsSetUp()
		{
			myGraphics.reset();
			myTextures.reset();
			myDX11.reset();
		}

		bool IsReady() const { return myIsReady; }
		bool IsGraphicsReady() const { return myIsGraphicsReady; }
		Norv::DX11& DX11() { return *myDX11; }
		Norv::GraphicsEngine& Graphics() { return *myGraphics; }
		Norv::TextureManager& Textures() { return *myTextures; }
		const ExecutableFolder& Folder() const { return myFolder; }

		std::vector<std::uint8_t> ReadBackBuffer() const
		{
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
			Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf());
			return ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
		}

		// (r, g, b, a) of the back-buffer pixel at column aX, row aY from the top.
		std::array<std::uint8_t, 4> PixelAt(const std::vector<std::uint8_t>& aBytes, unsigned aX, unsigned aY) const
		{
			const Norv::Vector2<unsigned int> someSize = myDX11->GetBackBufferSize();
			const std::size_t someIndex = (static_cast<std::size_t>(aY) * someSize.x + aX) * 4;
			return { aBytes[someIndex + 2], aBytes[someIndex + 1], aBytes[someIndex], aBytes[someIndex + 3] };
		}

	private:
		ExecutableFolder myFolder;
		std::unique_ptr<Norv::DX11> myDX11;
		std::unique_ptr<Norv::TextureManager> myTextures;
		std::unique_ptr<Norv::GraphicsEngine> myGraphics;
		bool myIsReady = false;
		bool myIsGraphicsReady = false;
	};
}
