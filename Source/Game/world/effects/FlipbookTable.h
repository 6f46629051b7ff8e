#pragma once
// The effect ids' sprite sheets: which sheet, grid, frame time, whether it loops
// and how it is placed. Ids 0 to 26 exist; anything else is no effect.
#include <cstdint>

namespace FlipbookTable
{
	inline constexpr int EFFECT_COUNT = 27;

	struct Sheet
	{
		const char* myPath;
		float myFrameTime; // seconds per step
		int myColumns;
		int myRows;
		bool myLoops;
	};

	// Null for an id outside the table.
	const Sheet* Find(int anId);

	// Ids 2 to 5 are the dash sheets: two frames per step and their own placement.
	constexpr bool IsDash(int anId) { return anId >= 2 && anId <= 5; }
	constexpr int GetFrameStep(int anId) { return IsDash(anId) ? 2 : 1; }
	// Ids whose frame size is twice the sheet's cell.
	constexpr bool HasDoubleCell(int anId) { return anId == 9 || anId == 24 || anId == 25 || anId == 26; }
	// Ids drawn at twice their placed size (the corner keeps the single-size offsets).
	constexpr bool IsDrawnDouble(int anId) { return anId == 0 || anId == 1 || anId == 6 || anId == 20; }
}
