#include "shell/widgets/MenuSprites.h"

#include "shell/InputMapper.h"

#include "drawers/SpriteDrawer.h"
#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/TextureManager.h"

namespace Menu
{
	Norv::Vector2<float> GetRenderSize()
	{
		const Norv::Engine* someEngine = Norv::Engine::GetInstance();
		return someEngine ? Norv::Vector2<float>(someEngine->GetRenderSize()) : Norv::Vector2<float>();
	}

	Norv::Vector2<float> GetReferenceScale()
	{
		const Norv::Vector2<float> someSize = GetRenderSize();
		return { someSize.x / REFERENCE_WIDTH, someSize.y / REFERENCE_HEIGHT };
	}

	Norv::Texture* LoadTexture(const std::string& aPath)
	{
		Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
		return someTextures ? someTextures->GetTexture(aPath.c_str(), Norv::TEXTURE_MODE_FORCE_SRGB) : nullptr;
	}

	Norv::Texture* LoadPicture(const std::string& aPath)
	{
		Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
		return someTextures ? someTextures->GetPicture(aPath.c_str(), Norv::TEXTURE_MODE_FORCE_SRGB) : nullptr;
	}

	Norv::Vector2<float> GetTextureSize(const Norv::Texture* aTexture)
	{
		return aTexture ? Norv::Vector2<float>(aTexture->mySize) : Norv::Vector2<float>();
	}

	Norv::Vector2<float> GetMousePosition()
	{
		InputMapper* someInput = InputMapper::GetInstance();
		return someInput ? someInput->GetKeyboardAndMouse().GetMousePosition() : Norv::Vector2<float>(-1.0f, -1.0f);
	}
}

void CreateMenuImage(Norv::SpriteSharedData& aSharedData, Norv::Sprite2DInstanceData& anInstance, const std::string& aPath, float anXFraction, float aYFraction)
{
	aSharedData.myColorTexture = Menu::LoadPicture(aPath);
	const Norv::Vector2<float> someScale = Menu::GetReferenceScale();
	const Norv::Vector2<float> someTextureSize = Menu::GetTextureSize(aSharedData.myColorTexture);
	const Norv::Vector2<float> someRenderSize = Menu::GetRenderSize();
	anInstance.mySize = { someTextureSize.x * someScale.x, someTextureSize.y * someScale.y };
	anInstance.myPivot = { 0.5f, 0.5f };
	anInstance.myPosition = { someRenderSize.x * anXFraction, someRenderSize.y * aYFraction };
}

void DrawSpriteInstance(Norv::SpriteDrawer& aDrawer, const Norv::SpriteSharedData& aSharedData, const Norv::Sprite2DInstanceData& anInstance)
{
	Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	Norv::Texture* someTexture = aSharedData.myColorTexture;
	// Interface units are pixels.
	const Norv::Vector2<float> someDrawnSize{ anInstance.mySize.x * anInstance.mySizeScale.x, anInstance.mySize.y * anInstance.mySizeScale.y };
	if (someTexture && someTexture->myIsPicture && someTextures)
		someTextures->FitPicture(*someTexture, someDrawnSize);
	if (!someTexture || !someStates || !Norv::TextureManager::IsHeldAtDrawnSize(*someTexture, someDrawnSize))
	{
		Norv::SpriteBatchScope someBatch = aDrawer.BeginBatch(aSharedData);
		someBatch.Draw(anInstance);
		return;
	}
	// The picture holds what the sampler made of the whole texture at this size:
	// read texel for pixel, it is drawn as it is.
	someStates->Push();
	someStates->SetSamplerState(Norv::SamplerFilters::LINEAR, someStates->GetTop().mySamplerAddress);
	{
		Norv::SpriteBatchScope someBatch = aDrawer.BeginBatch(aSharedData);
		someBatch.Draw(anInstance);
	}
	someStates->Pop();
}

void DrawSpriteInstance(const Norv::SpriteSharedData& aSharedData, const Norv::Sprite2DInstanceData& anInstance)
{
	Norv::GraphicsEngine* someGraphics = Norv::GraphicsEngine::GetCurrent();
	if (someGraphics && someGraphics->GetSpriteDrawer())
		DrawSpriteInstance(*someGraphics->GetSpriteDrawer(), aSharedData, anInstance);
}
