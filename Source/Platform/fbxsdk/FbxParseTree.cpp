#include "fbxsdk/FbxParseTree.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace fbxsdk::impl
{
	namespace
	{
		template <typename To, typename From>
		void ConvertInto(ArrayBuffer<From>& aFrom, ArrayBuffer<To>& aOut)
		{
			aOut.resize(aFrom.size());
			for (size_t i = 0; i < aFrom.size(); ++i)
			{
				if constexpr (std::is_integral_v<To> && std::is_floating_point_v<From>)
				{
					// Out-of-range values become the lowest value, which every index check rejects.
					const From someValue = aFrom[i];
					const bool someFits = someValue >= static_cast<From>(std::numeric_limits<To>::lowest()) && someValue <= static_cast<From>(std::numeric_limits<To>::max());
					aOut[i] = someFits ? static_cast<To>(someValue) : std::numeric_limits<To>::lowest();
				}
				else if constexpr (std::is_integral_v<To> && sizeof(To) < sizeof(From))
				{
					const From someValue = aFrom[i];
					const bool someFits = someValue >= std::numeric_limits<To>::lowest() && someValue <= std::numeric_limits<To>::max();
					aOut[i] = someFits ? static_cast<To>(someValue) : std::numeric_limits<To>::lowest();
				}
				else
				{
					aOut[i] = static_cast<To>(aFrom[i]);
				}
			}
			ArrayBuffer<From>().swap(aFrom);
		}

		template <typename T>
		bool Take(ParsedArray* aArray, ArrayBuffer<T>& aOut)
		{
			if (!aArray)
				return false;
			switch (aArray->type)
			{
			case 'i':
				if constexpr (std::is_same_v<T, std::int32_t>) { aOut = std::move(aArray->ints); return true; }
				else { ConvertInto(aArray->ints, aOut); return true; }
			case 'l':
				if constexpr (std::is_same_v<T, std::int64_t>) { aOut = std::move(aArray->longs); return true; }
				else { ConvertInto(aArray->longs, aOut); return true; }
			case 'f':
				if constexpr (std::is_same_v<T, float>) { aOut = std::move(aArray->floats); return true; }
				else { ConvertInto(aArray->floats, aOut); return true; }
			case 'd':
				if constexpr (std::is_same_v<T, double>) { aOut = std::move(aArray->doubles); return true; }
				else { ConvertInto(aArray->doubles, aOut); return true; }
			case 'b':
				ConvertInto(aArray->bytes, aOut);
				return true;
			default:
				return false;
			}
		}
	}

	std::uint32_t ParseTree::FindChild(std::uint32_t aNode, std::string_view aName) const
	{
		for (std::uint32_t someChild = nodes[aNode].firstChild; someChild != NO_NODE; someChild = nodes[someChild].nextSibling)
			if (nodes[someChild].name == aName)
				return someChild;
		return NO_NODE;
	}

	const ParsedProperty* ParseTree::Property(std::uint32_t aNode, std::uint32_t aIndex) const
	{
		const ParsedNode& someNode = nodes[aNode];
		return aIndex < someNode.propertyCount ? &properties[someNode.firstProperty + aIndex] : nullptr;
	}

	std::int64_t ParseTree::AsInteger(const ParsedProperty& aProperty)
	{
		switch (aProperty.type)
		{
		case 'Y': case 'C': case 'I': case 'L': return aProperty.integer;
		case 'F': case 'D':
			return aProperty.real >= -9.2e18 && aProperty.real <= 9.2e18 ? static_cast<std::int64_t>(aProperty.real) : 0;
		default: return 0;
		}
	}

	double ParseTree::AsReal(const ParsedProperty& aProperty)
	{
		switch (aProperty.type)
		{
		case 'Y': case 'C': case 'I': case 'L': return static_cast<double>(aProperty.integer);
		case 'F': case 'D': return aProperty.real;
		default: return 0.0;
		}
	}

	std::int64_t ParseTree::ChildInteger(std::uint32_t aNode, std::string_view aName, std::int64_t aFallback) const
	{
		const std::uint32_t someChild = FindChild(aNode, aName);
		const ParsedProperty* someProperty = someChild == NO_NODE ? nullptr : Property(someChild, 0);
		return someProperty ? AsInteger(*someProperty) : aFallback;
	}

	double ParseTree::ChildReal(std::uint32_t aNode, std::string_view aName, double aFallback) const
	{
		const std::uint32_t someChild = FindChild(aNode, aName);
		const ParsedProperty* someProperty = someChild == NO_NODE ? nullptr : Property(someChild, 0);
		return someProperty ? AsReal(*someProperty) : aFallback;
	}

	std::string_view ParseTree::ChildText(std::uint32_t aNode, std::string_view aName) const
	{
		const std::uint32_t someChild = FindChild(aNode, aName);
		const ParsedProperty* someProperty = someChild == NO_NODE ? nullptr : Property(someChild, 0);
		return someProperty ? someProperty->text : std::string_view();
	}

	ParsedArray* ParseTree::ChildArray(std::uint32_t aNode, std::string_view aName)
	{
		const std::uint32_t someChild = FindChild(aNode, aName);
		const ParsedProperty* someProperty = someChild == NO_NODE ? nullptr : Property(someChild, 0);
		return someProperty && someProperty->type == 'a' ? &arrays[someProperty->array] : nullptr;
	}

	bool ParseTree::TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<double>& aOut) { return Take(ChildArray(aNode, aName), aOut); }
	bool ParseTree::TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<float>& aOut) { return Take(ChildArray(aNode, aName), aOut); }
	bool ParseTree::TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<std::int32_t>& aOut) { return Take(ChildArray(aNode, aName), aOut); }
	bool ParseTree::TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<std::int64_t>& aOut) { return Take(ChildArray(aNode, aName), aOut); }

	bool IsBinaryFbx(const ArrayBuffer<std::uint8_t>& aBytes)
	{
		static constexpr char MAGIC[] = "Kaydara FBX Binary  ";
		return aBytes.size() >= sizeof(MAGIC) && std::memcmp(aBytes.data(), MAGIC, sizeof(MAGIC)) == 0;
	}

	bool IsAsciiFbx(const ArrayBuffer<std::uint8_t>& aBytes)
	{
		// ASCII files open with a "; FBX" comment or, without it, the header record.
		const std::string_view someStart(reinterpret_cast<const char*>(aBytes.data()), std::min<size_t>(aBytes.size(), 1024));
		return someStart.find("; FBX") != std::string_view::npos || someStart.find("FBXHeaderExtension:") != std::string_view::npos;
	}
}
