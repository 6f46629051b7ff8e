#pragma once
// The engine's texture cache and its built-in textures: the placeholder image
// (magenta and black checkerboard), a flat normal and "WhiteSquare".
#include "d3d11/d3d11.h"
#include "graphics/Texture.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace Norv
{
	class TextureManager
	{
	public:
		// This manager becomes the current one.
		TextureManager();
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

		Texture* GetWhiteSquareTexture() const { return myWhiteSquare.get(); }
		ID3D11ShaderResourceView* GetPlaceholderView() const { return myPlaceholderView.Get(); }
		ID3D11ShaderResourceView* GetFlatNormalView() const { return myFlatNormalView.Get(); }

	private:
		std::unordered_map<std::string, std::unique_ptr<Texture>> myCache;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myPlaceholderView;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myFlatNormalView;
		std::unique_ptr<Texture> myWhiteSquare;

		inline static TextureManager* ourCurrent = nullptr;
	};
}
