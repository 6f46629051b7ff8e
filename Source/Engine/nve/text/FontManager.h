#pragma once
// The engine's text service: loads TrueType fonts at one pixel size, optionally
// outlined, into glyph atlases shared by the texts that use them (a font lives
// while some text holds it), and draws texts as one sprite batch of glyph quads.
#include "text/FontData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

typedef struct FT_LibraryRec_* FT_Library;

namespace Norv
{
	class SpriteShader;
	class Text;

	class FontManager
	{
	public:
		FontManager() = default;
		~FontManager();
		FontManager(const FontManager&) = delete;
		FontManager& operator=(const FontManager&) = delete;

		// Starts FreeType; false when it cannot.
		bool Init();

		// The font of aPath (resolved through the asset folders) at aSize pixels
		// (100 dpi) with an outline aBorder pixels wide (0: none); shared with every
		// live holder of the same path, size and outline. Empty when it cannot be
		// loaded (with a line on standard error).
		std::shared_ptr<InternalTextAndFontData> LoadFont(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder);

		// Draws aText as one sprite batch (aCustomShader null: the drawer's default).
		// False without a font, an atlas, or a graphics object to draw with.
		bool RenderText(const Text& aText, SpriteShader* aCustomShader);
		float GetTextWidth(const Text& aText) const;
		float GetTextHeight(const Text& aText) const;

	private:
		FT_Library myLibrary = nullptr;
		std::unordered_map<std::string, std::weak_ptr<InternalTextAndFontData>> myFontCache;
	};
}
