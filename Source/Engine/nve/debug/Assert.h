#pragma once
// The engine's assert: active in every build. A failed condition is reported
// (condition text and source file on standard error, or to an installed
// handler) and execution carries on, so the caller's failure path runs.
#include <functional>

namespace Norv
{
	struct AssertFailure
	{
		const char* condition;
		const char* file;
		unsigned line;
	};

	using AssertHandler = std::function<void(const AssertFailure&)>;

	// Replaces the handler; an empty handler restores the standard-error report.
	// Returns the previous handler so callers can restore it.
	AssertHandler SetAssertHandler(AssertHandler aHandler);

	void ReportAssertFailure(const char* aCondition, const char* aFile, unsigned aLine);
}

#define NV_ASSERT(condition) \
	do { if (!(condition)) ::Norv::ReportAssertFailure(#condition, __FILE__, __LINE__); } while (false)
