#pragma once
// Puts a font's glyph atlas on the GPU, with a full mip chain.
#include "text/FontData.h"

namespace Norv::impl
{
	// Creates aFont's atlas texture and view from its pixels; false when the GPU refuses.
	bool CreateFontAtlas(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, InternalTextAndFontData& aFont);
}
