#pragma once
// The engine's one texture cache. Textures are asked for by path and colour mode;
// the manager resolves the path through the asset folders, loads the file once,
// keeps the record for the rest of the run and reloads it in place when the file
// changes on disk. A file that cannot be loaded yields a cached placeholder, so
// GetTexture never returns null.
#include "graphics/Texture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>

namespace Norv
{
	class FileWatcher;

	// Colour modes: how a texture's sRGB-ness is taken.
	constexpr std::uint32_t TEXTURE_MODE_PLAIN = 0; // the file's own format
	constexpr std::uint32_t TEXTURE_MODE_FORCE_SRGB = 1;
	constexpr std::uint32_t TEXTURE_MODE_IGNORE_SRGB = 2;

	class TextureManager
	{
	public:
		// Made on the main thread; aFileWatcher (may be null) is told of every file loaded.
		TextureManager(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, FileWatcher* aFileWatcher);
		~TextureManager();
		TextureManager(const TextureManager&) = delete;
		TextureManager& operator=(const TextureManager&) = delete;

		// Creates the built-in textures: the placeholder, the flat normal and "WhiteSquare".
		void Init();

		// The texture of aPath in aMode, loading it on first request (or again when
		// forced); the cached placeholder when it cannot be loaded. Never null.
		Texture* GetTexture(const char* aPath, std::uint32_t aMode, bool aForceReload = false);
		// As GetTexture, but null where GetTexture would give a placeholder.
		Texture* TryGetTexture(const char* aPath, std::uint32_t aMode, bool aForceReload = false);
		// Hot reload: reloads the texture cached under aKey into its own record.
		void OnTextureFileChanged(std::string aKey);

		Texture* GetWhiteSquare() const { return myWhiteSquare.get(); }
		ID3D11ShaderResourceView* GetPlaceholderView() const { return myPlaceholderView.Get(); }
		ID3D11ShaderResourceView* GetFlatNormalView() const { return myFlatNormalView.Get(); }

	private:
		static std::string MakeKey(const char* aPath, std::uint32_t aMode);
		// Sets the size fields of aTexture from its view.
		static void UpdateSize(Texture& aTexture);

		std::unordered_map<std::string, std::unique_ptr<Texture>> myCache;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myPlaceholderView;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myFlatNormalView;
		std::unique_ptr<Texture> myWhiteSquare;
		ID3D11Device* myDevice;
		ID3D11DeviceContext* myContext;
		FileWatcher* myFileWatcher;
		std::thread::id myMainThread;
	};
}
