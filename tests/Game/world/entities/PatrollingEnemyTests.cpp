#include "PlayerWorld.h"

#include "Game/data/GameDataFolder.h"
#include "Support/ShellFixture.h"

#include "world/effects/FlipbookVFX.h"
#include "world/entities/PatrollingEnemy.h"

#include "engine/DrawCalls.h"

namespace
{
	using NorvTest::FrameInput;
	using NorvTest::SteppedWorld;
	using nlohmann::json;

	constexpr int SECOND = 60; // frames

	class Hedgehog : public NorvTest::PlayerWorldTest
	{
	protected:
		// The grid with 'P' the player and 'H' a hedgehog.
		void LoadHedgehogs(const std::vector<std::string>& aRows, int aSettleFrames = 2)
		{
			myWorld.LoadAscii(aRows, { { 'P', "Player" }, { 'H', "PatrollingEnemy" } });
			Step(aSettleFrames);
		}
		PatrollingEnemy* FindH() { return myWorld.myState.FindEntityOfType<PatrollingEnemy>(); }
		PatrollingEnemy& H()
		{
			PatrollingEnemy* someEnemy = FindH();
			if (!someEnemy)
				throw std::runtime_error("no hedgehog in the level");
			return *someEnemy;
		}
		float Gap() { return std::abs(H().myPosition.x - P().myPosition.x); }
		// Frames stepped (at most aLimit) until aDone holds; -1 when it never did.
		template <typename Done>
		int StepUntil(Done aDone, int aLimit, const FrameInput& anInput = {})
		{
			for (int someFrame = 0; someFrame < aLimit; ++someFrame)
			{
				if (aDone())
					return someFrame;
				Step(1, anInput);
			}
			return aDone() ? aLimit : -1;
		}
		// Presses Attack for one frame, then waits out the attack.
		void Strike()
		{
			Step(1, { { InputAction::Attack } });
			Step(26);
		}
	};

	// The player between a wall and a hedgehog that walks at it, close enough to strike.
	const std::vector<std::string> CORRIDOR = {
		"#          #   ",
		"#     P H  #   ",
		"###############",
	};

	// ---------------------------------------------------------------- hits

	TEST_F(Hedgehog, FourSidewaysHitsKillItWithoutThePlayerTakingDamage)
	{
		LoadHedgehogs(CORRIDOR, SECOND); // past the player's spawn grace
		for (int someHit = 1; someHit <= 4; ++someHit)
		{
			if (someHit > 1)
				Step(26); // the last attack runs out
			ASSERT_LT(Gap(), 340.0f) << "hit " << someHit << " out of reach";
			Step(1, { { InputAction::Attack } });
			EXPECT_FLOAT_EQ(H().myHealth, 4.0f - static_cast<float>(someHit));
		}
		EXPECT_TRUE(H().myIsDead);
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);
		EXPECT_TRUE(H().GetDeathEffect().IsPlaying());

		// The corpse shrinks to nothing: no more hits, no push, no contact damage.
		Step(20); // past the flash of the last hit
		EXPECT_EQ(H().myColliderSize, (Norv::Vector2<float>{}));
		const Norv::Vector2<float> somePlace = H().myPosition;
		H().TakeDamage({ 1.0f, { 900.0f, 900.0f }, "", nullptr });
		EXPECT_FALSE(H().myIsHurt);
		EXPECT_EQ(H().myVelocity, (Norv::Vector2<float>{}));
		P().myVelocity = {};
		P().OnCollision(H());
		EXPECT_EQ(P().myVelocity, (Norv::Vector2<float>{}));
		P().myPosition = somePlace;
		Step(5);
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);

		// Removed one second after its death.
		EXPECT_NEAR(StepUntil([&] { return FindH() == nullptr; }, SECOND), SECOND - 25, 2);
	}

	// A hedgehog killed this frame keeps its collider until its own update: a blow
	// on that corpse lands nothing, so the player is not shielded from the next hit.
	TEST_F(Hedgehog, StrikingAHedgehogThatDiedThisFrameGrantsNoProtection)
	{
		LoadHedgehogs(CORRIDOR, SECOND + 5); // past the player's spawn grace
		ASSERT_FALSE(P().myIsHurt);
		H().myPosition.x = P().myPosition.x + 200.0f; // within the sideways strike
		H().Die();
		ASSERT_GT(H().myColliderSize.x, 0.0f);
		P().Attack(&myWorld.myState.GetTileGrid());
		ASSERT_TRUE(P().IsAttacking());
		EXPECT_FALSE(P().IsAttackLanded());
		P().TakeDamage({ 1.0f, {}, "", nullptr });
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
	}

	// An attack begun out of reach still strikes the hedgehog the dash-slash carries it to.
	TEST_F(Hedgehog, ADashSlashStrikesAHedgehogItReaches)
	{
		LoadHedgehogs({
			"                    ",
			"  P     H           ",
			"####################",
		}, SECOND);
		AbilityFlags[Ability::DASH] = true; // a level starts without them
		AbilityFlags[Ability::DASH_SLASH] = true;
		Step(1, { { InputAction::Right, InputAction::Dash } });
		ASSERT_TRUE(C().IsDashing());
		Step(1, { { InputAction::Right, InputAction::Attack } });
		ASSERT_TRUE(P().IsAttacking());
		ASSERT_GE(StepUntil([&] { return H().myIsHurt; }, 20, { { InputAction::Right } }), 0);
		EXPECT_TRUE(P().IsAttackLanded());
		EXPECT_GT(H().myVelocity.x, 0.0f);
		Step(15, { { InputAction::Right } });
		EXPECT_FLOAT_EQ(H().myHealth, 3.0f);
	}

	TEST_F(Hedgehog, ItPushesAndHurtsAPlayerItTouches)
	{
		LoadHedgehogs(CORRIDOR, SECOND);
		P().myPosition.x = H().myPosition.x - 100.0f;
		P().myVelocity = {};
		Step(1);
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
		EXPECT_LT(P().myVelocity.x, 0.0f); // knocked back to the left, away from it
		EXPECT_GT(P().myVelocity.y, 0.0f);
	}

	// A roll through the player ends in the wall behind it: deflected while rolling,
	// struck while stunned.
	TEST_F(Hedgehog, AHitWhileRollingIsDeflectedAndAStunnedOneTakesDamage)
	{
		LoadHedgehogs({
			"#             #",
			"#   P     H   #",
			"###############",
		});
		ASSERT_GE(StepUntil([&] { return H().myIsRolling; }, 5 * SECOND), 2 * SECOND + 30) << "rolls only after its cooldown";
		EXPECT_EQ(H().myFacing, -1); // at the player
		EXPECT_EQ(H().myMode, PatrollingEnemy::ROLL);
		ASSERT_GE(StepUntil([&] { return Gap() < 330.0f; }, SECOND), 0);
		ASSERT_TRUE(H().myIsRolling);
		Step(1, { { InputAction::Attack } });
		EXPECT_FLOAT_EQ(H().myHealth, 4.0f);
		EXPECT_FALSE(H().myIsHurt);
		EXPECT_TRUE(H().GetDeflectEffect().IsPlaying());

		ASSERT_GE(StepUntil([&] { return H().myIsStunned; }, SECOND), 0);
		EXPECT_EQ(H().myMode, PatrollingEnemy::STUNNED);
		EXPECT_FALSE(H().myIsRolling);
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f); // the landed strike shielded the player as it rolled through
		Step(2, { { InputAction::Left } });
		Step(26);
		Step(1, { { InputAction::Attack } });
		EXPECT_FLOAT_EQ(H().myHealth, 3.0f);
		EXPECT_TRUE(H().myIsHurt);
		EXPECT_TRUE(H().GetHitEffect().IsPlaying());

		// The stun lasts 1.6 s, then it patrols again with its cooldown restarted.
		ASSERT_GE(StepUntil([&] { return !H().myIsStunned; }, 2 * SECOND), 0);
		EXPECT_EQ(H().myMode, PatrollingEnemy::PATROL);
		EXPECT_LT(H().myRollCooldownTimer, 0.02f);
	}

	TEST_F(Hedgehog, ARollThatFindsNoWallUnrollsAfterItsTime)
	{
		LoadHedgehogs({
			"                                        ",
			"   H      P                             ",
			"########################################",
		});
		ASSERT_GE(StepUntil([&] { return H().myIsRolling; }, 5 * SECOND), 0);
		const int someRollFrames = StepUntil([&] { return H().myIsUnrolling; }, 2 * SECOND);
		EXPECT_NEAR(someRollFrames, 90, 2); // 1.5 s
		EXPECT_EQ(H().myMode, PatrollingEnemy::UNROLLING);
		EXPECT_FALSE(H().GetRollEffect().IsPlaying());
		EXPECT_NEAR(StepUntil([&] { return !H().myIsUnrolling; }, SECOND), 48, 2); // half the stun time
	}

	TEST_F(Hedgehog, WalkingOntoSpikesKillsItOnce)
	{
		myWorld.LoadAscii({
			"P                ",
			"#                ",
			"                 ",
			"    H   S        ",
			"#################",
		}, { { 'P', "Player" }, { 'H', "PatrollingEnemy" }, { 'S', "Spikes" } });
		ASSERT_GE(StepUntil([&] { return H().myIsDead; }, 5 * SECOND), 0);
		EXPECT_FLOAT_EQ(H().myHealth, 0.0f);
		EXPECT_NEAR(H().myPosition.x, 800.0f, 130.0f);
		// Still dead on the spikes for its last second, it is not killed again.
		EXPECT_NEAR(StepUntil([&] { return FindH() == nullptr; }, 2 * SECOND), SECOND, 2);
	}

	// ---------------------------------------------------------------- sight

	TEST_F(Hedgehog, APlayer250UnitsAboveDoesNotMakeItRollOneOnItsLevelDoes)
	{
		// A hedgehog 250 tall stands with its centre 125 above the floor; the player
		// on the ledge three tiles up stands 250 above that.
		NorvTest::WriteDefinition(myWorld.Folder(), "TallHedgehog", json::array({ { { "name", "entityId" }, { "type", "StringId" }, { "value", "PatrollingEnemy" } },
			{ { "name", "colliderSize" }, { "type", "Float2" }, { "value", { 175.0f, 250.0f } } } }));
		json someObjects = NorvTest::AsciiObjects({
			" P          ",
			"###        #",
			"           #",
			"           #",
			"############",
		}, { { 'P', "Player" } });
		someObjects.push_back(NorvTest::SceneObject("tall", "TallHedgehog", { 600.0f, 200.0f, 0.0f }));
		NorvTest::WriteAsciiDefinitions(myWorld.Folder(), { { 'P', "Player" } });
		NorvTest::WriteScene(myWorld.Folder(), "scenes/Tall.nvs", someObjects);
		myWorld.Load("scenes/Tall.nvs");
		Step(SECOND);
		ASSERT_FLOAT_EQ(P().myPosition.y - H().myPosition.y, 250.0f);
		ASSERT_LT(Gap(), H().myAggroRange);

		EXPECT_EQ(StepUntil([&] { return H().myMode == PatrollingEnemy::ROLL; }, 5 * SECOND), -1);
		EXPECT_GT(H().myRollCooldownTimer, H().myRollCooldown);

		// Down on the floor near it, the player is seen at once (the cooldown is long over).
		P().myPosition = { H().myPosition.x - 400.0f, 200.0f };
		EXPECT_GE(StepUntil([&] { return H().myMode == PatrollingEnemy::ROLL; }, SECOND), 0);
	}

	// ---------------------------------------------------------------- patrol

	TEST_F(Hedgehog, OnAPlatformOneTileWideItAlwaysTurnsRight)
	{
		LoadHedgehogs({
			"P          ",
			"#          ",
			"           ",
			"     H     ",
			"     #     ",
		}, 0);
		H().myFacing = -1;
		Step(2);
		EXPECT_EQ(H().myFacing, 1);
		EXPECT_FLOAT_EQ(H().myRotation.y, 180.0f);
	}

	TEST_F(Hedgehog, ItPatrolsAPlatformTurningAtBothEndsWithoutFalling)
	{
		// The player far above, out of its sight.
		LoadHedgehogs({
			"P           ",
			"#           ",
			"            ",
			"            ",
			"            ",
			"            ",
			"        H   ",
			"  #######   ",
		}, 0);
		float someLeftmost = H().myPosition.x;
		float someRightmost = someLeftmost;
		int someTurns = 0;
		int someFacing = H().myFacing;
		for (int someFrame = 0; someFrame < 12 * SECOND; ++someFrame)
		{
			Step(1);
			someLeftmost = std::min(someLeftmost, H().myPosition.x);
			someRightmost = std::max(someRightmost, H().myPosition.x);
			someTurns += H().myFacing != someFacing ? 1 : 0;
			someFacing = H().myFacing;
		}
		EXPECT_GE(someTurns, 3);
		EXPECT_LT(someLeftmost, 300.0f);
		EXPECT_GT(someLeftmost, 150.0f); // the platform begins at x 150
		EXPECT_GT(someRightmost, 700.0f);
		EXPECT_LT(someRightmost, 850.0f); // and ends at 850
		EXPECT_NEAR(H().myPosition.y, 50.0f + 87.5f, 0.5f);
		EXPECT_EQ(H().myMode, PatrollingEnemy::PATROL);
	}

	// ---------------------------------------------------------------- the boss

	json Tile(float anX, float aY) { return NorvTest::SceneObject("tile", "Tile", { anX, aY, 0.0f }); }

	class Boss : public Hedgehog
	{
	protected:
		// By default a short floor with the player left of the boss.
		void LoadBoss(json someObjects = NorvTest::AsciiObjects({ "  P       ", "##########" }, { { 'P', "Player" } }), Norv::Vector2<float> aBossPlace = { 700.0f, 200.0f })
		{
			// Any font will do for the name.
			std::ifstream someFont(NorvTest::SHELL_TEST_FONT, std::ios::binary);
			std::stringstream someBytes;
			someBytes << someFont.rdbuf();
			myWorld.Folder().Write("Source/Game/data/UI/BlackCastleMF.ttf", someBytes.str());
			// A boss of the test's own unless the data set's was put in place.
			if (!std::filesystem::exists(myWorld.Folder().Path() / "game/definitions/HedgehogBoss.nvo"))
				NorvTest::WriteDefinition(myWorld.Folder(), "HedgehogBoss", json::array({ { { "name", "entityId" }, { "type", "StringId" }, { "value", "PatrollingEnemy" } },
					{ { "name", "isBoss" }, { "type", "Bool" }, { "value", true } } }));
			someObjects.push_back(NorvTest::SceneObject("boss", "HedgehogBoss", { aBossPlace.x, aBossPlace.y, 0.0f }));
			NorvTest::WriteAsciiDefinitions(myWorld.Folder(), { { 'P', "Player" } });
			NorvTest::WriteScene(myWorld.Folder(), "scenes/Boss.nvs", someObjects);
			myWorld.Load("scenes/Boss.nvs");
		}
	};

	TEST_F(Boss, TheBossIsLargerAndWaitsForTheFight)
	{
		LoadBoss();
		ASSERT_TRUE(H().myIsBoss);
		EXPECT_EQ(H().myColliderSize, (Norv::Vector2<float>{ 300.0f, 300.0f }));
		EXPECT_FLOAT_EQ(H().myHealth, 20.0f);
		EXPECT_FLOAT_EQ(H().myRollSpeed, 1500.0f);
		const float someX = H().myPosition.x;
		Step(3 * SECOND);
		EXPECT_FALSE(H().myIsActive);
		EXPECT_FLOAT_EQ(H().myPosition.x, someX);
		EXPECT_EQ(H().myMode, 0);

		H().StartBossFight();
		Step(SECOND);
		EXPECT_NE(H().myPosition.x, someX);
		EXPECT_NEAR(H().myHudAlpha, 0.5f, 0.01f);
	}

	TEST_F(Boss, ItsBarShowsOneSegmentPerHitPointUnderItsName)
	{
		LoadBoss();
		const auto DrawsOf = [&] {
			const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
			H().RenderUI();
			return Norv::DrawCalls::GetCurrentFrameCount() - someBefore;
		};
		EXPECT_EQ(DrawsOf(), 0u); // before the fight
		H().StartBossFight();
		const std::uint32_t someFull = DrawsOf();
		H().myHealth = 2.5f;
		const std::uint32_t someLow = DrawsOf();
		EXPECT_EQ(someFull - someLow, 17u); // 20 segments against 3
		EXPECT_GE(someLow, 4u);             // and the name
		EXPECT_GT(H().myBarY, 0.0f);
	}

	// The arena's floor from -1500 to 1500 between walls at -1100 and 1100.
	json ArenaWalls()
	{
		json someObjects = json::array();
		for (float someX = -1500.0f; someX <= 1500.0f; someX += 100.0f)
			someObjects.push_back(Tile(someX, 0.0f));
		for (float someY = 100.0f; someY <= 400.0f; someY += 100.0f)
		{
			someObjects.push_back(Tile(-1100.0f, someY));
			someObjects.push_back(Tile(1100.0f, someY));
		}
		return someObjects;
	}

	// The arena with a ledge above the floor for the player.
	json Arena(float aLedgeY)
	{
		json someObjects = ArenaWalls();
		for (float someX = -200.0f; someX <= 200.0f; someX += 100.0f)
			someObjects.push_back(Tile(someX, aLedgeY));
		someObjects.push_back(NorvTest::SceneObject("player", "Player", { 0.0f, aLedgeY + 200.0f, 0.0f }));
		return someObjects;
	}

	TEST_F(Boss, ItRollsEveryCycleBouncesOffWallsAndJumpsAtAPlayerHighAbove)
	{
		LoadBoss(Arena(700.0f), { -600.0f, 200.0f });
		H().StartBossFight();
		Step(SECOND);
		ASSERT_GT(P().myPosition.y - H().myPosition.y, 400.0f);
		const int someUntilRoll = StepUntil([&] { return H().myIsRolling; }, 8 * SECOND);
		EXPECT_NEAR(someUntilRoll, 4 * SECOND + 36, 3); // the 5 s roll cycle (one second gone), then the windup

		// The jump timer is long due: it leaves the ground from the roll and slams down.
		ASSERT_GE(StepUntil([&] { return H().myIsJumping; }, 2), 0);
		EXPECT_GT(H().myVelocity.y, 0.0f);
		ASSERT_GE(StepUntil([&] { return !H().myIsJumping; }, 3 * SECOND), 0);
		EXPECT_EQ(H().myMode, PatrollingEnemy::ROLL);
		EXPECT_GT(myWorld.myState.GetCameraController().myShakeRemaining, 0.0f);

		// A wall turns it round and it rolls on, never stunned.
		const int someFacing = H().myFacing;
		ASSERT_GE(StepUntil([&] { return H().myFacing != someFacing; }, 3 * SECOND), 0);
		EXPECT_TRUE(H().myIsRolling);
		EXPECT_FALSE(H().myIsStunned);
		EXPECT_FLOAT_EQ(H().myRotation.y, H().myFacing == 1 ? 180.0f : 0.0f);
	}

	// With the player out of reach behind a wall, the boss bounces between the walls
	// for its whole roll.
	TEST_F(Boss, ItsRollLastsSevenSeconds)
	{
		json someObjects = ArenaWalls();
		someObjects.push_back(NorvTest::SceneObject("player", "Player", { -1400.0f, 200.0f, 0.0f }));
		LoadBoss(someObjects, { 0.0f, 200.0f });
		H().StartBossFight();
		ASSERT_GE(StepUntil([&] { return H().myIsRolling; }, 7 * SECOND), 0);
		EXPECT_NEAR(StepUntil([&] { return H().myIsUnrolling; }, 9 * SECOND), 7 * SECOND, 1);
	}

	// The centre jump can come due while the boss is not rolling: it winds up and
	// rolls first, then jumps.
	TEST_F(Boss, ACentreJumpDueBeforeTheRollWindsUpFirst)
	{
		LoadBoss(Arena(900.0f), { 0.0f, 200.0f });
		H().StartBossFight();
		Step(SECOND);
		H().myPosition.x = 0.0f;
		H().myVelocity.x = 0.0f;
		H().myRollCycleTimer = H().myRollCycle + 1.0f;
		H().myRollCooldownTimer = H().myRollCooldown;
		H().myJumpTimer = H().myJumpInterval;
		Step(1);
		ASSERT_EQ(H().myMode, PatrollingEnemy::BOSS_JUMP);
		ASSERT_FALSE(H().myIsRolling);
		EXPECT_GE(StepUntil([&] { return H().myIsJumping; }, SECOND), 30); // after the 0.6 s windup
		EXPECT_TRUE(H().myIsRolling);
	}
}

namespace
{
	const std::filesystem::path GAME_DATA = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game/data";

	// The data set's hedgehog and boss, as the game loads them.
	TEST_F(Boss, TheDataSetsHedgehogAndBossGetTheirModelsAndEveryClip)
	{
		const std::filesystem::path someModels = GAME_DATA / "models/Enemies";
		if (!std::filesystem::exists(someModels / "Hedgehog") || !std::filesystem::exists(GAME_DATA / "definitions/entities/HedgehogBoss.nvo"))
			GTEST_SKIP() << "the generated data set is missing under " << GAME_DATA;
		const std::filesystem::path someTarget = myWorld.Folder().Path() / "game/models/Enemies";
		std::filesystem::create_directories(someTarget);
		std::filesystem::copy(someModels, someTarget, std::filesystem::copy_options::recursive);
		for (const char* someName : { "Hedgehog", "HedgehogBoss" })
			myWorld.Folder().Write(std::string("game/definitions/") + someName + ".nvo", NorvTest::ReadText(GAME_DATA / "definitions/entities" / (std::string(someName) + ".nvo")));
		json someObjects = NorvTest::AsciiObjects({ "                    ", "         P          ", "####################" }, { { 'P', "Player" } });
		someObjects.push_back(NorvTest::SceneObject("hedgehog", "Hedgehog", { 300.0f, 200.0f, 0.0f }));
		NorvTest::WriteAsciiDefinitions(myWorld.Folder(), { { 'P', "Player" } });
		LoadBoss(someObjects, { 1500.0f, 300.0f });

		std::vector<PatrollingEnemy*> someEnemies;
		for (const std::unique_ptr<Entity>& someEntity : myWorld.myState.GetEntities())
			if (auto* someEnemy = dynamic_cast<PatrollingEnemy*>(someEntity.get()))
				someEnemies.push_back(someEnemy);
		ASSERT_EQ(someEnemies.size(), 2u);
		const char* const NAMES[] = { "Idle", "Roll", "RollStunned", "RollStunnedBackUp", "RollUp", "Unroll", "Walk", "WalkCharge", "Damaged", "Death" };
		for (PatrollingEnemy* someEnemy : someEnemies)
		{
			ASSERT_NE(someEnemy->myAnimatedInstance.GetModel(), nullptr);
			for (int someState = 0; someState < 10; ++someState)
			{
				EXPECT_EQ(someEnemy->GetAnimator()->GetState(someState).name, NAMES[someState]);
				EXPECT_NE(someEnemy->GetAnimator()->GetState(someState).player.GetAnimation(), nullptr) << NAMES[someState];
			}
		}
		EXPECT_FALSE(someEnemies[0]->myIsBoss);
		EXPECT_TRUE(someEnemies[1]->myIsBoss);
		EXPECT_EQ(someEnemies[1]->myColliderSize, (Norv::Vector2<float>{ 300.0f, 300.0f }));

		// The hedgehog walks, then curls up and rolls at the player.
		PatrollingEnemy& someHedgehog = *someEnemies[0];
		Step(10);
		EXPECT_EQ(someHedgehog.GetAnimator()->GetCurrentStateIndex(), EnemyAnims::PatrollingEnemyAnims::WALK);
		ASSERT_GE(StepUntil([&] { return someHedgehog.myIsRollingUp; }, 4 * SECOND), 0);
		Step(1);
		EXPECT_EQ(someHedgehog.GetAnimator()->GetCurrentStateIndex(), EnemyAnims::PatrollingEnemyAnims::ROLL_UP);
	}
}
