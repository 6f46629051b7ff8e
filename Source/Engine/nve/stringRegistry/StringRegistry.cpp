#include "stringRegistry/StringRegistry.h"

#include "debug/Assert.h"
#include "stringRegistry/Fnv1a.h"

#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

namespace Norv::StringRegistry
{
	namespace
	{
		constexpr size_t BLOCK_SIZE = 0x100000; // bytes per text block (1 MiB)

		struct Registry
		{
			std::unordered_set<std::string_view, Fnv1aHash, std::equal_to<>> myStrings;
			std::vector<std::unique_ptr<char[]>> myBlocks;
			size_t myFreeBytes = 0;
		};

		Registry& GetRegistry()
		{
			static Registry ourRegistry;
			return ourRegistry;
		}
	}

	StringId RegisterOrGetString(std::string_view aString)
	{
		NV_ASSERT(aString.size() + 1 <= STRING_REGISTRY_SIZE_LIMIT);
		if (aString.size() + 1 > STRING_REGISTRY_SIZE_LIMIT || aString.empty())
			return {};

		Registry& someRegistry = GetRegistry();
		if (auto someFound = someRegistry.myStrings.find(aString); someFound != someRegistry.myStrings.end())
			return StringId(someFound->data());

		if (aString.size() + 1 > someRegistry.myFreeBytes)
		{
			someRegistry.myBlocks.push_back(std::make_unique<char[]>(BLOCK_SIZE)); // zero-filled
			someRegistry.myFreeBytes = BLOCK_SIZE;
		}
		char* someCopy = someRegistry.myBlocks.back().get() + (BLOCK_SIZE - someRegistry.myFreeBytes);
		std::memcpy(someCopy, aString.data(), aString.size());
		someCopy[aString.size()] = '\0';
		someRegistry.myFreeBytes -= aString.size() + 1;

		// The stored view ends at the first zero byte, as the id's text does.
		someRegistry.myStrings.insert(std::string_view(someCopy));
		return StringId(someCopy);
	}

	StringId RegisterStaticString(const char* aLiteral, size_t aLength)
	{
		if (aLength == 0 || aLiteral == nullptr)
			return {};
		Registry& someRegistry = GetRegistry();
		const std::string_view someText(aLiteral);
		if (auto someFound = someRegistry.myStrings.find(someText); someFound != someRegistry.myStrings.end())
			return StringId(someFound->data());
		someRegistry.myStrings.insert(someText);
		return StringId(aLiteral);
	}

	size_t GetAllocatedBlockCount()
	{
		return GetRegistry().myBlocks.size();
	}
}
