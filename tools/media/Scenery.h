#pragma once
// The game's painted world for pictures and cutscene frames: forest backdrops in
// the four moods of the levels, the flower-headed hero, the hedgehog and flowers.
// Sizes are given in pixels of the target picture; y grows downwards.
#include "Canvas.h"

#include <cstdint>

namespace NorvMedia
{
	enum class Mood { Day, Dusk, Cave, Mist };

	namespace Palette
	{
		const Rgba BARK = Hex(0x6B4A2F);
		const Rgba DARK_BARK = Hex(0x3E2A1C);
		const Rgba WOOD = Hex(0x9A6B3F);
		const Rgba LIGHT_WOOD = Hex(0xC89A62);
		const Rgba LEAF = Hex(0x5E9A3A);
		const Rgba DARK_LEAF = Hex(0x2F5E2A);
		const Rgba MOSS = Hex(0x8DBA4E);
		const Rgba CREAM = Hex(0xF6E7C8);
		const Rgba PETAL_PINK = Hex(0xF28CA8);
		const Rgba PETAL_RED = Hex(0xE0524A);
		const Rgba SUN_YELLOW = Hex(0xF7C948);
		const Rgba INK = Hex(0x3A2618);
	}

	// Sky, far hills, trees, near ground with grass and flowers, then brush grain.
	// aGroundLine: the fraction of the height where the near ground begins.
	void PaintBackdrop(Canvas& aCanvas, Mood aMood, std::uint32_t aSeed, float aGroundLine = 0.78f, float aScroll = 0.0f);
	void PaintTree(Canvas& aCanvas, float x, float aGroundY, float aHeight, const Rgba& aLeaves, std::uint32_t aSeed);
	// The hero standing at (x, aFeetY), aHeight tall; aStep 0..1 swings the legs, aFacing +1 right, -1 left.
	void PaintHero(Canvas& aCanvas, float x, float aFeetY, float aHeight, float aStep, float aFacing);
	// A hedgehog standing at (x, aFeetY), aHeight tall, facing left; aAngry draws red eyes.
	void PaintHedgehog(Canvas& aCanvas, float x, float aFeetY, float aHeight, bool anAngry);
	// A flower on a stem, head at aHeight above aGroundY; aOpen 0..1 opens the petals.
	void PaintStemFlower(Canvas& aCanvas, float x, float aGroundY, float aHeight, float aOpen, const Rgba& aPetal);
	// A wooden board with rounded corners, lit from above, centred on (cx, cy);
	// dark walnut behind light menu text, else light oak.
	void PaintBoard(Canvas& aCanvas, float cx, float cy, float aHalfWidth, float aHalfHeight, std::uint32_t aSeed, bool anIsDark);
}
