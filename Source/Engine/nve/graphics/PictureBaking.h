#pragma once
// A picture drawn once, at the size it is shown, into a texture of that size. It
// is drawn from the whole texture with its mip chain through the sprite drawer and
// the current sampler, exactly as the screen would show it, so drawing the result
// texel for pixel gives the same picture while only that size stays on the GPU.
#include "Math/Vector.h"
#include "d3d11/d3d11.h"

namespace Norv::impl
{
	// A one-level texture of aSize pixels in aWhole's format holding aWhole (a view
	// with its mips) drawn over all of it, colour and alpha as sampled. Null without
	// a graphics object, or when a creation fails. Leaves the back buffer bound.
	Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> DrawPictureAtSize(ID3D11ShaderResourceView* aWhole, Vector2<unsigned int> aSize);
}
