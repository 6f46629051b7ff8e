#pragma once
// 64-bit FNV-1a over bytes: the hash of every table keyed by text.
#include <cstdint>
#include <string_view>

namespace Norv
{
	constexpr std::uint64_t FNV1A_OFFSET_BASIS = 0xcbf29ce484222325ull;
	constexpr std::uint64_t FNV1A_PRIME = 0x100000001b3ull;

	constexpr std::uint64_t Fnv1a64(std::string_view aText)
	{
		std::uint64_t someHash = FNV1A_OFFSET_BASIS;
		for (char someChar : aText)
		{
			someHash ^= static_cast<std::uint8_t>(someChar);
			someHash *= FNV1A_PRIME;
		}
		return someHash;
	}

	struct Fnv1aHash
	{
		using is_transparent = void;
		size_t operator()(std::string_view aText) const noexcept { return static_cast<size_t>(Fnv1a64(aText)); }
	};
}
