#include "properties/Property.h"

#include "debug/Assert.h"

#include <nlohmann/json.hpp>

#include <cstring>

namespace Norv
{
	Property::Property(const PropertyTypeBase* aType)
		: myType(aType)
	{
		if (myType)
			myType->Construct(myStorage);
	}

	Property::Property(const PropertyTypeBase* aType, const nlohmann::json& aJson)
	{
		NV_ASSERT(aType && "Property from json needs a type");
		if (!aType)
			return;
		// All-zero storage is a destroyable value of every type, so a failing
		// Construct can still be cleaned up.
		std::memset(myStorage, 0, sizeof(myStorage));
		try
		{
			aType->Construct(myStorage);
			aType->FromJson(myStorage, aJson);
		}
		catch (...)
		{
			aType->Destroy(myStorage);
			throw;
		}
		myType = aType;
	}

	Property::Property(const Property& aOther)
	{
		if (aOther.myType)
			aOther.myType->Copy(aOther.myStorage, myStorage);
		myType = aOther.myType;
	}

	Property::Property(Property&& aOther) noexcept
		: myType(aOther.myType)
	{
		if (myType)
			myType->Move(aOther.myStorage, myStorage);
	}

	Property::~Property()
	{
		Reset();
	}

	Property& Property::operator=(const Property& aOther)
	{
		if (this == &aOther)
			return *this;
		Reset();
		if (aOther.myType)
			aOther.myType->Copy(aOther.myStorage, myStorage);
		myType = aOther.myType;
		return *this;
	}

	Property& Property::operator=(Property&& aOther) noexcept
	{
		if (this == &aOther)
			return *this;
		Reset();
		if (aOther.myType)
			aOther.myType->Move(aOther.myStorage, myStorage);
		myType = aOther.myType;
		return *this;
	}

	void Property::ToJson(nlohmann::json& aOut) const
	{
		NV_ASSERT(myType && "ToJson of an empty property");
		if (myType)
			myType->ToJson(myStorage, aOut);
	}

	bool Property::Edit(const char* aLabel, const char* aDescription)
	{
		NV_ASSERT(myType && "Edit of an empty property");
		return myType ? myType->Edit(myStorage, aLabel, aDescription) : false;
	}

	void Property::Reset()
	{
		if (myType)
			myType->Destroy(myStorage);
		myType = nullptr;
	}
}
