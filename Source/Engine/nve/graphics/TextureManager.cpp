#include "graphics/TextureManager.h"

#include "engine/Engine.h"
#include "filewatcher/FileWatcher.h"
#include "graphics/TextureLoading.h"
#include "settings/settings.h"

#include <array>
#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

namespace Norv
{
	namespace
	{
		constexpr unsigned PLACEHOLDER_EDGE_PX = 16;
		constexpr unsigned SMALL_BUILT_IN_EDGE_PX = 4;
		constexpr Vector2<unsigned int> BUILT_IN_SIZE{ 512, 512 };
		constexpr Vector2<float> BUILT_IN_NORMALIZED_SIZE{ 0.3f, 0.3f };

		using Texel = std::array<std::uint8_t, 4>;
		constexpr Texel MAGENTA{ 255, 0, 255, 255 };
		constexpr Texel BLACK{ 0, 0, 0, 255 };
		constexpr Texel FLAT_NORMAL{ 128, 128, 255, 255 };
		constexpr Texel WHITE{ 255, 255, 255, 255 };

		// A square RGBA8 texture with one mip; null when the GPU refuses it.
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> CreateBuiltInView(ID3D11Device* aDevice, unsigned aEdge, const std::function<Texel(unsigned, unsigned)>& aTexelAt)
		{
			std::vector<Texel> someTexels;
			for (unsigned someY = 0; someY < aEdge; ++someY)
				for (unsigned someX = 0; someX < aEdge; ++someX)
					someTexels.push_back(aTexelAt(someX, someY));
			D3D11_TEXTURE2D_DESC someDesc{};
			someDesc.Width = aEdge;
			someDesc.Height = aEdge;
			someDesc.MipLevels = 1;
			someDesc.ArraySize = 1;
			someDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
			someDesc.SampleDesc = { 1, 0 };
			someDesc.Usage = D3D11_USAGE_DEFAULT;
			someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
			const D3D11_SUBRESOURCE_DATA someData{ someTexels.data(), aEdge * static_cast<UINT>(sizeof(Texel)), 0 };
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
			Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
			if (!aDevice || FAILED(aDevice->CreateTexture2D(&someDesc, &someData, someTexture.GetAddressOf())))
				return nullptr;
			if (FAILED(aDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf())))
				return nullptr;
			return someView;
		}

		// The height sizes are normalised by: the engine's render height, or before
		// there is an engine the one it will start with.
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

	TextureManager::TextureManager(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, FileWatcher* aFileWatcher)
		: myDevice(aDevice)
		, myContext(aContext)
		, myFileWatcher(aFileWatcher)
		, myMainThread(std::this_thread::get_id())
	{
	}

	TextureManager::~TextureManager()
	{
		myWhiteSquare.reset();
		myPlaceholderView.Reset();
		myFlatNormalView.Reset();
		myCache.clear();
	}

	void TextureManager::Init()
	{
		myPlaceholderView = CreateBuiltInView(myDevice, PLACEHOLDER_EDGE_PX, [](unsigned aX, unsigned aY) { return (aX + aY) % 2 ? MAGENTA : BLACK; });
		myWhiteSquare = std::make_unique<Texture>();
		myWhiteSquare->myName = "WhiteSquare";
		myWhiteSquare->myView = CreateBuiltInView(myDevice, SMALL_BUILT_IN_EDGE_PX, [](unsigned, unsigned) { return WHITE; });
		myWhiteSquare->myNormalizedSize = BUILT_IN_NORMALIZED_SIZE;
		myWhiteSquare->mySize = BUILT_IN_SIZE;
		myFlatNormalView = CreateBuiltInView(myDevice, SMALL_BUILT_IN_EDGE_PX, [](unsigned, unsigned) { return FLAT_NORMAL; });
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
		someEntry->myNormalizedSize = BUILT_IN_NORMALIZED_SIZE;
		someEntry->mySize = BUILT_IN_SIZE;
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

		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView = impl::LoadTextureView(myDevice, myContext, someResolved, aMode, std::this_thread::get_id() == myMainThread);
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
