#include "graphics/TextureManager.h"

#include "engine/Engine.h"
#include "filewatcher/FileWatcher.h"
#include "graphics/DX11.h"
#include "graphics/TextureLoading.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <vector>

namespace Norv
{
	namespace
	{
		constexpr unsigned PLACEHOLDER_SIZE_PIXELS = 16;
		constexpr unsigned SMALL_BUILT_IN_SIZE_PIXELS = 4;
		// What the size fields of the placeholder and "WhiteSquare" claim.
		constexpr unsigned BUILT_IN_REPORTED_SIZE_PIXELS = 512;
		constexpr float BUILT_IN_NORMALIZED_SIZE = 0.3f;
		constexpr unsigned BYTES_PER_PIXEL = 4;

		using Rgba = std::array<std::uint8_t, BYTES_PER_PIXEL>;

		// A one-mip R8G8B8A8_UNORM texture of aSize x aSize pixels from aPixelAt(x, y).
		template <typename PixelFunction>
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> CreateBuiltIn(unsigned aSize, PixelFunction aPixelAt)
		{
			std::vector<std::uint8_t> somePixels;
			somePixels.reserve(static_cast<size_t>(aSize) * aSize * BYTES_PER_PIXEL);
			for (unsigned someY = 0; someY < aSize; ++someY)
				for (unsigned someX = 0; someX < aSize; ++someX)
				{
					const Rgba somePixel = aPixelAt(someX, someY);
					somePixels.insert(somePixels.end(), somePixel.begin(), somePixel.end());
				}
			D3D11_TEXTURE2D_DESC someDesc{};
			someDesc.Width = aSize;
			someDesc.Height = aSize;
			someDesc.MipLevels = 1;
			someDesc.ArraySize = 1;
			someDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
			someDesc.SampleDesc = { 1, 0 };
			someDesc.Usage = D3D11_USAGE_DEFAULT;
			someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
			const D3D11_SUBRESOURCE_DATA someData{ somePixels.data(), aSize * BYTES_PER_PIXEL, 0 };
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
			Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
			if (DX11::ourDevice && SUCCEEDED(DX11::ourDevice->CreateTexture2D(&someDesc, &someData, someTexture.GetAddressOf())))
				DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf());
			return someView;
		}

		// Sizes are normalised by the engine's render height, or before there is an
		// engine by the one it will start with.
		float RenderHeight()
		{
			const Engine* someEngine = Engine::GetInstance();
			return static_cast<float>(someEngine ? someEngine->GetRenderSize().y : GetEngineCreateParameters().myRenderSize.y);
		}

		bool IsRegularFile(const std::string& aPath)
		{
			std::error_code someError;
			return !aPath.empty() && std::filesystem::is_regular_file(aPath, someError);
		}
	}

	TextureManager::TextureManager(FileWatcher* aFileWatcher)
		: myFileWatcher(aFileWatcher)
	{
		ourCurrent = this;
	}

	TextureManager::~TextureManager()
	{
		if (ourCurrent == this)
			ourCurrent = nullptr;
		myWhiteSquare.reset();
		myPlaceholderView.Reset();
		myFlatNormalView.Reset();
		myCache.clear();
	}

	void TextureManager::Init()
	{
		myPlaceholderView = CreateBuiltIn(PLACEHOLDER_SIZE_PIXELS, [](unsigned aX, unsigned aY) {
			return (aX + aY) % 2 == 1 ? Rgba{ 255, 0, 255, 255 } : Rgba{ 0, 0, 0, 255 };
		});

		myWhiteSquare = std::make_unique<Texture>();
		myWhiteSquare->myName = "WhiteSquare";
		myWhiteSquare->myView = CreateBuiltIn(SMALL_BUILT_IN_SIZE_PIXELS, [](unsigned, unsigned) { return Rgba{ 255, 255, 255, 255 }; });
		myWhiteSquare->myNormalizedSize = { BUILT_IN_NORMALIZED_SIZE, BUILT_IN_NORMALIZED_SIZE };
		myWhiteSquare->mySize = { BUILT_IN_REPORTED_SIZE_PIXELS, BUILT_IN_REPORTED_SIZE_PIXELS };

		myFlatNormalView = CreateBuiltIn(SMALL_BUILT_IN_SIZE_PIXELS, [](unsigned, unsigned) { return Rgba{ 128, 128, 255, 255 }; });
	}

	Texture* TextureManager::GetTexture(const char* aPath, std::uint32_t aMode, bool aForceReload)
	{
		if (Texture* someTexture = TryGetTexture(aPath, aMode, aForceReload))
			return someTexture;

		// A failed reload keeps the record users hold, with its last good image.
		std::unique_ptr<Texture>& someEntry = myCache[MakeKey(aPath, aMode)];
		if (someEntry)
			return someEntry.get();

		const std::string somePath = aPath ? aPath : "";
		if (!IsRegularFile(Settings::ResolveAssetPath(somePath)))
			std::cerr << "Texture \"" << somePath << "\" not found\n";
		// The placeholder keeps the requested path and mode, so that once the file
		// is mended the watcher's reload fills this same record.
		someEntry = std::make_unique<Texture>();
		someEntry->myName = somePath;
		someEntry->myPath = somePath;
		someEntry->mySrgbMode = aMode;
		someEntry->myView = myPlaceholderView;
		someEntry->myNormalizedSize = { BUILT_IN_NORMALIZED_SIZE, BUILT_IN_NORMALIZED_SIZE };
		someEntry->mySize = { BUILT_IN_REPORTED_SIZE_PIXELS, BUILT_IN_REPORTED_SIZE_PIXELS };
		someEntry->myIsFailed = true;
		return someEntry.get();
	}

	Texture* TextureManager::TryGetTexture(const char* aPath, std::uint32_t aMode, bool aForceReload)
	{
		const std::string someKey = MakeKey(aPath, aMode);
		const auto someFound = myCache.find(someKey);
		if (someFound != myCache.end() && !aForceReload)
			return someFound->second.get();

		const std::string someResolved = Settings::ResolveAssetPath(aPath ? aPath : "");
		if (!IsRegularFile(someResolved))
			return nullptr;
		if (someFound == myCache.end() && myFileWatcher)
			myFileWatcher->WatchFileChange(someResolved, [this, someKey](const std::string&) { OnTextureFileChanged(someKey); });

		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView = impl::LoadTextureView(DX11::ourDevice, DX11::ourContext, someResolved, aMode, DX11::IsMainThread());
		if (!someView)
			return nullptr;

		std::unique_ptr<Texture>& someEntry = myCache[someKey];
		if (!someEntry)
			someEntry = std::make_unique<Texture>();
		someEntry->myName = someResolved;
		someEntry->myPath = aPath;
		someEntry->myView = std::move(someView);
		someEntry->mySrgbMode = aMode;
		someEntry->myIsFailed = false;
		UpdateSize(*someEntry);
		return someEntry.get();
	}

	void TextureManager::OnTextureFileChanged(std::string aKey)
	{
		const auto someFound = myCache.find(aKey);
		if (someFound == myCache.end())
			return;
		// Copied: the reload rewrites the record's fields.
		const std::string somePath = someFound->second->myPath;
		GetTexture(somePath.c_str(), someFound->second->mySrgbMode, true);
	}

	std::string TextureManager::MakeKey(const char* aPath, std::uint32_t aMode)
	{
		std::string someKey = aPath ? aPath : "";
		if (aMode == TEXTURE_MODE_FORCE_SRGB)
			someKey += "#SRGB";
		else if (aMode == TEXTURE_MODE_IGNORE_SRGB)
			someKey += "#NO_SRGB";
		return someKey;
	}

	void TextureManager::UpdateSize(Texture& aTexture)
	{
		aTexture.mySize = Texture::CalculateTextureSize(aTexture.myView.Get());
		const float someHeight = RenderHeight();
		aTexture.myNormalizedSize = { aTexture.mySize.x / someHeight, aTexture.mySize.y / someHeight };
	}
}
