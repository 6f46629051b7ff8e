#pragma once
// One object of a scene: name, transform, the name of its object definition and
// its own property values. Held by shared pointer; copies copy every value
// through its property type.
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"
#include "properties/Property.h"
#include "stringRegistry/StringId.h"

#include <string>
#include <vector>

namespace Norv
{
	class Scene;

	struct SceneTransform
	{
		Vector3<float> translation;
		Vector3<float> rotation; // Euler angles in degrees (x, y, z)
		Vector3<float> scale = DEFAULT_SCALE;
	};

	// A value the object sets for a property of its definition.
	struct PropertyOverride
	{
		StringId name;
		const PropertyTypeBase* type = nullptr;
		Property value;
	};

	class SceneObject
	{
	public:
		void SetName(const char* aName);
		// Without a scene only the path changes. With one, the scene's count for the
		// new path rises, then the old path's count drops (its entry goes at zero).
		void SetPath(Scene* aScene, StringId aPath);
		// Translation from row 4, scale from the row lengths, Euler angles in degrees
		// from the rotation that remains.
		void SetTransformFromMatrix(const Matrix4x4& aMatrix);

		StringId definition; // the object definition's name; null for none
		std::vector<PropertyOverride> properties;
		SceneTransform transform;
		std::string name = "Scene Object";
		StringId path;
	};
}
