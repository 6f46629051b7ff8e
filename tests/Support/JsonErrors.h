#pragma once
// Checks that a call throws the json library's exception with a given id and
// message text (the text after the library's "[json.exception....] " prefix).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace NorvTest
{
	template <typename Call>
	::testing::AssertionResult ThrowsJsonError(Call aCall, int aId, const std::string& aMessage)
	{
		try
		{
			aCall();
		}
		catch (const nlohmann::json::exception& aError)
		{
			const std::string someWhat = aError.what();
			const bool someEndsWith = someWhat.size() >= aMessage.size() && someWhat.compare(someWhat.size() - aMessage.size(), aMessage.size(), aMessage) == 0;
			if (aError.id == aId && someEndsWith)
				return ::testing::AssertionSuccess();
			return ::testing::AssertionFailure() << "threw " << aError.id << " \"" << someWhat << "\"";
		}
		return ::testing::AssertionFailure() << "threw nothing";
	}
}
