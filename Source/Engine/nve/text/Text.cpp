#include "text/Text.h"

#include "engine/Engine.h"
#include "text/FontManager.h"

namespace Norv
{
	namespace
	{
		FontManager* EngineFontManager()
		{
			const Engine* someEngine = Engine::GetInstance();
			return someEngine ? someEngine->GetFontManager() : nullptr;
		}
	}

	Text::Text(std::shared_ptr<InternalTextAndFontData> aFont, FontManager* aFontManager)
		: myFontManager(aFontManager ? aFontManager : EngineFontManager())
		, myFont(std::move(aFont))
	{
	}

	Text::Text(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder, FontManager* aFontManager)
		: myFontManager(aFontManager ? aFontManager : EngineFontManager())
	{
		if (myFontManager)
			myFont = myFontManager->LoadFont(aPath, aSize, aBorder);
	}

	float Text::GetWidth() const
	{
		return myFontManager ? myFontManager->GetTextWidth(*this) : 0.0f;
	}

	float Text::GetHeight() const
	{
		return myFontManager ? myFontManager->GetTextHeight(*this) : 0.0f;
	}

	void Text::Render() const
	{
		if (myFontManager)
			myFontManager->RenderText(*this, nullptr);
	}
}
