#pragma once
// Whether everything a model instance draws is fully opaque (alpha 1 in every
// pixel), so that it may be drawn in any order with depth writes instead of
// blended far to near: every mesh's vertex colours have alpha 1 and its colour
// texture (the shader's default for a null one) has alpha 255 in every texel.
// Textures are read back from the GPU: for level building, not per frame.
#include <unordered_map>

namespace Norv
{
	struct Texture;
	class ModelInstance;
	class ModelShader;

	// Answers already found, per texture, for the length of one build.
	using TextureOpacityCache = std::unordered_map<const Texture*, bool>;

	// True when the colour texture's top level has alpha 255 everywhere; false for
	// formats whose alpha cannot be read here (block-compressed) and failed reads.
	bool IsOpaque(const Texture& aTexture);
	// True when drawn with aShader the instance writes alpha 1 everywhere; false
	// without a model.
	bool IsOpaque(const ModelInstance& anInstance, const ModelShader& aShader, TextureOpacityCache& aCache);
}
