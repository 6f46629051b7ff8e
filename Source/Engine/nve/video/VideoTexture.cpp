#include "video/VideoTexture.h"

namespace Norv
{
	bool VideoTexture::Create(std::uint32_t aWidth, std::uint32_t aHeight)
	{
		if (aWidth == 0 || aHeight == 0)
			return false;
		myTexels.assign(static_cast<std::size_t>(aWidth) * aHeight * BYTES_PER_TEXEL, 0);
		myWidth = aWidth;
		myHeight = aHeight;
		return true;
	}

	MappedTexture VideoTexture::Map()
	{
		if (!IsCreated())
			return {};
		return { myTexels.data(), myWidth * BYTES_PER_TEXEL };
	}

	void VideoTexture::Unmap()
	{
	}
}
