#pragma once
// Writes FBX 7.x node records as ASCII or binary text. Records hold typed values
// (integers, reals, text, object names, arrays) and child records.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace NorvTools
{
	// An object's name and class: "Class::Name" in ASCII, "Name\0\1Class" in binary.
	struct FbxObjectName
	{
		std::string name;
		std::string objectClass;
	};

	using FbxValue = std::variant<bool, std::int32_t, std::int64_t, double, std::string, FbxObjectName,
		std::vector<std::int32_t>, std::vector<std::int64_t>, std::vector<float>, std::vector<double>>;

	struct FbxRecord
	{
		std::string name;
		std::vector<FbxValue> values;
		std::vector<FbxRecord> children;

		// Appends a child record and returns it.
		FbxRecord& Add(std::string aName, std::vector<FbxValue> aValues = {});
	};

	// The children of aRoot are the file's top-level records.
	std::string WriteAsciiFbx(const FbxRecord& aRoot);
	// Versions from 7500 use 64-bit record offsets. Arrays over a few hundred bytes are zlib-compressed when asked.
	std::string WriteBinaryFbx(const FbxRecord& aRoot, std::uint32_t aVersion = 7400, bool aCompressArrays = true);
}
