#pragma once
// Handle of interned text: equal ids mean equal text, compared by pointer.
// The null id is the empty string.
#include <cstddef>
#include <functional>
#include <string_view>

namespace Norv
{
	class StringId
	{
	public:
		constexpr StringId() = default;
		constexpr explicit StringId(const char* aInterned) : myText(aInterned) {}

		constexpr bool IsNull() const { return myText == nullptr; }
		constexpr explicit operator bool() const { return myText != nullptr; }
		// The interned text; "" for the null id.
		constexpr const char* c_str() const { return myText ? myText : ""; }
		std::string_view View() const { return myText ? std::string_view(myText) : std::string_view(); }
		constexpr const char* GetPointer() const { return myText; }

		constexpr bool operator==(const StringId&) const = default;
		// Pointer order: stable within a run, for ordered containers only.
		bool operator<(const StringId& aOther) const { return std::less<const char*>()(myText, aOther.myText); }

	private:
		const char* myText = nullptr;
	};
}

template <>
struct std::hash<Norv::StringId>
{
	size_t operator()(const Norv::StringId& aId) const noexcept { return std::hash<const char*>()(aId.GetPointer()); }
};
