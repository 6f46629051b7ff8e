#pragma once
// Records the engine's failed asserts while in scope instead of printing them.
#include "debug/Assert.h"

#include <string>
#include <vector>

namespace NorvTest
{
	class AssertRecorder
	{
	public:
		AssertRecorder()
		{
			myPrevious = Norv::SetAssertHandler([this](const Norv::AssertFailure& aFailure) { myConditions.emplace_back(aFailure.condition); });
		}
		~AssertRecorder() { Norv::SetAssertHandler(std::move(myPrevious)); }
		AssertRecorder(const AssertRecorder&) = delete;
		AssertRecorder& operator=(const AssertRecorder&) = delete;

		size_t Count() const { return myConditions.size(); }
		const std::vector<std::string>& Conditions() const { return myConditions; }
		bool Saw(const std::string& aConditionPart) const
		{
			for (const std::string& someCondition : myConditions)
				if (someCondition.find(aConditionPart) != std::string::npos)
					return true;
			return false;
		}

	private:
		std::vector<std::string> myConditions;
		Norv::AssertHandler myPrevious;
	};
}
