#pragma once
// A state for the state owner that only counts how often it came up.
#include "shell/IStates.h"

namespace NorvTest
{
	class CountingState : public IStates
	{
	public:
		void Init(InputMapper&) override { ++myInits; }
		int Update(InputMapper&, float) override { return StateTransition::Stay; }
		void Exit() override {}
		void Render(InputMapper&) override {}
		void OnResize() override {}
		int myInits = 0;
	};
}
