#include "text/FontManager.h"

#include "drawers/SpriteDrawer.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "settings/settings.h"
#include "text/FontAtlas.h"
#include "text/FontRasterizer.h"
#include "text/Text.h"
#include "text/TextLayout.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <iostream>
#include <sstream>

namespace Norv
{
	namespace
	{
		constexpr std::int32_t SMOOTH_FONT_SIZE_PX = 18; // from this size on glyphs are sampled with filtering
		constexpr std::size_t GLYPHS_PER_APPEND = 64;

		std::string MakeKey(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder)
		{
			std::ostringstream someKey;
			someKey << aPath << '-' << aSize << '-' << (aBorder > 0);
			return someKey.str();
		}

		TextPlacement PlacementOf(const Text& aText)
		{
			return { aText.GetText(), aText.GetPosition(), aText.GetPivot(), aText.GetScale(), aText.GetRotation() };
		}
	}

	FontManager::~FontManager()
	{
		if (myLibrary)
			FT_Done_FreeType(myLibrary);
	}

	bool FontManager::Init()
	{
		return FT_Init_FreeType(&myLibrary) == 0;
	}

	std::shared_ptr<InternalTextAndFontData> FontManager::LoadFont(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder)
	{
		const std::string someResolved = Settings::ResolveAssetPath(aPath);
		const std::string someKey = MakeKey(aPath, aSize, aBorder);
		if (std::shared_ptr<InternalTextAndFontData> someCached = myFontCache[someKey].lock())
			return someCached;

		auto someFont = std::make_shared<InternalTextAndFontData>();
		myFontCache[someKey] = someFont;
		someFont->myKey = someKey;
		if (!myLibrary || !impl::RasterizeFont(myLibrary, someResolved, aSize, aBorder, *someFont))
		{
			std::cerr << "Font \"" << aPath << "\" could not be loaded" << (someResolved.empty() ? ": file not found" : "") << '\n';
			return nullptr;
		}
		if (!impl::CreateFontAtlas(DX11::ourDevice, DX11::ourContext, *someFont))
		{
			std::cerr << "Font \"" << aPath << "\": the glyph atlas could not be created\n";
			return nullptr;
		}
		return someFont;
	}

	bool FontManager::RenderText(const Text& aText, SpriteShader* aCustomShader)
	{
		const std::shared_ptr<InternalTextAndFontData>& someFont = aText.GetFont();
		GraphicsEngine* someGraphics = GraphicsEngine::GetCurrent();
		if (!someFont || !someFont->myAtlasView || !someGraphics || !someGraphics->GetSpriteDrawer() || !someGraphics->GetGraphicsStateStack())
			return false;

		GraphicsStateStack& someStack = *someGraphics->GetGraphicsStateStack();
		someStack.Push();
		someStack.SetSamplerState(someFont->myFontSize >= SMOOTH_FONT_SIZE_PX ? SamplerFilters::LINEAR : SamplerFilters::POINT, SamplerAddresses::CLAMP);
		{
			SpriteSharedData someShared;
			someShared.myColorTexture = someFont->myAtlasTexture.get();
			someShared.myCustomShader = aCustomShader;
			SpriteBatchScope someBatch = someGraphics->GetSpriteDrawer()->BeginBatch(someShared);
			// Glyphs go to the batch a handful at a time: no allocation per frame, few calls.
			std::array<Sprite2DInstanceData, GLYPHS_PER_APPEND> someSprites;
			std::size_t someCount = 0;
			PlaceText(*someFont, PlacementOf(aText), [&](const GlyphQuad& aQuad) {
				Sprite2DInstanceData& someSprite = someSprites[someCount++];
				someSprite.myPosition = aQuad.myTopLeft;
				someSprite.myPivot = { 0.0f, 0.0f };
				someSprite.mySize = aQuad.mySize;
				someSprite.myColor = aText.GetColor();
				someSprite.mySecondRect = aQuad.myAtlasRect;
				someSprite.myRotation = aQuad.myRotation;
				if (someCount == someSprites.size())
				{
					someBatch.DrawMany(someSprites.data(), someCount);
					someCount = 0;
				}
			});
			someBatch.DrawMany(someSprites.data(), someCount);
		}
		someStack.Pop();
		return true;
	}

	float FontManager::GetTextWidth(const Text& aText) const
	{
		const std::shared_ptr<InternalTextAndFontData>& someFont = aText.GetFont();
		return someFont && !aText.GetText().empty() ? MeasureTextWidth(*someFont, aText.GetText(), aText.GetScale()) : 0.0f;
	}

	float FontManager::GetTextHeight(const Text& aText) const
	{
		const std::shared_ptr<InternalTextAndFontData>& someFont = aText.GetFont();
		return someFont && !aText.GetText().empty() ? MeasureTextHeight(*someFont, aText.GetText(), aText.GetScale()) : 0.0f;
	}
}
