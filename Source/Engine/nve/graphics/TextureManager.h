#pragma once
// The engine's one texture cache and its built-in textures: the placeholder image
// (magenta and black checkerboard), a flat normal and "WhiteSquare". Textures are
// asked for by path and colour mode; the manager resolves the path through the
// asset folders, loads the file once, keeps the record for the rest of the run
// and reloads it in place when the file changes on disk. A file that cannot be
// loaded yields a cached placeholder, so GetTexture never returns null.
#include "d3d11/d3d11.h"
#include "graphics/Texture.h"

#include <cstdint>
#include <memory>
#include <string>
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
		// This manager becomes the current one. aFileWatcher (may be null) is told
		// of every file loaded, for hot reload.
		explicit TextureManager(FileWatcher* aFileWatcher = nullptr);
		~TextureManager();
		TextureManager(const TextureManager&) = delete;
		TextureManager& operator=(const TextureManager&) = delete;

		// Creates the three built-in textures on the device; a failed creation
		// leaves that view empty.
		void Init();

		// The manager made last that still exists: the engine's own in the
		// program (made before the graphics object, which may ask for textures
		// while starting); code without the engine (tests, tools) gets theirs.
		static TextureManager* GetCurrent() { return ourCurrent; }

		// The texture of aPath in aMode, loading it on first request (or again when
		// forced); the cached placeholder when it cannot be loaded. Never null.
		Texture* GetTexture(const char* aPath, std::uint32_t aMode, bool aForceReload = false);
		// As GetTexture, but null where GetTexture would give a placeholder.
		Texture* TryGetTexture(const char* aPath, std::uint32_t aMode, bool aForceReload = false);
		// A picture drawn at one size at a time (a menu background, the splash):
		// only its size is read now, and FitPicture makes it a texture of the size
		// it is drawn, without mips, that looks as the whole texture drawn there. Files that are no PNG, JPEG, BMP or GIF image load as
		// by GetTexture. The same key asked for by GetTexture becomes a whole texture.
		Texture* GetPicture(const char* aPath, std::uint32_t aMode);
		// Before aTexture is drawn at aDrawnSize pixels: a picture that holds fewer
		// pixels (or none yet) is uploaded again at that size (never above the
		// file's; never smaller than it held, so two sizes of use cannot make it
		// reload every frame). Nothing for other textures. A picture that cannot be
		// loaded becomes the placeholder, keeping its size.
		void FitPicture(Texture& aTexture, Vector2<float> aDrawnSize);
		// Whether aTexture is a picture held smaller than its file at exactly
		// aDrawnSize: it holds what the sampler made of the whole texture there, to be
		// read texel for pixel (a linear sampler) rather than filtered again.
		static bool IsHeldAtDrawnSize(const Texture& aTexture, Vector2<float> aDrawnSize);
		// Hot reload: reloads the texture cached under aKey into its own record.
		void OnTextureFileChanged(std::string aKey);

		Texture* GetWhiteSquareTexture() const { return myWhiteSquare.get(); }
		ID3D11ShaderResourceView* GetPlaceholderView() const { return myPlaceholderView.Get(); }
		ID3D11ShaderResourceView* GetFlatNormalView() const { return myFlatNormalView.Get(); }

	private:
		static std::string MakeKey(const char* aPath, std::uint32_t aMode);
		// The placeholder cached under the key of aPath and aMode; a record already
		// there (a failed reload) is kept as it is.
		Texture* StorePlaceholder(const char* aPath, std::uint32_t aMode);
		// Sets the size fields of aTexture from its view.
		static void UpdateSize(Texture& aTexture);
		// Sets the normalised size of aTexture from its size.
		static void UpdateNormalizedSize(Texture& aTexture);
		// The file watcher calls OnTextureFileChanged(aKey) when aResolvedPath changes.
		void Watch(const std::string& aResolvedPath, const std::string& aKey);
		// A changed picture file: its size read again, its view replaced at the next fit.
		void ReloadPicture(Texture& aTexture);

		std::unordered_map<std::string, std::unique_ptr<Texture>> myCache;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myPlaceholderView;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myFlatNormalView;
		std::unique_ptr<Texture> myWhiteSquare;
		FileWatcher* myFileWatcher;

		inline static TextureManager* ourCurrent = nullptr;
	};
}
