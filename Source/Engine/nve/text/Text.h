#pragma once
// One string drawn in a font at a position, with pivot, scale, rotation and
// colour. A value type: copies share the font.
#include "Math/Color.h"
#include "Math/Vector.h"
#include "text/FontData.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Norv
{
	class FontManager;

	class Text
	{
	public:
		// aFontManager null: the engine's font service (none without an engine).
		explicit Text(std::shared_ptr<InternalTextAndFontData> aFont, FontManager* aFontManager = nullptr);
		// Loads the font through the font service.
		Text(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder, FontManager* aFontManager = nullptr);

		void SetText(std::string aText) { myText = std::move(aText); }
		const std::string& GetText() const { return myText; }
		void SetPosition(const Vector2<float>& aPosition) { myPosition = aPosition; }
		const Vector2<float>& GetPosition() const { return myPosition; }
		void SetPivot(const Vector2<float>& aPivot) { myPivot = aPivot; }
		const Vector2<float>& GetPivot() const { return myPivot; }
		void SetScale(float aScale) { myScale = aScale; }
		float GetScale() const { return myScale; }
		void SetRotation(float aRadians) { myRotation = aRadians; }
		float GetRotation() const { return myRotation; }
		void SetColor(const Color& aColor) { myColor = aColor; }
		const Color& GetColor() const { return myColor; }
		const std::shared_ptr<InternalTextAndFontData>& GetFont() const { return myFont; }

		// 0 without a font service (or font).
		float GetWidth() const;
		float GetHeight() const;
		// Draws the text; nothing without a font service.
		void Render() const;

	private:
		FontManager* myFontManager;
		std::shared_ptr<InternalTextAndFontData> myFont;
		std::string myText;
		Vector2<float> myPosition;
		Vector2<float> myPivot;
		float myScale = 1.0f;
		float myRotation = 0.0f;
		Color myColor;
	};
}
