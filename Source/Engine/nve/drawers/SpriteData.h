#pragma once
// What callers give the sprite drawer: one record per 2D or 3D sprite, and the
// textures (and optional shader) one batch of them shares.
#include "Math/Color.h"
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"

namespace Norv
{
	struct Texture;
	class SpriteShader;

	struct Sprite2DInstanceData
	{
		Vector2<float> myPosition;
		// The point placed at the position, as fractions of the size: x from the
		// left edge, y down from the top edge.
		Vector2<float> myPivot{ 0.5f, 0.5f };
		Vector2<float> mySize{ 1.0f, 1.0f };
		Vector2<float> mySizeScale{ 1.0f, 1.0f };
		// The part of the texture area shown; (0, 0, 1, 1) is all of it.
		Vector4<float> myUvRect{ 0.0f, 0.0f, 1.0f, 1.0f };
		Color myColor;
		// The texture area (left, top, right, bottom); right < left mirrors.
		Vector4<float> mySecondRect{ 0.0f, 0.0f, 1.0f, 1.0f };
		float myRotation = 0.0f; // radians
		bool myIsHidden = false;
	};

	struct Sprite3DInstanceData
	{
		Matrix4x4 myTransform;
		Vector4<float> myUvRect{ 0.0f, 0.0f, 1.0f, 1.0f };
		Color myColor;
		Vector4<float> mySecondRect{ 0.0f, 0.0f, 1.0f, 1.0f };
		bool myIsHidden = false;
	};

	// Null textures take the defaults: "WhiteSquare" for colour, the sprite
	// shader's own for the others; a null shader is the drawer's default one.
	struct SpriteSharedData
	{
		Texture* myColorTexture = nullptr;
		Texture* myNormalTexture = nullptr;
		Texture* myMaterialTexture = nullptr;
		Texture* myEffectsTexture = nullptr;
		SpriteShader* myCustomShader = nullptr;
	};
}
