#pragma once
// The node tree of an FBX file as read from disk, before objects are made of it.
// Both the binary and the ASCII reader fill it; strings are views into the file's
// bytes (kept here), arrays are decoded once into typed buffers that the scene
// builder takes over without copying.
#include "fbxsdk/FbxArrayBuffer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fbxsdk::impl
{
	struct ParsedArray
	{
		char type = 'd'; // 'i' int32, 'l' int64, 'f' float, 'd' double, 'b' bool bytes
		ArrayBuffer<std::int32_t> ints;
		ArrayBuffer<std::int64_t> longs;
		ArrayBuffer<float> floats;
		ArrayBuffer<double> doubles;
		ArrayBuffer<std::uint8_t> bytes;
	};

	struct ParsedProperty
	{
		char type = 'L'; // FBX codes: Y C I L integers, F D reals, S R text, 'a' array
		std::int64_t integer = 0;
		double real = 0.0;
		std::string_view text;
		std::uint32_t array = 0; // index into ParseTree::arrays when type is 'a'
	};

	inline constexpr std::uint32_t NO_NODE = ~0u;

	struct ParsedNode
	{
		std::string_view name;
		std::uint32_t firstProperty = 0;
		std::uint32_t propertyCount = 0;
		std::uint32_t firstChild = NO_NODE;
		std::uint32_t nextSibling = NO_NODE;
	};

	class ParseTree
	{
	public:
		// Node 0 is the unnamed root whose children are the file's top-level records.
		std::vector<ParsedNode> nodes;
		std::vector<ParsedProperty> properties;
		std::vector<ParsedArray> arrays;
		ArrayBuffer<std::uint8_t> bytes;
		bool isBinary = false;
		std::uint32_t version = 0;

		std::uint32_t FindChild(std::uint32_t aNode, std::string_view aName) const;
		const ParsedProperty* Property(std::uint32_t aNode, std::uint32_t aIndex) const;

		// Numbers of any type as the asked type (0 for text and arrays).
		static std::int64_t AsInteger(const ParsedProperty& aProperty);
		static double AsReal(const ParsedProperty& aProperty);

		// The first property of the named child as a number or text (aFallback when absent).
		std::int64_t ChildInteger(std::uint32_t aNode, std::string_view aName, std::int64_t aFallback) const;
		double ChildReal(std::uint32_t aNode, std::string_view aName, double aFallback) const;
		std::string_view ChildText(std::uint32_t aNode, std::string_view aName) const;

		// The array held by the first property of the named child, converted to the
		// asked type when the file stored another (moved when it matches).
		// False when the child or its array is missing.
		bool TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<double>& aOut);
		bool TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<float>& aOut);
		bool TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<std::int32_t>& aOut);
		bool TakeArray(std::uint32_t aNode, std::string_view aName, ArrayBuffer<std::int64_t>& aOut);

		template <typename Visit>
		void ForEachChild(std::uint32_t aNode, Visit&& aVisit) const
		{
			for (std::uint32_t someChild = nodes[aNode].firstChild; someChild != NO_NODE; someChild = nodes[someChild].nextSibling)
				aVisit(someChild);
		}

	private:
		ParsedArray* ChildArray(std::uint32_t aNode, std::string_view aName);
	};

	// Fill aTree from the file's bytes (taken over). False with a reason in aError
	// for a malformed, truncated or oversized file.
	bool ParseBinaryFbx(ArrayBuffer<std::uint8_t> aBytes, ParseTree& aTree, std::string& aError);
	bool ParseAsciiFbx(ArrayBuffer<std::uint8_t> aBytes, ParseTree& aTree, std::string& aError);

	bool IsBinaryFbx(const ArrayBuffer<std::uint8_t>& aBytes);
	bool IsAsciiFbx(const ArrayBuffer<std::uint8_t>& aBytes);

	// Deepest nesting of records either reader accepts.
	inline constexpr int MAX_NODE_DEPTH = 64;
}
