#include "LevelWorld.h"

#include "world/entities/Destructibles.h"

namespace
{
	using NorvTest::LevelWorldTest;

	const std::map<char, std::string> LEGEND{ { 'C', "Destructible" }, { 'P', "Player" } };

	class DestructibleTest : public LevelWorldTest
	{
	protected:
		// The crystal at (500, 100) blocks tiles (5, 1) to (5, 3).
		int SolidColumnTiles()
		{
			int someCount = 0;
			for (int ty = 1; ty <= 3; ++ty)
				someCount += Grid().IsSolid(5, ty) ? 1 : 0;
			return someCount;
		}
	};

	TEST_F(DestructibleTest, TheSwordClearsItsTilesAtOnceAndItDisappearsASecondLater)
	{
		Load({ "          ", "          ", "          ", "  P  C    ", "##########" }, LEGEND);
		Step(70);
		ASSERT_NE(Find<Destructibles>(), nullptr);
		EXPECT_EQ(SolidColumnTiles(), 3);
		EXPECT_EQ(Find<Destructibles>()->myPosition, (Norv::Vector2<float>{ 500.0f, 100.0f })); // it stays inside its tiles

		P().myPosition.x = 300.0f;
		Press(InputAction::Attack);
		ASSERT_TRUE(Find<Destructibles>()->myIsDestroyed);
		EXPECT_EQ(SolidColumnTiles(), 0);
		Step(55);
		EXPECT_NE(Find<Destructibles>(), nullptr);
		EXPECT_EQ(SolidColumnTiles(), 0);
		Step(10);
		EXPECT_EQ(Find<Destructibles>(), nullptr);
		EXPECT_EQ(SolidColumnTiles(), 0);
	}

	TEST_F(DestructibleTest, AHitBeforeItsFirstUpdateStillClearsItsTiles)
	{
		// Loading builds and initialises the level; no entity has been updated yet.
		Load({ "     C    ", "##########" }, LEGEND);
		Destructibles& someCrystal = *Find<Destructibles>();
		ASSERT_TRUE(Grid().IsSolid(5, 1));
		someCrystal.TakeDamage({ 1.0f, {}, "", nullptr });
		EXPECT_FALSE(Grid().IsSolid(5, 1));
		EXPECT_FALSE(Grid().IsSolid(5, 3));
		Step(61);
		EXPECT_EQ(Find<Destructibles>(), nullptr);
	}

	TEST(Destructible, AHitOutsideAnyLevelBreaksItWithoutAGrid)
	{
		Destructibles someCrystal;
		someCrystal.TakeDamage({ 1.0f, {}, "", nullptr });
		EXPECT_TRUE(someCrystal.myIsDestroyed);
	}
}
