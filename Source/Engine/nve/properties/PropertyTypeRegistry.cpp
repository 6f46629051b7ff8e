#include "properties/AssetReferenceProperties.h"
#include "properties/PlainPropertyTypes.h"
#include "properties/PropertyType.h"
#include "properties/PropertyVector.h"
#include "properties/SceneReferenceProperty.h"
#include "properties/StringIdText.h"
#include "stringRegistry/StringRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace Norv
{
	// ---------------------------------------------------------------- registry

	namespace
	{
		// Constant-initialised, so registrations from any static initialiser find them ready.
		constinit PropertyTypeBase* ourTypes[MAX_PROPERTY_TYPES] = {};
		constinit std::uint32_t ourTypeCount = 0;
		constinit bool ourIsBuilt = false;

		struct TypeLookup
		{
			std::unordered_map<StringId, PropertyTypeBase*, StringIdTextHash> myByName;
			std::vector<StringId> mySortedNames;
		};

		TypeLookup& GetLookup()
		{
			static TypeLookup ourLookup;
			return ourLookup;
		}
	}

	PropertyTypeBase::PropertyTypeBase(const char* aDisplayName)
	{
		if (ourIsBuilt || ourTypeCount == MAX_PROPERTY_TYPES)
			std::abort();
		myDisplayName = aDisplayName;
		myIndex = ourTypeCount;
		ourTypes[ourTypeCount++] = this;
	}

	void PropertyTypeBase::BuildRegistry()
	{
		ourIsBuilt = true;
		TypeLookup& someLookup = GetLookup();
		someLookup.mySortedNames.reserve(ourTypeCount);
		for (std::uint32_t someIndex = 0; someIndex < ourTypeCount; ++someIndex)
		{
			PropertyTypeBase* someType = ourTypes[someIndex];
			someType->myName = StringRegistry::RegisterOrGetString(someType->myDisplayName);
			someLookup.myByName[someType->myName] = someType;
			someLookup.mySortedNames.push_back(someType->myName);
		}
		std::sort(someLookup.mySortedNames.begin(), someLookup.mySortedNames.end(), StringIdTextLess());
	}

	std::span<const StringId> PropertyTypeBase::GetAllTypes()
	{
		if (!ourIsBuilt)
			BuildRegistry();
		return GetLookup().mySortedNames;
	}

	PropertyTypeBase* PropertyTypeBase::FindType(StringId aName)
	{
		if (!ourIsBuilt)
			BuildRegistry();
		const TypeLookup& someLookup = GetLookup();
		const auto someFound = someLookup.myByName.find(aName);
		return someFound == someLookup.myByName.end() ? nullptr : someFound->second;
	}

	StringId PropertyTypeBase::GetName() const
	{
		if (!ourIsBuilt)
			BuildRegistry();
		return myName;
	}

	// ---------------------------------------------------------------- the types
	// Every type's one instance lives here, in registration order, so that linking
	// the registry links every type.

	template <> PropertyType<SceneModelHandle> PropertyType<SceneModelHandle>::ourInstance{ "Model" };
	template <> PropertyType<SceneSpriteHandle> PropertyType<SceneSpriteHandle>::ourInstance{ "Sprite" };
	template <> PropertyType<SceneReferenceHandle> PropertyType<SceneReferenceHandle>::ourInstance{ "Scene" };
	template <> PropertyType<AnimationClipHandle> PropertyType<AnimationClipHandle>::ourInstance{ "Animation Clip" };
	template <> PropertyType<PoseAndMotion> PropertyType<PoseAndMotion>::ourInstance{ "Pose" };
	template <> PropertyType<bool> PropertyType<bool>::ourInstance{ "Bool" };
	template <> PropertyType<std::int32_t> PropertyType<std::int32_t>::ourInstance{ "Int" };
	template <> PropertyType<float> PropertyType<float>::ourInstance{ "Float" };
	template <> PropertyType<Vector2<float>> PropertyType<Vector2<float>>::ourInstance{ "Float2" };
	template <> PropertyType<Vector3<float>> PropertyType<Vector3<float>>::ourInstance{ "Float3" };
	template <> PropertyType<Vector4<float>> PropertyType<Vector4<float>>::ourInstance{ "Float4" };
	template <> PropertyType<Color> PropertyType<Color>::ourInstance{ "Color" };
	template <> PropertyType<StringId> PropertyType<StringId>::ourInstance{ "StringId" };
	template <> PropertyType<PropertyVector*> PropertyType<PropertyVector*>::ourInstance{ "Vector" };
}
