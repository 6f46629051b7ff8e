// The json loaders: the settings file, scenes in both forms and object definitions.
#include "FuzzTargets.h"
#include "Scratch.h"

#include "scene/ObjectDefinition.h"
#include "scene/Scene.h"
#include "scene/SceneSerialize.h"
#include "settings/settings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace NorvFuzz
{
	namespace
	{
		constexpr std::string_view ASSET_SETTINGS = R"({"window_settings": {"title": ""}, "assets_path": {"engine": "engine", "game": "game"}})";
		constexpr const char* SCENE_NAME = "scenes/Fuzz.nvs";

		Input Bytes(std::string_view aText)
		{
			return { reinterpret_cast<const std::uint8_t*>(aText.data()), aText.size() };
		}

		// Points the asset folders into the scratch folder, once.
		void UseScratchAssets()
		{
			static const bool ourIsSet = [] {
				WriteScratch("settings/Game.json", Bytes(ASSET_SETTINGS));
				return Norv::LoadSettings("Game.json");
			}();
			(void)ourIsSet;
		}

		bool IsFinite(const Norv::Vector3<float>& aVector)
		{
			return std::isfinite(aVector.x) && std::isfinite(aVector.y) && std::isfinite(aVector.z);
		}

		// Every stored object is whole: a finite transform and each value of its declared type.
		bool IsConsistent(const Norv::Scene& aScene)
		{
			if (aScene.order.size() != aScene.objects.size()
				|| !std::all_of(aScene.order.begin(), aScene.order.end(), [&](std::uint32_t anId) { return aScene.objects.contains(anId); }))
				return Inconsistent("an object order that does not list every object once");
			for (const auto& [someId, someObject] : aScene.objects)
			{
				if (!someObject || !IsFinite(someObject->transform.translation) || !IsFinite(someObject->transform.rotation)
					|| !IsFinite(someObject->transform.scale))
					return Inconsistent("an object with no record or a transform that is not finite");
				for (const Norv::PropertyOverride& someOverride : someObject->properties)
				{
					if (someOverride.type == nullptr || someOverride.value.GetType() != someOverride.type)
						return Inconsistent("a value unlike its declared type");
				}
			}
			return true;
		}

		bool LoadScratchScene()
		{
			Norv::Scene someScene;
			Norv::SceneSerialize::LoadScene(SCENE_NAME, someScene);
			return IsConsistent(someScene);
		}
	}

	bool RunSettings(Input aInput)
	{
		WriteScratch("settings/Fuzz.json", aInput);
		try
		{
			Norv::LoadSettings("Fuzz.json");
		}
		catch (const nlohmann::json::exception&)
		{
			// The program reports these and does not start: a refusal.
		}
		return true;
	}

	bool RunScene(Input aInput)
	{
		UseScratchAssets();
		WriteScratch("game/scenes/Fuzz.leveldata_new/leveldata.json", aInput);
		return LoadScratchScene();
	}

	bool RunSceneFolder(Input aInput)
	{
		UseScratchAssets();
		RemoveScratch("game/scenes/Fuzz.leveldata");
		WriteScratch("game/scenes/Fuzz.leveldata/0a000000-0000-4000-8000-00000000000a", aInput);
		return LoadScratchScene();
	}

	bool RunObjectDefinition(Input aInput)
	{
		UseScratchAssets();
		WriteScratch("game/definitions/Fuzz.nvo", aInput);
		Norv::ObjectDefinition someDefinition;
		if (!Norv::ReadObjectDefinition(someDefinition, "definitions/Fuzz.nvo"))
			return true;
		for (const Norv::PropertyDefinition& someProperty : someDefinition.properties)
		{
			if (someProperty.type == nullptr || someProperty.value.GetType() != someProperty.type)
				return Inconsistent("a default unlike its declared type");
		}
		return true;
	}
}
