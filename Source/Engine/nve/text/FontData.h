#pragma once
// One loaded font: its glyph records and the glyph atlas image, shared by the
// texts drawn with it.
#include "graphics/Texture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Norv
{
	constexpr std::uint32_t FONT_ATLAS_SIZE = 1024; // width and height of the glyph atlas, in texels
	constexpr std::size_t FONT_GLYPH_RECORDS = 1024; // indexed by character code; codes 32 to 255 are filled
	constexpr unsigned FIRST_FONT_CHARACTER = 32;
	constexpr unsigned LAST_FONT_CHARACTER = 255;

	struct GlyphData
	{
		// Atlas rectangle, as fractions of the atlas size.
		float myAtlasLeft = 0.0f;
		float myAtlasTop = 0.0f;
		float myAtlasRight = 0.0f;
		float myAtlasBottom = 0.0f;
		std::int16_t myWidth = 0; // bitmap width + 2 * outline
		std::int16_t myHeight = 0; // bitmap rows + 2 * outline
		std::int16_t myAdvanceX = 0; // pixels
		std::int16_t myAdvanceY = 0;
		std::int16_t myLeft = 0; // bitmap left bearing
		std::int16_t myTop = 0; // bitmap top bearing
	};

	struct InternalTextAndFontData
	{
		std::array<GlyphData, FONT_GLYPH_RECORDS> myGlyphs{};
		std::uint32_t myAtlasWidth = 0;
		std::uint32_t myAtlasHeight = 0;
		float myLineHeight = 0.0f;
		std::int32_t mySpaceExtra = 0; // added to the pen for every space, besides its advance
		std::int32_t myFontSize = 0;
		std::vector<std::uint32_t> myPixels; // the atlas, R8G8B8A8 byte order, top row first
		std::string myKey;
		// The atlas on the GPU: a texture record whose only set field is the view,
		// which glyph sprites take as their colour texture.
		std::unique_ptr<Texture> myAtlasTexture;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myAtlasView;
	};
}
