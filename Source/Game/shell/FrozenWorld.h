#pragma once
// The frame of a world that is not updated: the play state's while a menu covers
// it, the level's while the opening video plays over it. What it draws stays the
// same, so it is drawn once, kept as a copy of the back buffer, and copied back
// every frame until the world moves again, the back buffer changes size, or the
// copy is dropped.
#include "d3d11/ComPtr.h"
#include "d3d11/d3d11.h"

#include <functional>

class FrozenWorld
{
public:
	// aDraw draws the world over the cleared back buffer. While the kept copy is
	// valid and of the back buffer's size it is copied back instead; otherwise the
	// world is drawn and the back buffer kept as the new copy.
	void Draw(const std::function<void()>& aDraw);
	// The next Draw draws the world again: it was updated, left or unloaded.
	void Invalidate() { myIsValid = false; }
	// Drops the copy and its memory.
	void Release();

private:
	// The copy has the size and format of a back buffer described by aDesc.
	bool IsLike(const D3D11_TEXTURE2D_DESC& aDesc) const;
	// The copy's texture, made anew unless it is like aDesc already; false when it cannot be made.
	bool MakePictureLike(const D3D11_TEXTURE2D_DESC& aDesc);

	Microsoft::WRL::ComPtr<ID3D11Texture2D> myPicture;
	bool myIsValid = false;
};
