#include "world/LevelPlan.h"

#include "world/PlacementLimits.h"
#include "world/TileCollisionGrid.h"
#include "world/entities/Player.h"

#include "properties/AssetReferenceProperties.h"
#include "settings/settings.h"
#include "stringRegistry/StringRegistry.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <set>
#include <sstream>
#include <utility>

namespace
{
	Norv::StringId Name(std::string_view aText)
	{
		return Norv::StringRegistry::RegisterOrGetString(aText);
	}

	// Decided by the first marker property of the list.
	ObjectCategory FindCategory(const std::vector<Norv::PropertyDefinition>& aProperties, Norv::StringId& anEntityType)
	{
		static const Norv::StringId ourEntity = Name("entityId"), ourTile = Name("tileId"), ourProp = Name("prop"), ourSystem = Name("system");
		for (const Norv::PropertyDefinition& someProperty : aProperties)
		{
			if (someProperty.name == ourEntity)
			{
				const Norv::StringId* someType = someProperty.value.TryGet<Norv::StringId>();
				anEntityType = someType ? *someType : Norv::StringId();
				return ObjectCategory::Entity;
			}
			if (someProperty.name == ourTile)
				return ObjectCategory::Tile;
			if (someProperty.name == ourProp)
				return ObjectCategory::Prop;
			if (someProperty.name == ourSystem)
				return ObjectCategory::System;
		}
		return ObjectCategory::None;
	}

	// The objects skipped for one definition name that is not registered.
	struct MissingDefinition
	{
		Norv::StringId name;
		std::size_t count = 0;
		std::string firstObject;
	};

	void ReportMissingDefinitions(const std::vector<MissingDefinition>& aMissing, const std::string& aScenePath)
	{
		for (const MissingDefinition& someMissing : aMissing)
		{
			const bool someIsOne = someMissing.count == 1;
			std::cerr << "Scene \"" << aScenePath << "\": ";
			if (someIsOne)
				std::cerr << "object \"" << someMissing.firstObject << "\" is skipped: ";
			else
				std::cerr << someMissing.count << " objects are skipped (the first is \"" << someMissing.firstObject << "\"): ";
			if (someMissing.name)
				std::cerr << (someIsOne ? "its" : "their") << " object definition \"" << someMissing.name.c_str() << "\" is not registered\n";
			else
				std::cerr << (someIsOne ? "it names" : "they name") << " no object definition\n";
		}
	}

	// Every model path of the definitions used that resolves nowhere, once per
	// definition and path, whether the definition or an object's override gave it.
	class ModelPathCheck
	{
	public:
		void Check(const PlannedObject& anObject)
		{
			for (const Norv::PropertyDefinition& someProperty : anObject.properties)
			{
				const Norv::SceneModelHandle* someModel = someProperty.value.TryGet<Norv::SceneModelHandle>();
				const Norv::StringId somePath = someModel ? someModel->Get().myPath : Norv::StringId();
				if (!somePath || !myChecked.emplace(anObject.definition, somePath.c_str()).second)
					continue;
				if (Norv::Settings::ResolveAssetPath(somePath.View()).empty())
				{
					std::cerr << "Object definition \"" << anObject.definition->path << "\": property \"" << someProperty.name.c_str() << "\" names the model \""
						<< somePath.c_str() << "\", which is in no asset folder: it is not drawn\n";
				}
			}
		}

	private:
		std::set<std::pair<const Norv::ObjectDefinition*, const char*>> myChecked;
	};

	float GetColliderWidth(const PlannedObject& aPlayer)
	{
		static const Norv::StringId ourColliderSize = Name("colliderSize");
		float someWidth = Player::COLLIDER_SIZE.x;
		for (const Norv::PropertyDefinition& someProperty : aPlayer.properties)
			if (const auto* someSize = someProperty.value.TryGet<Norv::Vector2<float>>(); someSize && someProperty.name == ourColliderSize)
				someWidth = someSize->x;
		return someWidth;
	}

	// Some tile of the plan lies in the columns a box of aWidth at aStart spans,
	// reaching below its centre and above the line where a fall brings the player back.
	bool HasGroundUnder(const std::vector<PlannedObject>& anObjects, Norv::Vector2<float> aStart, float aWidth)
	{
		constexpr float HALF_TILE = TileCollisionGrid::TILE_SIZE / 2.0f;
		return std::any_of(anObjects.begin(), anObjects.end(), [&](const PlannedObject& anObject) {
			if (anObject.category != ObjectCategory::Tile)
				return false;
			const Norv::Vector3<float>& somePlace = anObject.object->transform.translation;
			const float someX = static_cast<float>(ToTileCoordinate(somePlace.x)) * TileCollisionGrid::TILE_SIZE;
			const float someY = static_cast<float>(ToTileCoordinate(somePlace.y)) * TileCollisionGrid::TILE_SIZE;
			return std::abs(someX - aStart.x) < HALF_TILE + aWidth / 2.0f && someY - HALF_TILE < aStart.y && !Player::IsBelowWorld(someY + HALF_TILE);
		});
	}
}

LevelPlan PlanLevel(const Norv::Scene& aScene, bool anIsSceneRead, const Norv::ObjectDefinitionRegistry& aDefinitions, const std::string& aScenePath)
{
	LevelPlan somePlan;
	somePlan.isSceneRead = anIsSceneRead;
	somePlan.isSceneEmpty = aScene.objects.empty();
	std::vector<MissingDefinition> someMissing;
	ModelPathCheck someModelPaths;
	// In the scene's file order, whatever ids earlier scenes gave the same GUIDs.
	for (const std::uint32_t someId : aScene.order)
	{
		const Norv::SceneObject& someObject = *aScene.objects.at(someId);
		const Norv::ObjectDefinition* someDefinition = aDefinitions.Find(someObject.definition);
		if (!someDefinition)
		{
			auto someFound = std::find_if(someMissing.begin(), someMissing.end(), [&](const MissingDefinition& aMissing) { return aMissing.name == someObject.definition; });
			if (someFound == someMissing.end())
				someFound = someMissing.insert(someMissing.end(), { someObject.definition, 0, someObject.name });
			++someFound->count;
			continue;
		}
		PlannedObject somePlanned;
		somePlanned.object = &someObject;
		somePlanned.definition = someDefinition;
		Norv::CollectObjectProperties(someObject, aDefinitions, somePlanned.properties);
		if (const std::string someOutOfRange = PlacementLimits::FindOutOfRange(someObject, somePlanned.properties); !someOutOfRange.empty())
		{
			std::cerr << "Scene \"" << aScenePath << "\": object \"" << someObject.name << "\" has " << someOutOfRange << ", not finite or past "
					  << PlacementLimits::MAX_MAGNITUDE << ", and is skipped\n";
			continue;
		}
		somePlanned.category = FindCategory(somePlanned.properties, somePlanned.entityType);
		someModelPaths.Check(somePlanned);
		somePlan.objects.push_back(std::move(somePlanned));
	}
	ReportMissingDefinitions(someMissing, aScenePath);
	return somePlan;
}

std::string LevelPlan::FindUnplayableReason() const
{
	static const Norv::StringId ourPlayer = Name("Player");
	const auto somePlayer = std::find_if(objects.rbegin(), objects.rend(), [](const PlannedObject& anObject) {
		return anObject.category == ObjectCategory::Entity && anObject.entityType == ourPlayer;
	});
	if (somePlayer == objects.rend())
		return !isSceneRead ? "its files could not be read" : isSceneEmpty ? "it has no objects" : "it has no player";
	const Norv::Vector2<float> someStart = GetPlacedPosition(*somePlayer);
	std::ostringstream someReason;
	if (Player::IsBelowWorld(someStart.y))
		someReason << "its player starts at y " << someStart.y << ", below the line at y " << Player::FALL_OUT_TILES * TileCollisionGrid::TILE_SIZE
				   << " where a fall brings the player back";
	else if (!HasGroundUnder(objects, someStart, GetColliderWidth(*somePlayer)))
		someReason << "there is no ground under its player's start at (" << someStart.x << ", " << someStart.y << ")";
	return someReason.str();
}

Norv::Vector2<float> GetPlacedPosition(const PlannedObject& anObject)
{
	static const Norv::StringId ourColliderOffset = Name("colliderOffset");
	const Norv::Vector3<float>& someTranslation = anObject.object->transform.translation;
	Norv::Vector2<float> somePosition{ someTranslation.x, someTranslation.y };
	for (const Norv::PropertyDefinition& someProperty : anObject.properties)
		if (const auto* someOffset = someProperty.value.TryGet<Norv::Vector2<float>>(); someOffset && someProperty.name == ourColliderOffset)
			somePosition += *someOffset;
	return somePosition;
}

int ToTileCoordinate(float aTranslation)
{
	return static_cast<int>(std::round(aTranslation) / TileCollisionGrid::TILE_SIZE);
}
