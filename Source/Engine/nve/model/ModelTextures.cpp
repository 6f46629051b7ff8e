#include "model/ModelTextures.h"

#include "graphics/TextureManager.h"
#include "model/Model.h"
#include "model/ModelFactory.h"

#include <string>

namespace Norv
{
	namespace
	{
		constexpr ModelTextureLookup LOOKUPS[MODEL_TEXTURE_KIND_COUNT] = {
			{ { "_C.dds", "_D.dds" }, "Textures/T_Default_c.dds", TEXTURE_MODE_FORCE_SRGB },
			{ { "_N.dds", nullptr }, "Textures/T_Default_n.dds", TEXTURE_MODE_IGNORE_SRGB },
			{ { "_M.dds", nullptr }, "Textures/T_Default_m.dds", TEXTURE_MODE_IGNORE_SRGB },
			{ { "_FX.dds", nullptr }, "Textures/T_Default_fx.dds", TEXTURE_MODE_IGNORE_SRGB },
		};

		// The first candidate the manager can load: mesh base with each suffix,
		// then model base with each suffix, then the default.
		Texture* LoadKind(std::uint32_t aKind, const std::string& aModelBase, const std::string& aMeshBase)
		{
			TextureManager* someManager = TextureManager::GetCurrent();
			if (!someManager)
				return nullptr;
			const ModelTextureLookup& someLookup = LOOKUPS[aKind];
			for (const std::string* someBase : { &aMeshBase, &aModelBase })
				for (const char* someSuffix : someLookup.myMeshSuffixes)
					if (someSuffix)
						if (Texture* someTexture = someManager->TryGetTexture((*someBase + someSuffix).c_str(), someLookup.mySrgbMode))
							return someTexture;
			return someManager->GetTexture(someLookup.myDefault, someLookup.mySrgbMode, false);
		}
	}

	const ModelTextureLookup& GetModelTextureLookup(std::uint32_t aKind)
	{
		return LOOKUPS[aKind];
	}

	Texture* GetDefaultModelTexture(std::uint32_t aKind)
	{
		TextureManager* someManager = TextureManager::GetCurrent();
		const ModelTextureLookup& someLookup = LOOKUPS[aKind];
		return someManager ? someManager->GetTexture(someLookup.myDefault, someLookup.mySrgbMode, false) : nullptr;
	}

	Texture* ModelFactory::LoadColorTexture(const std::string& aModelBase, const std::string& aMeshBase)
	{
		return LoadKind(MODEL_TEXTURE_COLOR, aModelBase, aMeshBase);
	}

	Texture* ModelFactory::LoadNormalTexture(const std::string& aModelBase, const std::string& aMeshBase)
	{
		return LoadKind(MODEL_TEXTURE_NORMAL, aModelBase, aMeshBase);
	}

	Texture* ModelFactory::LoadMaterialTexture(const std::string& aModelBase, const std::string& aMeshBase)
	{
		return LoadKind(MODEL_TEXTURE_MATERIAL, aModelBase, aMeshBase);
	}

	Texture* ModelFactory::LoadEffectsTexture(const std::string& aModelBase, const std::string& aMeshBase)
	{
		return LoadKind(MODEL_TEXTURE_EFFECTS, aModelBase, aMeshBase);
	}

	std::string ModelFactory::GetModelBase(const std::string& aPath)
	{
		// Only the file's own extension goes: a dot in a folder name stays.
		const std::size_t someSlash = aPath.find_last_of("/\\");
		const std::size_t someFileStart = someSlash == std::string::npos ? 0 : someSlash + 1;
		const std::size_t someDot = aPath.find('.', someFileStart);
		return someDot == std::string::npos ? aPath : aPath.substr(0, someDot);
	}

	void ModelFactory::LoadModelTextures(const std::string& aPath, Model& aModel)
	{
		const std::string someModelBase = GetModelBase(aPath);
		const std::size_t someSlash = aPath.find_last_of("/\\");
		const std::string someDirectory = someSlash == std::string::npos ? std::string() : aPath.substr(0, someSlash + 1);
		ModelTextureTable& someTable = aModel.GetTextures();
		const std::vector<MeshData>& someMeshes = aModel.GetMeshes();
		for (std::size_t i = 0; i < someMeshes.size() && i < MAX_MESHES_PER_MODEL; ++i)
		{
			const std::string someMeshBase = someDirectory + someMeshes[i].myMaterialName;
			someTable[i][MODEL_TEXTURE_COLOR] = LoadColorTexture(someModelBase, someMeshBase);
			someTable[i][MODEL_TEXTURE_NORMAL] = LoadNormalTexture(someModelBase, someMeshBase);
			someTable[i][MODEL_TEXTURE_MATERIAL] = LoadMaterialTexture(someModelBase, someMeshBase);
			someTable[i][MODEL_TEXTURE_EFFECTS] = LoadEffectsTexture(someModelBase, someMeshBase);
		}
	}
}
