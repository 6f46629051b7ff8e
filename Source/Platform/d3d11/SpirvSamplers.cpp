#include "d3d11/SpirvSamplers.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

namespace Platform::impl
{
	namespace
	{
		constexpr std::uint32_t SPIRV_MAGIC = 0x07230203;
		constexpr std::size_t HEADER_WORDS = 5;
		constexpr std::uint32_t OP_NAME = 5;
		constexpr std::uint32_t OP_VARIABLE = 59;
		constexpr std::uint32_t OP_DECORATE = 71;
		constexpr std::uint32_t DECORATION_BINDING = 33;
		constexpr std::uint32_t STORAGE_UNIFORM_CONSTANT = 0;
		constexpr std::uint32_t WORD_COUNT_SHIFT = 16;
		constexpr std::uint32_t OPCODE_MASK = 0xffff;

		unsigned SamplerSlotFromName(const std::string& aName)
		{
			const std::size_t someSuffix = aName.rfind("_s");
			if (someSuffix == std::string::npos || someSuffix + 2 >= aName.size())
				return 0;
			unsigned someSlot = 0;
			for (std::size_t i = someSuffix + 2; i < aName.size(); ++i)
			{
				if (aName[i] < '0' || aName[i] > '9')
					return 0;
				someSlot = someSlot * 10 + static_cast<unsigned>(aName[i] - '0');
			}
			return someSlot;
		}
	}

	bool IsSpirv(const void* aCode, std::size_t aLength)
	{
		if (!aCode || aLength < HEADER_WORDS * 4 || aLength % 4 != 0)
			return false;
		std::uint32_t someMagic = 0;
		std::memcpy(&someMagic, aCode, 4);
		return someMagic == SPIRV_MAGIC;
	}

	std::vector<std::pair<unsigned, unsigned>> FindSamplerUses(const void* aCode, std::size_t aLength)
	{
		std::vector<std::pair<unsigned, unsigned>> someUses;
		if (!IsSpirv(aCode, aLength))
			return someUses;
		std::vector<std::uint32_t> someWords(aLength / 4);
		std::memcpy(someWords.data(), aCode, aLength);

		std::map<std::uint32_t, std::string> someNames;
		std::map<std::uint32_t, std::uint32_t> someBindings;
		std::vector<std::uint32_t> someSamplerVariables;
		for (std::size_t i = HEADER_WORDS; i < someWords.size();)
		{
			const std::uint32_t someCount = someWords[i] >> WORD_COUNT_SHIFT;
			const std::uint32_t someOpcode = someWords[i] & OPCODE_MASK;
			if (someCount == 0 || i + someCount > someWords.size())
				return {};
			if (someOpcode == OP_NAME && someCount > 2)
			{
				const char* someText = reinterpret_cast<const char*>(&someWords[i + 2]);
				someNames[someWords[i + 1]] = std::string(someText, strnlen(someText, (someCount - 2) * 4));
			}
			else if (someOpcode == OP_DECORATE && someCount > 3 && someWords[i + 2] == DECORATION_BINDING)
				someBindings[someWords[i + 1]] = someWords[i + 3];
			else if (someOpcode == OP_VARIABLE && someCount > 3 && someWords[i + 3] == STORAGE_UNIFORM_CONSTANT)
				someSamplerVariables.push_back(someWords[i + 2]);
			i += someCount;
		}
		for (std::uint32_t someVariable : someSamplerVariables)
		{
			const auto someBinding = someBindings.find(someVariable);
			if (someBinding != someBindings.end())
				someUses.emplace_back(someBinding->second, SamplerSlotFromName(someNames[someVariable]));
		}
		return someUses;
	}
}
