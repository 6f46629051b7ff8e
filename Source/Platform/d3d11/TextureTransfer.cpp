#include "d3d11/TextureTransfer.h"

#include <epoxy/gl.h>

#include <cstring>
#include <vector>

namespace Platform::impl
{
	namespace
	{
		bool IsLayered(unsigned aTarget) { return aTarget != GL_TEXTURE_2D; }
	}

	void UploadTexture(const TextureRegion& aRegion, const GlFormat& aFormat, const void* aData, unsigned aRowPitch)
	{
		const unsigned someTightPitch = RowPitch(aFormat, aRegion.myWidth);
		const unsigned someRows = RowCount(aFormat, aRegion.myHeight);
		std::vector<std::byte> somePacked;
		const void* someSource = aData;
		// Compressed rows and odd pitches are repacked; whole-pixel pitches go through GL's row length.
		const bool someNeedsRepack = aRowPitch != someTightPitch && (aFormat.myIsCompressed || aRowPitch % aFormat.myBytesPerUnit != 0);
		if (someNeedsRepack)
		{
			somePacked.resize(static_cast<std::size_t>(someTightPitch) * someRows);
			for (unsigned someRow = 0; someRow < someRows; ++someRow)
				std::memcpy(somePacked.data() + static_cast<std::size_t>(someRow) * someTightPitch, static_cast<const std::byte*>(aData) + static_cast<std::size_t>(someRow) * aRowPitch, someTightPitch);
			someSource = somePacked.data();
		}
		if (aFormat.myIsCompressed)
		{
			const GLsizei someSize = static_cast<GLsizei>(someTightPitch * someRows);
			if (IsLayered(aRegion.myGlTarget))
				glCompressedTextureSubImage3D(aRegion.myGlName, aRegion.myMip, aRegion.myX, aRegion.myY, aRegion.mySlice, aRegion.myWidth, aRegion.myHeight, 1, aFormat.myInternalFormat, someSize, someSource);
			else
				glCompressedTextureSubImage2D(aRegion.myGlName, aRegion.myMip, aRegion.myX, aRegion.myY, aRegion.myWidth, aRegion.myHeight, aFormat.myInternalFormat, someSize, someSource);
			return;
		}
		if (!someNeedsRepack && aRowPitch != someTightPitch)
			glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(aRowPitch / aFormat.myBytesPerUnit));
		if (IsLayered(aRegion.myGlTarget))
			glTextureSubImage3D(aRegion.myGlName, aRegion.myMip, aRegion.myX, aRegion.myY, aRegion.mySlice, aRegion.myWidth, aRegion.myHeight, 1, aFormat.myPixelFormat, aFormat.myPixelType, someSource);
		else
			glTextureSubImage2D(aRegion.myGlName, aRegion.myMip, aRegion.myX, aRegion.myY, aRegion.myWidth, aRegion.myHeight, aFormat.myPixelFormat, aFormat.myPixelType, someSource);
		glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
	}

	void DownloadTexture(const TextureRegion& aRegion, const GlFormat& aFormat, void* aData, std::size_t aSize)
	{
		const GLsizei someSize = static_cast<GLsizei>(aSize);
		if (aFormat.myIsCompressed)
			glGetCompressedTextureSubImage(aRegion.myGlName, aRegion.myMip, aRegion.myX, aRegion.myY, aRegion.mySlice, aRegion.myWidth, aRegion.myHeight, 1, someSize, aData);
		else
			glGetTextureSubImage(aRegion.myGlName, aRegion.myMip, aRegion.myX, aRegion.myY, aRegion.mySlice, aRegion.myWidth, aRegion.myHeight, 1, aFormat.myPixelFormat, aFormat.myPixelType, someSize, aData);
	}
}
