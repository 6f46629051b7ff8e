#include "d3d11/Formats.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <iterator>

namespace Platform::impl
{
	namespace
	{
		constexpr unsigned BLOCK_SIZE_PIXELS = 4;

		GlFormat Plain(unsigned aInternal, unsigned aFormat, unsigned aType, unsigned aBytes)
		{
			GlFormat someFormat;
			someFormat.myInternalFormat = aInternal;
			someFormat.myPixelFormat = aFormat;
			someFormat.myPixelType = aType;
			someFormat.myBytesPerUnit = aBytes;
			someFormat.myIsSrgb = aInternal == GL_SRGB8_ALPHA8;
			return someFormat;
		}

		GlFormat Block(unsigned aInternal, unsigned aBytesPerBlock)
		{
			GlFormat someFormat;
			someFormat.myInternalFormat = aInternal;
			someFormat.myBytesPerUnit = aBytesPerBlock;
			someFormat.myIsCompressed = true;
			someFormat.myIsSrgb = aInternal == GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT1_EXT || aInternal == GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT3_EXT
				|| aInternal == GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT5_EXT || aInternal == GL_COMPRESSED_SRGB_ALPHA_BPTC_UNORM;
			return someFormat;
		}

		// Formats that name the same bits; the first of each group is the storage.
		struct Family
		{
			DXGI_FORMAT myMembers[4];
		};
		constexpr Family FAMILIES[] = {
			{ { DXGI_FORMAT_R8G8B8A8_TYPELESS, DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_B8G8R8A8_TYPELESS, DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_B8G8R8A8_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_B8G8R8X8_TYPELESS, DXGI_FORMAT_B8G8R8X8_UNORM, DXGI_FORMAT_B8G8R8X8_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_R32_TYPELESS, DXGI_FORMAT_R32_FLOAT, DXGI_FORMAT_D32_FLOAT, DXGI_FORMAT_R32_UINT } },
			{ { DXGI_FORMAT_R24G8_TYPELESS, DXGI_FORMAT_D24_UNORM_S8_UINT, DXGI_FORMAT_R24_UNORM_X8_TYPELESS, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC1_TYPELESS, DXGI_FORMAT_BC1_UNORM, DXGI_FORMAT_BC1_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC2_TYPELESS, DXGI_FORMAT_BC2_UNORM, DXGI_FORMAT_BC2_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC3_TYPELESS, DXGI_FORMAT_BC3_UNORM, DXGI_FORMAT_BC3_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC4_TYPELESS, DXGI_FORMAT_BC4_UNORM, DXGI_FORMAT_UNKNOWN, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC5_TYPELESS, DXGI_FORMAT_BC5_UNORM, DXGI_FORMAT_UNKNOWN, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC6H_TYPELESS, DXGI_FORMAT_BC6H_UF16, DXGI_FORMAT_UNKNOWN, DXGI_FORMAT_UNKNOWN } },
			{ { DXGI_FORMAT_BC7_TYPELESS, DXGI_FORMAT_BC7_UNORM, DXGI_FORMAT_BC7_UNORM_SRGB, DXGI_FORMAT_UNKNOWN } },
		};

		const Family* FindFamily(DXGI_FORMAT aFormat)
		{
			for (const Family& someFamily : FAMILIES)
				if (std::find(std::begin(someFamily.myMembers), std::end(someFamily.myMembers), aFormat) != std::end(someFamily.myMembers))
					return &someFamily;
			return nullptr;
		}
	}

	GlFormat GetTextureFormat(DXGI_FORMAT aFormat, unsigned aBindFlags)
	{
		constexpr unsigned DEPTH_STENCIL_BIND = 0x40;
		constexpr unsigned RENDER_TARGET_BIND = 0x20;
		if (aBindFlags & RENDER_TARGET_BIND)
		{
			if (aFormat == DXGI_FORMAT_R8G8B8A8_UNORM)
				aFormat = DXGI_FORMAT_R8G8B8A8_UNORM_SRGB;
			else if (aFormat == DXGI_FORMAT_B8G8R8A8_UNORM)
				aFormat = DXGI_FORMAT_B8G8R8A8_UNORM_SRGB;
		}
		GlFormat someFormat = GetViewFormat(aFormat);
		if ((aBindFlags & DEPTH_STENCIL_BIND) && aFormat == DXGI_FORMAT_R32_TYPELESS)
		{
			someFormat = Plain(GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT, 4);
			someFormat.myIsDepth = true;
		}
		return someFormat;
	}

	GlFormat GetViewFormat(DXGI_FORMAT aFormat)
	{
		switch (aFormat)
		{
		case DXGI_FORMAT_R8G8B8A8_TYPELESS:
		case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB: return Plain(GL_SRGB8_ALPHA8, GL_RGBA, GL_UNSIGNED_BYTE, 4);
		case DXGI_FORMAT_R8G8B8A8_UNORM: return Plain(GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 4);
		case DXGI_FORMAT_B8G8R8A8_TYPELESS:
		case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB: return Plain(GL_SRGB8_ALPHA8, GL_BGRA, GL_UNSIGNED_BYTE, 4);
		case DXGI_FORMAT_B8G8R8A8_UNORM: return Plain(GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4);
		case DXGI_FORMAT_B8G8R8X8_TYPELESS:
		case DXGI_FORMAT_B8G8R8X8_UNORM_SRGB:
		case DXGI_FORMAT_B8G8R8X8_UNORM:
		{
			GlFormat someFormat = Plain(aFormat == DXGI_FORMAT_B8G8R8X8_UNORM ? GL_RGBA8 : GL_SRGB8_ALPHA8, GL_BGRA, GL_UNSIGNED_BYTE, 4);
			someFormat.myIsOpaque = true;
			return someFormat;
		}
		case DXGI_FORMAT_R8G8B8A8_UINT: return Plain(GL_RGBA8UI, GL_RGBA_INTEGER, GL_UNSIGNED_BYTE, 4);
		case DXGI_FORMAT_R8G8B8A8_SNORM: return Plain(GL_RGBA8_SNORM, GL_RGBA, GL_BYTE, 4);
		case DXGI_FORMAT_R32G32B32A32_TYPELESS:
		case DXGI_FORMAT_R32G32B32A32_FLOAT: return Plain(GL_RGBA32F, GL_RGBA, GL_FLOAT, 16);
		case DXGI_FORMAT_R32G32B32A32_UINT: return Plain(GL_RGBA32UI, GL_RGBA_INTEGER, GL_UNSIGNED_INT, 16);
		case DXGI_FORMAT_R32G32B32A32_SINT: return Plain(GL_RGBA32I, GL_RGBA_INTEGER, GL_INT, 16);
		case DXGI_FORMAT_R32G32B32_FLOAT: return Plain(GL_RGB32F, GL_RGB, GL_FLOAT, 12);
		case DXGI_FORMAT_R32G32B32_UINT: return Plain(GL_RGB32UI, GL_RGB_INTEGER, GL_UNSIGNED_INT, 12);
		case DXGI_FORMAT_R16G16B16A16_FLOAT: return Plain(GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, 8);
		case DXGI_FORMAT_R16G16B16A16_UNORM: return Plain(GL_RGBA16, GL_RGBA, GL_UNSIGNED_SHORT, 8);
		case DXGI_FORMAT_R16G16B16A16_UINT: return Plain(GL_RGBA16UI, GL_RGBA_INTEGER, GL_UNSIGNED_SHORT, 8);
		case DXGI_FORMAT_R32G32_FLOAT: return Plain(GL_RG32F, GL_RG, GL_FLOAT, 8);
		case DXGI_FORMAT_R32G32_UINT: return Plain(GL_RG32UI, GL_RG_INTEGER, GL_UNSIGNED_INT, 8);
		case DXGI_FORMAT_R10G10B10A2_UNORM: return Plain(GL_RGB10_A2, GL_RGBA, GL_UNSIGNED_INT_2_10_10_10_REV, 4);
		case DXGI_FORMAT_R11G11B10_FLOAT: return Plain(GL_R11F_G11F_B10F, GL_RGB, GL_UNSIGNED_INT_10F_11F_11F_REV, 4);
		case DXGI_FORMAT_R16G16_FLOAT: return Plain(GL_RG16F, GL_RG, GL_HALF_FLOAT, 4);
		case DXGI_FORMAT_R16G16_UNORM: return Plain(GL_RG16, GL_RG, GL_UNSIGNED_SHORT, 4);
		case DXGI_FORMAT_D32_FLOAT:
		{
			GlFormat someFormat = Plain(GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT, 4);
			someFormat.myIsDepth = true;
			return someFormat;
		}
		case DXGI_FORMAT_R32_TYPELESS:
		case DXGI_FORMAT_R32_FLOAT: return Plain(GL_R32F, GL_RED, GL_FLOAT, 4);
		case DXGI_FORMAT_R32_UINT: return Plain(GL_R32UI, GL_RED_INTEGER, GL_UNSIGNED_INT, 4);
		case DXGI_FORMAT_R24G8_TYPELESS:
		case DXGI_FORMAT_D24_UNORM_S8_UINT:
		{
			GlFormat someFormat = Plain(GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, 4);
			someFormat.myIsDepth = true;
			someFormat.myHasStencil = true;
			return someFormat;
		}
		case DXGI_FORMAT_R8G8_UNORM: return Plain(GL_RG8, GL_RG, GL_UNSIGNED_BYTE, 2);
		case DXGI_FORMAT_R16_FLOAT: return Plain(GL_R16F, GL_RED, GL_HALF_FLOAT, 2);
		case DXGI_FORMAT_R16_UNORM: return Plain(GL_R16, GL_RED, GL_UNSIGNED_SHORT, 2);
		case DXGI_FORMAT_R16_UINT: return Plain(GL_R16UI, GL_RED_INTEGER, GL_UNSIGNED_SHORT, 2);
		case DXGI_FORMAT_R8_UNORM: return Plain(GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1);
		case DXGI_FORMAT_A8_UNORM:
		{
			GlFormat someFormat = Plain(GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1);
			someFormat.myIsAlphaOnly = true;
			return someFormat;
		}
		case DXGI_FORMAT_B5G6R5_UNORM: return Plain(GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2);
		case DXGI_FORMAT_B5G5R5A1_UNORM: return Plain(GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2);
		case DXGI_FORMAT_B4G4R4A4_UNORM: return Plain(GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2);
		case DXGI_FORMAT_BC1_TYPELESS:
		case DXGI_FORMAT_BC1_UNORM: return Block(GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8);
		case DXGI_FORMAT_BC1_UNORM_SRGB: return Block(GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT1_EXT, 8);
		case DXGI_FORMAT_BC2_TYPELESS:
		case DXGI_FORMAT_BC2_UNORM: return Block(GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 16);
		case DXGI_FORMAT_BC2_UNORM_SRGB: return Block(GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT3_EXT, 16);
		case DXGI_FORMAT_BC3_TYPELESS:
		case DXGI_FORMAT_BC3_UNORM: return Block(GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 16);
		case DXGI_FORMAT_BC3_UNORM_SRGB: return Block(GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT5_EXT, 16);
		case DXGI_FORMAT_BC4_TYPELESS:
		case DXGI_FORMAT_BC4_UNORM: return Block(GL_COMPRESSED_RED_RGTC1, 8);
		case DXGI_FORMAT_BC4_SNORM: return Block(GL_COMPRESSED_SIGNED_RED_RGTC1, 8);
		case DXGI_FORMAT_BC5_TYPELESS:
		case DXGI_FORMAT_BC5_UNORM: return Block(GL_COMPRESSED_RG_RGTC2, 16);
		case DXGI_FORMAT_BC5_SNORM: return Block(GL_COMPRESSED_SIGNED_RG_RGTC2, 16);
		case DXGI_FORMAT_BC6H_TYPELESS:
		case DXGI_FORMAT_BC6H_UF16: return Block(GL_COMPRESSED_RGB_BPTC_UNSIGNED_FLOAT, 16);
		case DXGI_FORMAT_BC6H_SF16: return Block(GL_COMPRESSED_RGB_BPTC_SIGNED_FLOAT, 16);
		case DXGI_FORMAT_BC7_TYPELESS:
		case DXGI_FORMAT_BC7_UNORM: return Block(GL_COMPRESSED_RGBA_BPTC_UNORM, 16);
		case DXGI_FORMAT_BC7_UNORM_SRGB: return Block(GL_COMPRESSED_SRGB_ALPHA_BPTC_UNORM, 16);
		default: return {};
		}
	}

	bool AreViewCompatible(DXGI_FORMAT aStorage, DXGI_FORMAT aView)
	{
		if (aStorage == aView)
			return true;
		const Family* someFamily = FindFamily(aStorage);
		return someFamily && someFamily == FindFamily(aView);
	}

	GlAttributeFormat GetAttributeFormat(DXGI_FORMAT aFormat)
	{
		switch (aFormat)
		{
		case DXGI_FORMAT_R32G32B32A32_FLOAT: return { 4, GL_FLOAT, false, false, 16 };
		case DXGI_FORMAT_R32G32B32_FLOAT: return { 3, GL_FLOAT, false, false, 12 };
		case DXGI_FORMAT_R32G32_FLOAT: return { 2, GL_FLOAT, false, false, 8 };
		case DXGI_FORMAT_R32_FLOAT: return { 1, GL_FLOAT, false, false, 4 };
		case DXGI_FORMAT_R32G32B32A32_UINT: return { 4, GL_UNSIGNED_INT, false, true, 16 };
		case DXGI_FORMAT_R32G32B32A32_SINT: return { 4, GL_INT, false, true, 16 };
		case DXGI_FORMAT_R32G32B32_UINT: return { 3, GL_UNSIGNED_INT, false, true, 12 };
		case DXGI_FORMAT_R32G32_UINT: return { 2, GL_UNSIGNED_INT, false, true, 8 };
		case DXGI_FORMAT_R32_UINT: return { 1, GL_UNSIGNED_INT, false, true, 4 };
		case DXGI_FORMAT_R16G16B16A16_UINT: return { 4, GL_UNSIGNED_SHORT, false, true, 8 };
		case DXGI_FORMAT_R8G8B8A8_UINT: return { 4, GL_UNSIGNED_BYTE, false, true, 4 };
		case DXGI_FORMAT_R8G8B8A8_UNORM: return { 4, GL_UNSIGNED_BYTE, true, false, 4 };
		case DXGI_FORMAT_R16G16B16A16_FLOAT: return { 4, GL_HALF_FLOAT, false, false, 8 };
		case DXGI_FORMAT_R16G16_FLOAT: return { 2, GL_HALF_FLOAT, false, false, 4 };
		default: return {};
		}
	}

	unsigned RowPitch(const GlFormat& aFormat, unsigned aWidth)
	{
		if (aFormat.myIsCompressed)
			return std::max(1u, (aWidth + BLOCK_SIZE_PIXELS - 1) / BLOCK_SIZE_PIXELS) * aFormat.myBytesPerUnit;
		return aWidth * aFormat.myBytesPerUnit;
	}

	unsigned RowCount(const GlFormat& aFormat, unsigned aHeight)
	{
		if (aFormat.myIsCompressed)
			return std::max(1u, (aHeight + BLOCK_SIZE_PIXELS - 1) / BLOCK_SIZE_PIXELS);
		return aHeight;
	}
}
