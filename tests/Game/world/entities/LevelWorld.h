#pragma once
// A stepped world built from an ASCII grid with any entity types in it, for the
// enemy and prop tests: entities are found by class, tiles read from the grid.
#include "Support/SteppedWorld.h"

#include "world/AbilityFlags.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace NorvTest
{
	class LevelWorldTest : public ::testing::Test
	{
	protected:
		static constexpr const char* SCENE = "scenes/Test.nvs";

		void SetUp() override
		{
			AbilityFlags.fill(false);
			if (!myWorld.IsStarted())
				GTEST_SKIP() << "the engine did not start headless";
		}
		void TearDown() override { AbilityFlags.fill(false); }

		// The grid with the legend's entities; anExtra adds properties to a type's definition.
		void Load(const std::vector<std::string>& aRows, const std::map<char, std::string>& aLegend,
			const std::map<std::string, nlohmann::json>& anExtra = {})
		{
			WriteAsciiScene(myWorld.Folder(), SCENE, aRows, aLegend);
			for (const auto& [someType, someProperties] : anExtra)
			{
				nlohmann::json someList = nlohmann::json::array({ { { "name", "entityId" }, { "type", "StringId" }, { "value", someType } } });
				for (const nlohmann::json& someProperty : someProperties)
					someList.push_back(someProperty);
				WriteDefinition(myWorld.Folder(), someType, someList);
			}
			myWorld.Load(SCENE);
		}
		int Step(int aFrames, const FrameInput& anInput = {}, float aDeltaTime = SteppedWorld::FRAME)
		{
			return myWorld.Step(aFrames, anInput, aDeltaTime);
		}
		// The aIndex-th entity of class T in list order, or null.
		template <typename T>
		T* Find(int aIndex = 0)
		{
			for (const std::unique_ptr<Entity>& someEntity : myWorld.myState.GetEntities())
				if (T* someFound = dynamic_cast<T*>(someEntity.get()); someFound && aIndex-- == 0)
					return someFound;
			return nullptr;
		}
		Player& P() { return *myWorld.myState.GetFrameContext().player; }
		TileCollisionGrid& Grid() { return myWorld.myState.GetTileGrid(); }
		// One frame without the action, then one with it: a fresh press.
		void Press(InputAction anAction)
		{
			Step(1);
			Step(1, FrameInput{ { anAction } });
		}

		SteppedWorld myWorld;
	};

	inline nlohmann::json Property(const char* aName, const char* aType, const nlohmann::json& aValue)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue } };
	}
}
