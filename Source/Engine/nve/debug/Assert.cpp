#include "debug/Assert.h"

#include <cstdio>

namespace Norv
{
	namespace
	{
		AssertHandler& CurrentHandler()
		{
			static AssertHandler ourHandler;
			return ourHandler;
		}
	}

	AssertHandler SetAssertHandler(AssertHandler aHandler)
	{
		AssertHandler somePrevious = std::move(CurrentHandler());
		CurrentHandler() = std::move(aHandler);
		return somePrevious;
	}

	void ReportAssertFailure(const char* aCondition, const char* aFile, unsigned aLine)
	{
		if (const AssertHandler& someHandler = CurrentHandler())
		{
			someHandler({ aCondition, aFile, aLine });
			return;
		}
		std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", aCondition, aFile, aLine);
		std::fflush(stderr);
	}
}
