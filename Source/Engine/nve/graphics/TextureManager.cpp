#include "graphics/TextureManager.h"

#include "engine/Engine.h"
#include "filewatcher/FileWatcher.h"
#include "graphics/DX11.h"
#include "graphics/PictureBaking.h"
#include "graphics/TextureLoading.h"
#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <cmath>
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

		// The whole pixels a picture needs drawn at aDrawn along an axis of aFile
		// pixels: within 1 .. aFile.
		unsigned PicturePixels(float aDrawn, unsigned aFile)
		{
			return std::clamp(static_cast<unsigned>(std::lround(std::min(std::fabs(aDrawn), static_cast<float>(aFile)))), 1u, std::max(1u, aFile));
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

		return StorePlaceholder(aPath, aMode);
	}

	Texture* TextureManager::StorePlaceholder(const char* aPath, std::uint32_t aMode)
	{
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
		// A picture asked for as a whole texture is loaded whole, into its record.
		if (someFound != myCache.end() && !aForceReload && !someFound->second->myIsPicture)
			return someFound->second.get();

		const std::string someResolved = Settings::ResolveAssetPath(aPath ? aPath : "");
		if (!IsRegularFile(someResolved))
			return nullptr;
		if (someFound == myCache.end())
			Watch(someResolved, someKey);

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
		someEntry->myIsPicture = false;
		UpdateSize(*someEntry);
		return someEntry.get();
	}

	Texture* TextureManager::GetPicture(const char* aPath, std::uint32_t aMode)
	{
		const std::string someKey = MakeKey(aPath, aMode);
		if (const auto someFound = myCache.find(someKey); someFound != myCache.end())
			return someFound->second.get();

		const std::string someResolved = Settings::ResolveAssetPath(aPath ? aPath : "");
		std::uint32_t someWidth = 0;
		std::uint32_t someHeight = 0;
		const impl::PictureFile someFile = IsRegularFile(someResolved) ? impl::ReadPictureSize(someResolved, someWidth, someHeight) : impl::PictureFile::NotAnImage;
		if (someFile == impl::PictureFile::NotAnImage)
			return GetTexture(aPath, aMode);
		Watch(someResolved, someKey);
		if (someFile == impl::PictureFile::Broken)
			return StorePlaceholder(aPath, aMode);

		std::unique_ptr<Texture>& someEntry = myCache[someKey];
		someEntry = std::make_unique<Texture>();
		someEntry->myName = someResolved;
		someEntry->myPath = aPath;
		someEntry->mySrgbMode = aMode;
		someEntry->myIsPicture = true;
		someEntry->mySize = { someWidth, someHeight };
		UpdateNormalizedSize(*someEntry);
		return someEntry.get();
	}

	void TextureManager::FitPicture(Texture& aTexture, Vector2<float> aDrawnSize)
	{
		if (!aTexture.myIsPicture)
			return;
		const Vector2<unsigned int> someNeeded{ PicturePixels(aDrawnSize.x, aTexture.mySize.x), PicturePixels(aDrawnSize.y, aTexture.mySize.y) };
		const Vector2<unsigned int> someHeld = aTexture.myUploadedSize;
		if (aTexture.myView && someNeeded.x <= someHeld.x && someNeeded.y <= someHeld.y)
			return;

		const Vector2<unsigned int> someSize{ std::max(someNeeded.x, someHeld.x), std::max(someNeeded.y, someHeld.y) };
		// At the file's size, its pixels without mips. Smaller, it is loaded whole with
		// its mips, drawn once at the size and let go; without a graphics object to
		// draw with, the whole texture stays.
		const bool isWhole = someSize == aTexture.mySize;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView =
			impl::LoadTextureView(DX11::ourDevice, isWhole ? nullptr : DX11::ourContext, aTexture.myName, aTexture.mySrgbMode, DX11::IsMainThread());
		if (Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someDrawn = someView && !isWhole ? impl::DrawPictureAtSize(someView.Get(), someSize) : nullptr)
			someView = std::move(someDrawn);
		if (!someView)
		{
			// Shown as the placeholder at the size the layout has used; not tried again
			// until the file changes.
			aTexture.myView = myPlaceholderView;
			aTexture.myIsFailed = true;
			aTexture.myUploadedSize = aTexture.mySize;
			return;
		}
		aTexture.myView = std::move(someView);
		aTexture.myIsFailed = false;
		aTexture.myUploadedSize = Texture::CalculateTextureSize(aTexture.myView.Get());
	}

	bool TextureManager::IsHeldAtDrawnSize(const Texture& aTexture, Vector2<float> aDrawnSize)
	{
		const Vector2<unsigned int> someHeld = aTexture.myUploadedSize;
		return aTexture.myIsPicture && !aTexture.myIsFailed && someHeld != aTexture.mySize && someHeld.x == PicturePixels(aDrawnSize.x, aTexture.mySize.x)
			&& someHeld.y == PicturePixels(aDrawnSize.y, aTexture.mySize.y);
	}

	void TextureManager::ReloadPicture(Texture& aTexture)
	{
		std::uint32_t someWidth = 0;
		std::uint32_t someHeight = 0;
		if (impl::ReadPictureSize(aTexture.myName, someWidth, someHeight) != impl::PictureFile::Image)
			return; // the last good picture stays
		aTexture.mySize = { someWidth, someHeight };
		UpdateNormalizedSize(aTexture);
		// Uploaded again at the next fit; drawn as it was until then.
		aTexture.myUploadedSize = {};
	}

	void TextureManager::OnTextureFileChanged(std::string aKey)
	{
		const auto someFound = myCache.find(aKey);
		if (someFound == myCache.end())
			return;
		if (someFound->second->myIsPicture)
		{
			ReloadPicture(*someFound->second);
			return;
		}
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
		aTexture.myUploadedSize = aTexture.mySize;
		UpdateNormalizedSize(aTexture);
	}

	void TextureManager::UpdateNormalizedSize(Texture& aTexture)
	{
		const float someHeight = RenderHeight();
		aTexture.myNormalizedSize = { aTexture.mySize.x / someHeight, aTexture.mySize.y / someHeight };
	}

	void TextureManager::Watch(const std::string& aResolvedPath, const std::string& aKey)
	{
		if (myFileWatcher)
			myFileWatcher->WatchFileChange(aResolvedPath, [this, aKey](const std::string&) { OnTextureFileChanged(aKey); });
	}
}
