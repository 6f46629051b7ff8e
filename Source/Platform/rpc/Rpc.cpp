#include "rpc/Rpc.h"

#include <cstddef>
#include <iterator>

namespace
{
	constexpr std::size_t GUID_TEXT_LENGTH = 36;
	// Where the hyphens stand in "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx".
	constexpr std::size_t HYPHEN_POSITIONS[] = { 8, 13, 18, 23 };

	int HexValue(unsigned char aChar)
	{
		if (aChar >= '0' && aChar <= '9')
			return aChar - '0';
		if (aChar >= 'a' && aChar <= 'f')
			return aChar - 'a' + 10;
		if (aChar >= 'A' && aChar <= 'F')
			return aChar - 'A' + 10;
		return -1;
	}

	// The 32 hexadecimal digits of aText in order, or false when the form is wrong.
	bool ReadDigits(const unsigned char* aText, std::uint8_t (&aDigits)[32])
	{
		std::size_t someDigit = 0;
		std::size_t someHyphen = 0;
		for (std::size_t somePosition = 0; somePosition < GUID_TEXT_LENGTH; ++somePosition)
		{
			const unsigned char someChar = aText[somePosition];
			if (someHyphen < std::size(HYPHEN_POSITIONS) && somePosition == HYPHEN_POSITIONS[someHyphen])
			{
				if (someChar != '-')
					return false;
				++someHyphen;
				continue;
			}
			const int someValue = HexValue(someChar); // also stops at the terminator of a short text
			if (someValue < 0)
				return false;
			aDigits[someDigit++] = static_cast<std::uint8_t>(someValue);
		}
		return aText[GUID_TEXT_LENGTH] == '\0';
	}

	std::uint64_t Combine(const std::uint8_t* aDigits, std::size_t aCount)
	{
		std::uint64_t someValue = 0;
		for (std::size_t someIndex = 0; someIndex < aCount; ++someIndex)
			someValue = (someValue << 4) | aDigits[someIndex];
		return someValue;
	}
}

RPC_STATUS UuidFromStringA(RPC_CSTR aStringUuid, UUID* aUuid)
{
	if (aStringUuid == nullptr)
	{
		*aUuid = UUID{};
		return RPC_S_OK;
	}
	std::uint8_t someDigits[32];
	if (!ReadDigits(aStringUuid, someDigits))
		return RPC_S_INVALID_STRING_UUID;

	aUuid->Data1 = static_cast<std::uint32_t>(Combine(someDigits, 8));
	aUuid->Data2 = static_cast<std::uint16_t>(Combine(someDigits + 8, 4));
	aUuid->Data3 = static_cast<std::uint16_t>(Combine(someDigits + 12, 4));
	for (std::size_t someByte = 0; someByte < 8; ++someByte)
		aUuid->Data4[someByte] = static_cast<std::uint8_t>(Combine(someDigits + 16 + someByte * 2, 2));
	return RPC_S_OK;
}
