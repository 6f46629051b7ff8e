#pragma once
// The texture a video's frames are written to: one mip level of 8-bit RGBA
// (sRGB), dynamic, rewritten whole with WRITE_DISCARD for each frame, and the
// shader-resource view sprites draw it through. Made on the engine's device.
#include "d3d11/d3d11.h"

#include <cstdint>

namespace Norv
{
	struct MappedTexture
	{
		std::uint8_t* myData = nullptr; // null when the texture could not be mapped
		std::uint32_t myRowPitch = 0;   // bytes from one row to the next
	};

	class VideoTexture
	{
	public:
		// False, with nothing made, when there is no device or it refuses the texture or its view.
		bool Create(std::uint32_t aWidth, std::uint32_t aHeight);
		bool IsCreated() const { return myView.Get() != nullptr; }
		std::uint32_t GetWidth() const { return myWidth; }
		std::uint32_t GetHeight() const { return myHeight; }
		ID3D11ShaderResourceView* GetView() const { return myView.Get(); }
		ID3D11Texture2D* GetTexture() const { return myTexture.Get(); }

		// Write access to every texel for one frame; what was there before is discarded.
		MappedTexture Map();
		void Unmap();

	private:
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myView;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> myTexture;
		std::uint32_t myWidth = 0;
		std::uint32_t myHeight = 0;
	};
}
