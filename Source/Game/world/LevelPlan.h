#pragma once
// The objects of a loaded scene that its level is built from, chosen before
// anything of the level in play is touched: in file order, those whose object
// definition is registered and whose placement keeps the limits, each with its
// merged property list and category. What is left out is reported on standard
// error (a missing definition once, however many objects name it), and so is
// every model path of the definitions used that resolves nowhere. Whether the
// level can be played is judged from the plan, that is from what will be built.
#include "scene/ObjectDefinition.h"
#include "scene/Scene.h"

#include "Math/Vector.h"

#include <string>
#include <vector>

enum class ObjectCategory { None, Entity, Tile, Prop, System };

struct PlannedObject
{
	const Norv::SceneObject* object = nullptr;
	const Norv::ObjectDefinition* definition = nullptr;
	std::vector<Norv::PropertyDefinition> properties;
	ObjectCategory category = ObjectCategory::None;
	Norv::StringId entityType; // an entity's "entityId"; null for the others
};

struct LevelPlan
{
	std::vector<PlannedObject> objects;
	bool isSceneRead = true;  // every file of the scene could be read
	bool isSceneEmpty = true; // the scene held no object at all

	// Why the level cannot be played: no "Player" will be built, or the last one
	// starts below the line where a fall brings the player back, or over no ground.
	// Empty when it can.
	std::string FindUnplayableReason() const;
};

LevelPlan PlanLevel(const Norv::Scene& aScene, bool anIsSceneRead, const Norv::ObjectDefinitionRegistry& aDefinitions, const std::string& aScenePath);

// Where an entity of the object is placed: its translation moved by every
// "colliderOffset" of its list.
Norv::Vector2<float> GetPlacedPosition(const PlannedObject& anObject);

// The tile coordinate of a translation: rounded, divided by the tile size, truncated toward zero.
int ToTileCoordinate(float aTranslation);
