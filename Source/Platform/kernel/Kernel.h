#pragma once
// Stand-in for the kernel services the engine calls.
// Keeps: module file name (the executable's own path), the performance counter
// and its frequency, and the code-page conversions (the "ANSI" code page is
// UTF-8 here, as Linux has no other). Built on /proc/self/exe and the steady clock.
#include "kernel/WindowsTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;

// Writes the executable's path (NUL-terminated) into aBuffer; returns the number
// of characters written without the terminator, or 0 on failure. A path that
// does not fit is truncated to aSize - 1 characters and the return is aSize.
DWORD GetModuleFileNameW(HMODULE aModule, LPWSTR aBuffer, DWORD aSize);

BOOL QueryPerformanceCounter(LARGE_INTEGER* aCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* aFrequency);

// UTF-8 <-> wide text. With aDestination null (or size 0) returns the length needed.
// Invalid UTF-8 sequences become U+FFFD.
int MultiByteToWideChar(UINT aCodePage, DWORD aFlags, LPCSTR aSource, int aSourceLength, LPWSTR aDestination, int aDestinationSize);
int WideCharToMultiByte(UINT aCodePage, DWORD aFlags, LPCWSTR aSource, int aSourceLength, char* aDestination, int aDestinationSize, LPCSTR aDefaultChar, BOOL* aUsedDefaultChar);

namespace Platform
{
	std::wstring Utf8ToWide(std::string_view aText);
	std::string WideToUtf8(std::wstring_view aText);

	// Test seams: an empty function restores the real source.
	void SetModuleFileNameOverride(std::function<std::string()> aSource);
	void SetPerformanceCounterOverride(std::function<std::int64_t()> aCounter, std::int64_t aFrequency = 0);
}
