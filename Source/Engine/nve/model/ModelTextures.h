#pragma once
// The model textures' names: the file-name suffixes tried per kind and the
// default file that ends every lookup.
#include <cstdint>

namespace Norv
{
	struct Texture;

	struct ModelTextureLookup
	{
		const char* myMeshSuffixes[2]; // tried on the mesh base, then on the model base; null ends
		const char* myDefault;
		std::uint32_t mySrgbMode;
	};

	// The lookup of aKind (colour, normal, material, effects).
	const ModelTextureLookup& GetModelTextureLookup(std::uint32_t aKind);
	// The default texture of aKind from the current texture manager (its
	// placeholder when the file is missing); null without a manager.
	Texture* GetDefaultModelTexture(std::uint32_t aKind);
}
