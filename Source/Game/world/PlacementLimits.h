#pragma once
// The range a level's placements must keep. Entities turn positions into integer
// tile coordinates; a value past this range (or not finite) would overflow them,
// so level building refuses the object that carries it.
#include "scene/ObjectDefinition.h"
#include "scene/SceneObject.h"

#include <string>
#include <vector>

namespace PlacementLimits
{
	// World units, degrees and scale factors alike: 100,000 tiles either way of the
	// origin, far inside the tile grid's integer range and where floats still hold
	// whole units.
	constexpr float MAX_MAGNITUDE = 1.0e7f;

	// Empty when the object's transform and every float value of its properties are
	// finite and within MAX_MAGNITUDE; otherwise the first value that is not, as
	// "translation (1e+30, 0, 0)" for the report.
	std::string FindOutOfRange(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties);
}
