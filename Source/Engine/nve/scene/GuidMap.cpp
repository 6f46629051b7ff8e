#include "scene/GuidMap.h"

#include "rpc/Rpc.h"

#include <xxhash.h>

#include <cstring>
#include <unordered_map>
#include <vector>

namespace Norv
{
	namespace
	{
		constexpr XXH64_hash_t GUID_HASH_SEED = 0;

		struct GuidHash
		{
			size_t operator()(const GUID& aGuid) const noexcept { return static_cast<size_t>(XXH64(&aGuid, sizeof(GUID), GUID_HASH_SEED)); }
		};

		struct GuidEqual
		{
			bool operator()(const GUID& aLeft, const GUID& aRight) const noexcept { return std::memcmp(&aLeft, &aRight, sizeof(GUID)) == 0; }
		};

		static_assert(sizeof(GUID) == 16);

		class GuidMap
		{
		public:
			// Starts with the nil GUID at index 0.
			GuidMap()
			{
				guids.push_back(GUID{});
				indices.emplace(GUID{}, 0u);
			}

			std::uint32_t IndexOf(const GUID& aGuid)
			{
				const auto [someEntry, someInserted] = indices.try_emplace(aGuid, static_cast<std::uint32_t>(guids.size()));
				if (someInserted)
					guids.push_back(aGuid);
				return someEntry->second;
			}

		private:
			std::vector<GUID> guids;
			std::unordered_map<GUID, std::uint32_t, GuidHash, GuidEqual> indices;
		};

		GuidMap& GetGuidMap()
		{
			static GuidMap ourMap;
			return ourMap;
		}
	}

	std::uint32_t GuidToIndex(const char* aText)
	{
		if (aText == nullptr)
			return 0;
		GUID someGuid{};
		if (UuidFromStringA(reinterpret_cast<RPC_CSTR>(const_cast<char*>(aText)), &someGuid) != RPC_S_OK)
			return 0;
		return GetGuidMap().IndexOf(someGuid);
	}
}
