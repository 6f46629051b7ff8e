#pragma once
// One texture of the texture manager's cache. The manager owns the record;
// users hold plain pointers, valid until the manager goes.
#include "Math/Vector.h"
#include "d3d11/d3d11.h"

#include <cstdint>
#include <string>

namespace Norv
{
	struct Texture
	{
		// Width and height of the 2D texture behind aView; 0, 0 when it has none.
		static Vector2<unsigned int> CalculateTextureSize(ID3D11ShaderResourceView* aView);

		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myView;
		// 0 plain (the file's own format), 1 forced sRGB, 2 sRGB ignored.
		std::uint32_t mySrgbMode = 0;
		// The resolved full path after a load; the requested path for a placeholder.
		std::string myName = "undefined";
		// The path as the caller asked for it (reloads use it).
		std::string myPath;
		// Width and height in pixels divided by the render height.
		Vector2<float> myNormalizedSize;
		// Width and height in pixels of the top mip level.
		Vector2<unsigned int> mySize;
		// Set on a placeholder made for a texture that could not be loaded.
		bool myIsFailed = false;
		// A picture (TextureManager::GetPicture) is drawn at one size at a time: its
		// view holds it at that size, without mips, and is made when it is first
		// fitted to a drawn size; mySize stays the file's, for layout.
		bool myIsPicture = false;
		// Width and height of the view's top level: mySize, or less for a picture.
		Vector2<unsigned int> myUploadedSize;
	};
}
