#pragma once
// Drawing and layout helpers every menu picture shares: the render size, the
// 2560 x 1440 reference the menu art is laid out for, and one sprite drawn in a
// batch of its own.
#include "Math/Vector.h"
#include "drawers/SpriteData.h"

#include <string>

namespace Norv
{
	class SpriteDrawer;
	struct Texture;
}

namespace Menu
{
	constexpr float REFERENCE_WIDTH = 2560.0f;  // pixels
	constexpr float REFERENCE_HEIGHT = 1440.0f; // pixels
	constexpr const char* MENU_FONT_PATH = "../Source/Game/data/UI/Melon_Pop.ttf";

	// The engine's render size; (0, 0) without an engine.
	Norv::Vector2<float> GetRenderSize();
	// (render width / 2560, render height / 1440).
	Norv::Vector2<float> GetReferenceScale();
	// A menu texture in the "#SRGB" colour mode; the placeholder when it cannot be
	// loaded, null only without a texture manager.
	Norv::Texture* LoadTexture(const std::string& aPath);
	// The same for a picture drawn at one size at a time (a full-window background):
	// uploaded at the size DrawSpriteInstance first draws it, without mips.
	Norv::Texture* LoadPicture(const std::string& aPath);
	// The texture's size in pixels; (0, 0) for null.
	Norv::Vector2<float> GetTextureSize(const Norv::Texture* aTexture);
	// The mouse in interface pixels (origin bottom-left); (-1, -1) without input.
	Norv::Vector2<float> GetMousePosition();
}

// A full-screen menu picture (Menu::LoadPicture): the texture scaled to the
// render size by the reference, pivot in the centre, at the given fractions of the
// render size.
void CreateMenuImage(Norv::SpriteSharedData& aSharedData, Norv::Sprite2DInstanceData& anInstance, const std::string& aPath, float anXFraction, float aYFraction);
// One sprite in a batch of its own; a picture is fitted to the size it is drawn at first.
void DrawSpriteInstance(Norv::SpriteDrawer& aDrawer, const Norv::SpriteSharedData& aSharedData, const Norv::Sprite2DInstanceData& anInstance);
// The same with the engine's sprite drawer; nothing without one.
void DrawSpriteInstance(const Norv::SpriteSharedData& aSharedData, const Norv::Sprite2DInstanceData& anInstance);
