#include "world/PlacementLimits.h"

#include "properties/PlainPropertyTypes.h"

#include <cmath>
#include <sstream>

namespace PlacementLimits
{
	namespace
	{
		bool IsInRange(const std::vector<float>& someValues)
		{
			for (const float someValue : someValues)
				if (!(std::abs(someValue) <= MAX_MAGNITUDE)) // NaN fails too
					return false;
			return true;
		}

		std::string Describe(const char* aName, const std::vector<float>& someValues)
		{
			std::ostringstream someText;
			someText << aName << " (";
			const char* someSeparator = "";
			for (const float someValue : someValues)
			{
				someText << someSeparator << someValue;
				someSeparator = ", ";
			}
			someText << ')';
			return someText.str();
		}

		std::vector<float> Components(const Norv::Vector3<float>& aVector)
		{
			return { aVector.x, aVector.y, aVector.z };
		}

		// The components of a float value of any width; none for other types.
		std::vector<float> Components(const Norv::Property& aValue)
		{
			if (const float* someFloat = aValue.TryGet<float>())
				return { *someFloat };
			if (const auto* someFloat2 = aValue.TryGet<Norv::Vector2<float>>())
				return { someFloat2->x, someFloat2->y };
			if (const auto* someFloat3 = aValue.TryGet<Norv::Vector3<float>>())
				return Components(*someFloat3);
			return {};
		}
	}

	std::string FindOutOfRange(const Norv::SceneObject& anObject, const std::vector<Norv::PropertyDefinition>& aProperties)
	{
		const Norv::SceneTransform& someTransform = anObject.transform;
		const std::pair<const char*, const Norv::Vector3<float>*> someVectors[] = {
			{ "translation", &someTransform.translation }, { "rotation", &someTransform.rotation }, { "scale", &someTransform.scale } };
		for (const auto& [someName, someVector] : someVectors)
		{
			if (const std::vector<float> someValues = Components(*someVector); !IsInRange(someValues))
				return Describe(someName, someValues);
		}
		for (const Norv::PropertyDefinition& someProperty : aProperties)
		{
			if (const std::vector<float> someValues = Components(someProperty.value); !IsInRange(someValues))
				return Describe(someProperty.name.c_str(), someValues);
		}
		return {};
	}
}
