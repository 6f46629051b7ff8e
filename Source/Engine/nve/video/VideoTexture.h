#pragma once
// The texture a video's frames are written to: one mip level of 8-bit RGBA
// (sRGB), rewritten whole for each frame. Its texels are kept in memory laid out
// as a mapped texture is: rows of GetRowPitch() bytes, top row first.
#include <cstdint>
#include <vector>

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
		static constexpr std::uint32_t BYTES_PER_TEXEL = 4;

		bool Create(std::uint32_t aWidth, std::uint32_t aHeight);
		bool IsCreated() const { return myWidth != 0; }
		std::uint32_t GetWidth() const { return myWidth; }
		std::uint32_t GetHeight() const { return myHeight; }

		// Write access to every texel for one frame; what was there before is discarded.
		MappedTexture Map();
		void Unmap();

	private:
		std::vector<std::uint8_t> myTexels;
		std::uint32_t myWidth = 0;
		std::uint32_t myHeight = 0;
	};
}
