#pragma once
// The run-time property types. Every type is one static object that alone knows
// how to construct, copy, move, destroy and convert to and from json a value of
// its type; values live type-erased in Norv::Property. Types register during
// static initialisation; the registry of names is built on the first query, and
// a registration after that ends the process. Main thread only.
#include "stringRegistry/StringId.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <utility>

namespace Norv
{
	// Every property value fits the holder's inline storage.
	constexpr std::size_t PROPERTY_STORAGE_SIZE = 16;
	constexpr std::size_t PROPERTY_STORAGE_ALIGNMENT = 16;
	constexpr std::uint32_t MAX_PROPERTY_TYPES = 512;

	class PropertyTypeBase
	{
	public:
		PropertyTypeBase(const PropertyTypeBase&) = delete;
		PropertyTypeBase& operator=(const PropertyTypeBase&) = delete;

		// Each operation takes the address of a holder's inline storage.
		// Places the type's default value into unconstructed storage.
		virtual void Construct(void* aDst) const = 0;
		// Copy-constructs aSrc into unconstructed aDst.
		virtual void Copy(const void* aSrc, void* aDst) const = 0;
		// Move-constructs; aSrc keeps a value its type can destroy.
		virtual void Move(void* aSrc, void* aDst) const = 0;
		virtual void Destroy(void* aValue) const = 0;
		// Overwrites a constructed value; throws the json library's exceptions.
		virtual void FromJson(void* aValue, const nlohmann::json& aJson) const = 0;
		// Assigns the value's json form to aJson.
		virtual void ToJson(const void* aValue, nlohmann::json& aJson) const = 0;
		// Draws the value's editor as one row of a two-column ImGui table the caller
		// began; true when the value changed.
		virtual bool Edit(void* aValue, const char* aLabel, const char* aDescription) const = 0;

		// The names of all registered types, sorted byte-wise; valid for the process.
		static std::span<const StringId> GetAllTypes();
		// The type of that interned name, or null (unknown or null name).
		static PropertyTypeBase* FindType(StringId aName);

		StringId GetName() const;
		const char* GetDisplayName() const { return myDisplayName; }
		std::uint32_t GetIndex() const { return myIndex; }

	protected:
		// Registers the type; aborts when the registry is built or full.
		explicit PropertyTypeBase(const char* aDisplayName);
		~PropertyTypeBase() = default;

	private:
		static void BuildRegistry();

		std::uint32_t myIndex = ~0u;
		const char* myDisplayName = nullptr;
		StringId myName;
	};

	// What a property type does with values of T: Construct(void*), Copy(const T&, void*),
	// Move(T&, void*), Destroy(T&), FromJson(T&, const json&), ToJson(const T&, json&),
	// Edit(T&, const char* label, const char* description) (the editors' files).
	// One specialisation per registered value type.
	template <typename T>
	struct PropertyValueOps;

	// Copy, move and destruction through T's own semantics: right for plain data
	// and for the pool handles.
	template <typename T>
	struct ValueSemanticsOps
	{
		static void Copy(const T& aSrc, void* aDst) { ::new (aDst) T(aSrc); }
		static void Move(T& aSrc, void* aDst) { ::new (aDst) T(std::move(aSrc)); }
		static void Destroy(T& aValue) { aValue.~T(); }
	};

	template <typename T>
	struct PropertyType final : PropertyTypeBase
	{
		static_assert(sizeof(T) <= PROPERTY_STORAGE_SIZE && alignof(T) <= PROPERTY_STORAGE_ALIGNMENT, "a property value must fit the holder's storage");
		using Ops = PropertyValueOps<T>;

		explicit PropertyType(const char* aDisplayName) : PropertyTypeBase(aDisplayName) {}

		void Construct(void* aDst) const override { Ops::Construct(aDst); }
		void Copy(const void* aSrc, void* aDst) const override { Ops::Copy(*std::launder(static_cast<const T*>(aSrc)), aDst); }
		void Move(void* aSrc, void* aDst) const override { Ops::Move(*std::launder(static_cast<T*>(aSrc)), aDst); }
		void Destroy(void* aValue) const override { Ops::Destroy(*std::launder(static_cast<T*>(aValue))); }
		void FromJson(void* aValue, const nlohmann::json& aJson) const override { Ops::FromJson(*std::launder(static_cast<T*>(aValue)), aJson); }
		void ToJson(const void* aValue, nlohmann::json& aJson) const override { Ops::ToJson(*std::launder(static_cast<const T*>(aValue)), aJson); }
		bool Edit(void* aValue, const char* aLabel, const char* aDescription) const override { return Ops::Edit(*std::launder(static_cast<T*>(aValue)), aLabel, aDescription); }

		// The program's one instance of this type. Every instance is defined in
		// PropertyTypeRegistry.cpp, in registration order; the header of each value
		// family declares its instances.
		static PropertyType ourInstance;
	};
}
