#pragma once
// One property value of any registered type, held in 16 bytes of inline storage
// and handled entirely through its type object. Empty when it has no type.
#include "properties/PropertyType.h"

#include <cstddef>
#include <new>

namespace Norv
{
	class Property
	{
	public:
		Property() = default;
		// The type's default value; no value for a null type.
		explicit Property(const PropertyTypeBase* aType);
		// The type's value read from aJson. The json library's exceptions propagate
		// and leave nothing behind. A null type asserts and gives an empty holder.
		Property(const PropertyTypeBase* aType, const nlohmann::json& aJson);
		Property(const Property& aOther);
		Property(Property&& aOther) noexcept;
		~Property();

		// Self-assignment keeps the value. Should a copy throw, the holder is left empty.
		Property& operator=(const Property& aOther);
		Property& operator=(Property&& aOther) noexcept;

		// Assigns the value's json form to aOut; an empty holder asserts and writes nothing.
		void ToJson(nlohmann::json& aOut) const;
		// The value's editor (one table row); true when it changed. An empty holder
		// asserts and draws nothing.
		bool Edit(const char* aLabel, const char* aDescription);

		const PropertyTypeBase* GetType() const { return myType; }
		bool HasValue() const { return myType != nullptr; }

		// The value when the holder's type is the type of T, else null.
		template <typename T>
		T* TryGet() { return myType == &PropertyType<T>::ourInstance ? std::launder(reinterpret_cast<T*>(myStorage)) : nullptr; }
		template <typename T>
		const T* TryGet() const { return myType == &PropertyType<T>::ourInstance ? std::launder(reinterpret_cast<const T*>(myStorage)) : nullptr; }

	private:
		void Reset();

		alignas(PROPERTY_STORAGE_ALIGNMENT) std::byte myStorage[PROPERTY_STORAGE_SIZE];
		const PropertyTypeBase* myType = nullptr;
	};
}
