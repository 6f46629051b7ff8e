#pragma once
// Text painted into the generated pictures with FreeType, from the game's own
// fonts: a coverage mask per line, and a painter that adds an outline and a
// soft drop shadow the way hand-lettered titles have them.
#include "Canvas.h"

#include <memory>
#include <string>

namespace NorvMedia
{
	struct TextStyle
	{
		Rgba myFill = { 1, 1, 1, 1 };
		Rgba myOutline = { 0, 0, 0, 0 };
		float myOutlineWidth = 0.0f; // pixels
		Rgba myShadow = { 0, 0, 0, 0 };
		float myShadowOffset = 0.0f;  // pixels, down and to the right
	};

	class Lettering
	{
	public:
		explicit Lettering(const std::string& aFontPath); // throws std::runtime_error when the font cannot be read
		~Lettering();
		Lettering(const Lettering&) = delete;
		Lettering& operator=(const Lettering&) = delete;

		// Width of aText in pixels at aPixelSize.
		float Measure(const std::string& aText, int aPixelSize);
		// Paints one line centred on (cx, cy), the centre taken on the capital height.
		void Paint(Canvas& aCanvas, const std::string& aText, int aPixelSize, float cx, float cy, const TextStyle& aStyle);

	private:
		struct Face;
		std::unique_ptr<Face> myFace;
	};
}
