#pragma once
// Interns text for the life of the process. Interned text never moves and is
// never freed. Main thread only.
#include "stringRegistry/StringId.h"

#include <cstddef>
#include <string_view>

namespace Norv
{
	// Largest text, with its terminator, that can be interned.
	constexpr size_t STRING_REGISTRY_SIZE_LIMIT = 1024;

	namespace StringRegistry
	{
		// The id of aString, copying it into the registry's blocks the first time.
		// Empty or over-long text gives the null id (over-long also asserts).
		StringId RegisterOrGetString(std::string_view aString);

		// For text that lives as long as the program (literals): interned without a
		// copy, unless the same text is already interned, whose id is returned.
		StringId RegisterStaticString(const char* aLiteral, size_t aLength);

		// Text blocks allocated so far (diagnostics and tests).
		size_t GetAllocatedBlockCount();
	}
}
