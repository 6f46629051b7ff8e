#pragma once
// How each DXGI format is stored, uploaded and read as a vertex attribute in GL.
#include "d3d11/dxgiformat.h"

namespace Platform::impl
{
	struct GlFormat
	{
		unsigned int myInternalFormat = 0; // 0: not supported
		unsigned int myPixelFormat = 0;    // upload format (uncompressed)
		unsigned int myPixelType = 0;      // upload type (uncompressed)
		unsigned int myBytesPerUnit = 0;   // bytes per pixel, or per 4x4 block when compressed
		bool myIsCompressed = false;
		bool myIsSrgb = false;
		bool myIsDepth = false;
		bool myHasStencil = false;
		bool myIsOpaque = false;    // X8 formats: alpha reads as 1
		bool myIsAlphaOnly = false; // A8: the one channel reads as alpha
	};

	// The storage of a texture of aFormat with aBindFlags. Depth binding makes
	// typeless 32-bit formats depth storage; render-target binding stores 8-bit
	// colour sRGB-capable, so that plain and sRGB render-target views share it.
	GlFormat GetTextureFormat(DXGI_FORMAT aFormat, unsigned aBindFlags);
	// The format a view of aFormat reads or writes through.
	GlFormat GetViewFormat(DXGI_FORMAT aFormat);
	// The same bits read through another format (sRGB and plain, typeless and typed).
	bool AreViewCompatible(DXGI_FORMAT aStorage, DXGI_FORMAT aView);

	struct GlAttributeFormat
	{
		int myComponentCount = 0; // 0: not a vertex format
		unsigned int myType = 0;
		bool myIsNormalized = false;
		bool myIsInteger = false;
		unsigned int mySize = 0;
	};
	GlAttributeFormat GetAttributeFormat(DXGI_FORMAT aFormat);

	// Bytes of one row of aWidth pixels (of 4-pixel block rows when compressed).
	unsigned RowPitch(const GlFormat& aFormat, unsigned aWidth);
	// Rows of aHeight pixels (block rows when compressed).
	unsigned RowCount(const GlFormat& aFormat, unsigned aHeight);
}
