#pragma once
// A stepped world for the level's mechanisms and triggers: an ASCII grid ('#' a
// tile, legend characters entities) plus scene objects of definitions written by
// the test, with a player in it.
#include "Support/SteppedWorld.h"

#include "world/AbilityFlags.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

namespace NorvTest
{
	inline nlohmann::json Property(const char* aName, const char* aType, const nlohmann::json& aValue)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue } };
	}

	class MechanismWorldTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			AbilityFlags.fill(false);
			if (!myWorld.IsStarted())
				GTEST_SKIP() << "the engine did not start headless";
		}
		void TearDown() override { AbilityFlags.fill(false); }

		// The grid and then anExtra objects, with the player settled on its floor.
		void Load(const std::vector<std::string>& aRows, std::map<char, std::string> aLegend, const nlohmann::json& anExtra = nlohmann::json::array(), int aSettleFrames = 90)
		{
			aLegend['P'] = "Player";
			WriteAsciiDefinitions(Folder(), aLegend);
			nlohmann::json someObjects = AsciiObjects(aRows, aLegend);
			for (const nlohmann::json& someObject : anExtra)
				someObjects.push_back(someObject);
			WriteScene(Folder(), SCENE, someObjects);
			myWorld.Load(SCENE);
			ASSERT_NE(myWorld.myState.GetFrameContext().player, nullptr);
			Step(aSettleFrames);
		}
		int Step(int aFrames, const FrameInput& anInput = {}) { return myWorld.Step(aFrames, anInput); }
		// Steps until aDone holds, at most aLimit frames; the frames taken.
		template <typename Done>
		int StepUntil(Done aDone, int aLimit, const FrameInput& anInput = {})
		{
			int someFrames = 0;
			while (!aDone() && someFrames < aLimit)
			{
				Step(1, anInput);
				++someFrames;
			}
			return someFrames;
		}
		// The first entity of type T, or null.
		template <typename T>
		T* Find() const { return myWorld.myState.FindEntityOfType<T>(); }

		Player& P() { return *myWorld.myState.GetFrameContext().player; }
		const ExecutableFolder& Folder() const { return myWorld.Folder(); }

		static constexpr const char* SCENE = "scenes/Test.nvs";
		SteppedWorld myWorld;
	};
}
