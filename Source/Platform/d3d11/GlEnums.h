#pragma once
// Direct3D enumerations as their OpenGL counterparts.
#include "d3d11/d3d11.h"

#include <epoxy/gl.h>

namespace Platform::impl
{
	inline GLenum ToGlComparison(D3D11_COMPARISON_FUNC aFunc)
	{
		// Both enumerations list the same eight tests in the same order.
		return aFunc >= D3D11_COMPARISON_NEVER && aFunc <= D3D11_COMPARISON_ALWAYS ? GL_NEVER + (aFunc - D3D11_COMPARISON_NEVER) : GL_ALWAYS;
	}

	inline GLenum ToGlBlend(D3D11_BLEND aBlend)
	{
		switch (aBlend)
		{
		case D3D11_BLEND_ZERO: return GL_ZERO;
		case D3D11_BLEND_ONE: return GL_ONE;
		case D3D11_BLEND_SRC_COLOR: return GL_SRC_COLOR;
		case D3D11_BLEND_INV_SRC_COLOR: return GL_ONE_MINUS_SRC_COLOR;
		case D3D11_BLEND_SRC_ALPHA: return GL_SRC_ALPHA;
		case D3D11_BLEND_INV_SRC_ALPHA: return GL_ONE_MINUS_SRC_ALPHA;
		case D3D11_BLEND_DEST_ALPHA: return GL_DST_ALPHA;
		case D3D11_BLEND_INV_DEST_ALPHA: return GL_ONE_MINUS_DST_ALPHA;
		case D3D11_BLEND_DEST_COLOR: return GL_DST_COLOR;
		case D3D11_BLEND_INV_DEST_COLOR: return GL_ONE_MINUS_DST_COLOR;
		}
		return GL_ONE;
	}

	inline GLenum ToGlBlendOp(D3D11_BLEND_OP anOp)
	{
		switch (anOp)
		{
		case D3D11_BLEND_OP_ADD: return GL_FUNC_ADD;
		case D3D11_BLEND_OP_SUBTRACT: return GL_FUNC_SUBTRACT;
		case D3D11_BLEND_OP_REV_SUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
		case D3D11_BLEND_OP_MIN: return GL_MIN;
		case D3D11_BLEND_OP_MAX: return GL_MAX;
		}
		return GL_FUNC_ADD;
	}

	inline GLenum ToGlAddress(D3D11_TEXTURE_ADDRESS_MODE aMode)
	{
		switch (aMode)
		{
		case D3D11_TEXTURE_ADDRESS_WRAP: return GL_REPEAT;
		case D3D11_TEXTURE_ADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
		case D3D11_TEXTURE_ADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
		case D3D11_TEXTURE_ADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
		}
		return GL_REPEAT;
	}

	inline GLenum ToGlTopology(D3D11_PRIMITIVE_TOPOLOGY aTopology)
	{
		switch (aTopology)
		{
		case D3D11_PRIMITIVE_TOPOLOGY_POINTLIST: return GL_POINTS;
		case D3D11_PRIMITIVE_TOPOLOGY_LINELIST: return GL_LINES;
		case D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP: return GL_LINE_STRIP;
		case D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
		default: return GL_TRIANGLES;
		}
	}
}
