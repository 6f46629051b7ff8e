#include "kernel/Kernel.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace
{
	constexpr std::int64_t STEADY_CLOCK_FREQUENCY = 1'000'000'000; // counter units per second (ns)

	std::function<std::string()>& ModuleFileNameOverride()
	{
		static std::function<std::string()> ourOverride;
		return ourOverride;
	}

	struct CounterOverride
	{
		std::function<std::int64_t()> counter;
		std::int64_t frequency = 0;
	};

	CounterOverride& PerformanceCounterOverride()
	{
		static CounterOverride ourOverride;
		return ourOverride;
	}

	constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

	// Decodes one UTF-8 sequence at aText[aIndex], advancing aIndex.
	char32_t DecodeUtf8(std::string_view aText, size_t& aIndex)
	{
		const unsigned char someLead = static_cast<unsigned char>(aText[aIndex++]);
		if (someLead < 0x80)
			return someLead;
		int someTrailCount = 0;
		char32_t someCode = 0;
		if ((someLead & 0xE0) == 0xC0) { someTrailCount = 1; someCode = someLead & 0x1F; }
		else if ((someLead & 0xF0) == 0xE0) { someTrailCount = 2; someCode = someLead & 0x0F; }
		else if ((someLead & 0xF8) == 0xF0) { someTrailCount = 3; someCode = someLead & 0x07; }
		else return REPLACEMENT_CHARACTER;
		for (int someTrail = 0; someTrail < someTrailCount; ++someTrail)
		{
			if (aIndex >= aText.size())
				return REPLACEMENT_CHARACTER;
			const unsigned char someByte = static_cast<unsigned char>(aText[aIndex]);
			if ((someByte & 0xC0) != 0x80)
				return REPLACEMENT_CHARACTER;
			someCode = (someCode << 6) | (someByte & 0x3F);
			++aIndex;
		}
		if (someCode > 0x10FFFF || (someCode >= 0xD800 && someCode <= 0xDFFF))
			return REPLACEMENT_CHARACTER;
		return someCode;
	}

	void EncodeUtf8(char32_t aCode, std::string& aOut)
	{
		if (aCode > 0x10FFFF || (aCode >= 0xD800 && aCode <= 0xDFFF))
			aCode = REPLACEMENT_CHARACTER;
		if (aCode < 0x80)
			aOut += static_cast<char>(aCode);
		else if (aCode < 0x800)
		{
			aOut += static_cast<char>(0xC0 | (aCode >> 6));
			aOut += static_cast<char>(0x80 | (aCode & 0x3F));
		}
		else if (aCode < 0x10000)
		{
			aOut += static_cast<char>(0xE0 | (aCode >> 12));
			aOut += static_cast<char>(0x80 | ((aCode >> 6) & 0x3F));
			aOut += static_cast<char>(0x80 | (aCode & 0x3F));
		}
		else
		{
			aOut += static_cast<char>(0xF0 | (aCode >> 18));
			aOut += static_cast<char>(0x80 | ((aCode >> 12) & 0x3F));
			aOut += static_cast<char>(0x80 | ((aCode >> 6) & 0x3F));
			aOut += static_cast<char>(0x80 | (aCode & 0x3F));
		}
	}

	template <typename CharT>
	int CopyOut(const std::basic_string<CharT>& aText, CharT* aDestination, int aDestinationSize)
	{
		const int someLength = static_cast<int>(aText.size());
		if (aDestination == nullptr || aDestinationSize == 0)
			return someLength;
		if (someLength > aDestinationSize)
			return 0;
		std::copy(aText.begin(), aText.end(), aDestination);
		return someLength;
	}
}

namespace Platform
{
	std::wstring Utf8ToWide(std::string_view aText)
	{
		std::wstring someResult;
		someResult.reserve(aText.size());
		for (size_t someIndex = 0; someIndex < aText.size();)
			someResult += static_cast<wchar_t>(DecodeUtf8(aText, someIndex));
		return someResult;
	}

	std::string WideToUtf8(std::wstring_view aText)
	{
		std::string someResult;
		someResult.reserve(aText.size());
		for (wchar_t someCode : aText)
			EncodeUtf8(static_cast<char32_t>(someCode), someResult);
		return someResult;
	}

	void SetModuleFileNameOverride(std::function<std::string()> aSource)
	{
		ModuleFileNameOverride() = std::move(aSource);
	}

	void SetPerformanceCounterOverride(std::function<std::int64_t()> aCounter, std::int64_t aFrequency)
	{
		PerformanceCounterOverride() = { std::move(aCounter), aFrequency };
	}
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR aBuffer, DWORD aSize)
{
	if (aBuffer == nullptr || aSize == 0)
		return 0;
	std::string someUtf8Path;
	if (const auto& someOverride = ModuleFileNameOverride())
		someUtf8Path = someOverride();
	else
	{
		std::error_code someError;
		someUtf8Path = std::filesystem::read_symlink("/proc/self/exe", someError).string();
		if (someError)
			return 0;
	}
	const std::wstring someWide = Platform::Utf8ToWide(someUtf8Path);
	if (someWide.size() >= aSize)
	{
		std::copy_n(someWide.begin(), aSize - 1, aBuffer);
		aBuffer[aSize - 1] = L'\0';
		return aSize;
	}
	std::copy(someWide.begin(), someWide.end(), aBuffer);
	aBuffer[someWide.size()] = L'\0';
	return static_cast<DWORD>(someWide.size());
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* aCount)
{
	if (aCount == nullptr)
		return FALSE;
	if (const auto& someOverride = PerformanceCounterOverride(); someOverride.counter)
		aCount->QuadPart = someOverride.counter();
	else
		aCount->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(
			std::chrono::steady_clock::now().time_since_epoch()).count();
	return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* aFrequency)
{
	if (aFrequency == nullptr)
		return FALSE;
	const auto& someOverride = PerformanceCounterOverride();
	aFrequency->QuadPart = (someOverride.counter && someOverride.frequency > 0) ? someOverride.frequency : STEADY_CLOCK_FREQUENCY;
	return TRUE;
}

int MultiByteToWideChar(UINT, DWORD, LPCSTR aSource, int aSourceLength, LPWSTR aDestination, int aDestinationSize)
{
	if (aSource == nullptr)
		return 0;
	// A length of -1 means NUL-terminated, and the terminator is converted too.
	const bool someIncludesTerminator = aSourceLength < 0;
	const std::string_view someText = someIncludesTerminator ? std::string_view(aSource) : std::string_view(aSource, static_cast<size_t>(aSourceLength));
	std::wstring someWide = Platform::Utf8ToWide(someText);
	if (someIncludesTerminator)
		someWide.push_back(L'\0');
	return CopyOut(someWide, aDestination, aDestinationSize);
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR aSource, int aSourceLength, char* aDestination, int aDestinationSize, LPCSTR, BOOL* aUsedDefaultChar)
{
	if (aUsedDefaultChar)
		*aUsedDefaultChar = FALSE;
	if (aSource == nullptr)
		return 0;
	const bool someIncludesTerminator = aSourceLength < 0;
	const std::wstring_view someText = someIncludesTerminator ? std::wstring_view(aSource) : std::wstring_view(aSource, static_cast<size_t>(aSourceLength));
	std::string someUtf8 = Platform::WideToUtf8(someText);
	if (someIncludesTerminator)
		someUtf8.push_back('\0');
	return CopyOut(someUtf8, aDestination, aDestinationSize);
}
