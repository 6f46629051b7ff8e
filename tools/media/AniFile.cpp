#include "AniFile.h"

namespace
{
	using Bytes = std::vector<std::uint8_t>;

	void PutU32(Bytes& aBytes, std::uint32_t aValue)
	{
		for (int i = 0; i < 4; ++i)
			aBytes.push_back(static_cast<std::uint8_t>(aValue >> (8 * i)));
	}

	void PutTag(Bytes& aBytes, const char* aTag)
	{
		for (int i = 0; i < 4; ++i)
			aBytes.push_back(static_cast<std::uint8_t>(aTag[i]));
	}

	// A chunk's data is padded to an even size.
	void PutChunk(Bytes& aBytes, const char* aTag, const Bytes& aData)
	{
		PutTag(aBytes, aTag);
		PutU32(aBytes, static_cast<std::uint32_t>(aData.size()));
		aBytes.insert(aBytes.end(), aData.begin(), aData.end());
		if (aData.size() % 2 != 0)
			aBytes.push_back(0);
	}
}

namespace NorvMedia
{
	Bytes EncodeAnimatedCursor(const std::vector<Bytes>& aFrames, std::uint32_t aJiffies, std::uint32_t aFlags)
	{
		Bytes someHeader;
		const std::uint32_t someCount = static_cast<std::uint32_t>(aFrames.size());
		// cbSize, frames, steps, cx, cy, bit count, planes, display rate, flags.
		for (std::uint32_t someValue : { 36u, someCount, someCount, 0u, 0u, 0u, 0u, aJiffies, aFlags })
			PutU32(someHeader, someValue);
		Bytes someList;
		PutTag(someList, "fram");
		for (const Bytes& someFrame : aFrames)
			PutChunk(someList, "icon", someFrame);
		Bytes someBody;
		PutTag(someBody, "ACON");
		PutChunk(someBody, "anih", someHeader);
		PutChunk(someBody, "LIST", someList);
		Bytes someFile;
		PutTag(someFile, "RIFF");
		PutU32(someFile, static_cast<std::uint32_t>(someBody.size()));
		someFile.insert(someFile.end(), someBody.begin(), someBody.end());
		return someFile;
	}
}
