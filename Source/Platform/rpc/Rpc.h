#pragma once
// Stand-in for the RPC runtime's GUID parsing (rpcdce.h).
// Keeps: the binary GUID layout (16 bytes: Data1, Data2, Data3 in host order,
// then Data4) and UuidFromStringA's accepted form: exactly 36 characters
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", hexadecimal digits in either case,
// no braces; a null text gives the nil GUID, as on Windows.
// Does not keep: the rest of the RPC runtime, wide-character parsing.
// Built on: plain C++.
#include <cstdint>

#ifndef GUID_DEFINED
#define GUID_DEFINED
struct GUID
{
	std::uint32_t Data1;
	std::uint16_t Data2;
	std::uint16_t Data3;
	std::uint8_t Data4[8];
};
#endif

using UUID = GUID;
using RPC_STATUS = long;
using RPC_CSTR = unsigned char*;

constexpr RPC_STATUS RPC_S_OK = 0;
constexpr RPC_STATUS RPC_S_INVALID_STRING_UUID = 1705;

// Parses aStringUuid into *aUuid; RPC_S_INVALID_STRING_UUID (and *aUuid untouched)
// when the text is not a GUID in the form above.
RPC_STATUS UuidFromStringA(RPC_CSTR aStringUuid, UUID* aUuid);
