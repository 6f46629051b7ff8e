#include "PlayerWorld.h"

namespace
{
	using NorvTest::FrameInput;
	using NorvTest::PlayerWorldTest;
	using NorvTest::SteppedWorld;

	constexpr float FLOOR_TOP = 50.0f;   // the top face of row 0
	constexpr float HALF_HEIGHT = 75.0f; // half the player's collider

	using PlayerJump = PlayerWorldTest;

	// Held, the rise is 1372 for the 0.23 s hold (counted down from the press
	// frame: 13 moves at 60 Hz), then the halved speed coasts up.
	TEST_F(PlayerJump, AFullHeldJumpRisesAbout350AndAOneFrameTapAbout70)
	{
		Load(NorvTest::FLAT_FLOOR);
		ASSERT_TRUE(IsStanding());
		EXPECT_NEAR(P().myPosition.y, FLOOR_TOP + HALF_HEIGHT, 0.01f);
		EXPECT_NEAR(Rise(60), 350.0f, 5.0f);
		Step(10);
		EXPECT_NEAR(Rise(1), 70.0f, 8.0f);
	}

	TEST_F(PlayerJump, APressUpTo012SecondsBeforeLandingStillJumps)
	{
		const std::vector<std::string> someDrop = { "   P  ", "      ", "      ", "      ", "      ", "      ", "######" };
		Load(someDrop, 1);
		int someFallFrames = 1;
		while (!IsStanding() && someFallFrames < 300)
		{
			Step(1);
			++someFallFrames;
		}
		ASSERT_GT(someFallFrames, 20);

		for (const int someEarlyFrames : { 7, 9 }) // 0.117 s jumps, 0.15 s does not
		{
			SteppedWorld someWorld;
			someWorld.LoadAscii(someDrop, { { 'P', "Player" } });
			Player& somePlayer = *someWorld.myState.GetFrameContext().player;
			someWorld.Step(someFallFrames - someEarlyFrames);
			ASSERT_GT(somePlayer.myAirTime, 0.0f);
			someWorld.Step(someEarlyFrames + 20, { { InputAction::Jump } });
			if (someEarlyFrames == 7)
			{
				EXPECT_GT(somePlayer.myPosition.y, FLOOR_TOP + HALF_HEIGHT + 150.0f);
			}
			else
			{
				EXPECT_NEAR(somePlayer.myPosition.y, FLOOR_TOP + HALF_HEIGHT, 0.01f);
			}
		}
	}

	TEST_F(PlayerJump, CoyoteTimeJumpsOffALedgeOnceAndNeverTwice)
	{
		Load({ "          ", "   P      ", "          ", "#####     ", "          ", "          ", "          ", "##########" });
		int someFrames = 0;
		while (IsStanding() && someFrames < 200)
		{
			Step(1, { {}, { 1.0f, 0.0f } });
			++someFrames;
		}
		ASSERT_FALSE(IsStanding());
		Step(8, { {}, { 1.0f, 0.0f } }); // 0.15 s after leaving the ledge
		Step(1, { { InputAction::Jump } });
		EXPECT_FLOAT_EQ(P().myVelocity.y, 1372.0f);
		Step(2);
		EXPECT_LT(P().myVelocity.y, 700.0f);
		// A second press inside the coyote time is no jump.
		Step(1, { { InputAction::Jump } });
		EXPECT_LT(P().myVelocity.y, 700.0f);
	}

	// Past the coyote time the player counts as airborne; speeds under 1 unit/s
	// truncate to a facing of 0.
	TEST_F(PlayerJump, InTheAirTheFacingFollowsTheSignOfTheHorizontalSpeed)
	{
		std::vector<std::string> someTower(30, "          ");
		someTower[0] = "    P     ";
		someTower.push_back("##########");
		Load(someTower, 15);
		for (const auto& [someSpeed, someFacing] : { std::pair{ -300.0f, -1 }, std::pair{ 300.0f, 1 }, std::pair{ -0.5f, 0 } })
		{
			P().myVelocity.x = someSpeed;
			Step(1);
			ASSERT_FALSE(IsStanding());
			EXPECT_EQ(P().myFacing, someFacing) << someSpeed;
		}
	}

	using PlayerDash = PlayerWorldTest;

	TEST_F(PlayerDash, ASecondDashIsRefusedUntil04SecondsAndDashesGoRightWithoutInput)
	{
		Load(NorvTest::FLAT_FLOOR);
		Step(1, { {}, { -1.0f, 0.0f } }); // facing left
		Step(5);
		AbilityFlags[Ability::DASH] = true;
		Step(1, { { InputAction::Dash } });
		ASSERT_TRUE(C().IsDashing());
		EXPECT_FLOAT_EQ(P().myVelocity.x, 2250.0f);
		Step(17); // 0.3 s: the dash is over, the cooldown is not
		EXPECT_FALSE(C().IsDashing());
		Step(1, { { InputAction::Dash } });
		EXPECT_FALSE(C().IsDashing());
		Step(6);
		Step(1, { { InputAction::Dash } });
		EXPECT_TRUE(C().IsDashing());
	}

	TEST_F(PlayerDash, OneAirDashUntilThePlayerStandsAndDiagonalsAre45Degrees)
	{
		std::vector<std::string> someTower(30, "          ");
		someTower[0] = "    P     ";
		someTower.push_back("##########");
		Load(someTower, 30); // the first dash waits out the cooldown too
		AbilityFlags[Ability::DASH] = true;
		Step(1, { { InputAction::Dash, InputAction::Up, InputAction::Right } });
		ASSERT_TRUE(C().IsDashing());
		EXPECT_NEAR(P().myVelocity.x, 2250.0f * std::cos(0.785375f), 0.01f);
		EXPECT_NEAR(P().myVelocity.y, 2250.0f * std::sin(0.785375f), 0.01f);
		// Rising and moving in the air, the animation is the dash's; only death and hurt win over it.
		using PlayerAnims::PlayerAnimations;
		Animator& someAnimator = *P().GetAnimator();
		EXPECT_EQ(someAnimator.SelectState(), PlayerAnimations::DASHING);
		P().myIsHurt = true;
		EXPECT_EQ(someAnimator.SelectState(), PlayerAnimations::DAMAGED);
		P().myIsDead = true;
		EXPECT_EQ(someAnimator.SelectState(), PlayerAnimations::DEATH);
		P().myIsHurt = P().myIsDead = false;
		Step(40);
		ASSERT_FALSE(IsStanding());
		Step(1, { { InputAction::Dash } });
		EXPECT_FALSE(C().IsDashing());
		while (!IsStanding())
			Step(1);
		Step(2);
		Step(1, { { InputAction::Dash } });
		EXPECT_TRUE(C().IsDashing());
	}

	TEST_F(PlayerDash, SwitchingTheControllerOffEndsADash)
	{
		Load(NorvTest::FLAT_FLOOR);
		AbilityFlags[Ability::DASH] = true;
		Step(1, { { InputAction::Dash } });
		ASSERT_TRUE(C().IsDashing());
		C().SetActive(false);
		EXPECT_FALSE(C().IsDashing());
		Step(30);
		EXPECT_NEAR(P().myVelocity.x, 0.0f, 0.01f);
	}

	using PlayerWalls = PlayerWorldTest;

	// A shaft three tiles wide between two walls, the player at its bottom.
	std::vector<std::string> Shaft(int aHeight)
	{
		std::vector<std::string> someRows(static_cast<std::size_t>(aHeight), "#   #");
		someRows[static_cast<std::size_t>(aHeight - 3)] = "#  P#";
		someRows.push_back("#####");
		return someRows;
	}

	TEST_F(PlayerWalls, WithoutTheAbilityNoSlideAndNoWallJump)
	{
		std::vector<std::string> someTower = Shaft(30);
		someTower[2] = "#  P#";
		Load(someTower, 1);
		float someLowest = 0.0f;
		for (int someFrame = 0; someFrame < 50; ++someFrame)
		{
			Step(1, { { someFrame % 8 == 0 ? InputAction::Jump : InputAction::Right } });
			someLowest = std::min(someLowest, P().myVelocity.y);
			EXPECT_FALSE(C().IsWallSliding());
		}
		EXPECT_LT(someLowest, -1000.0f);
	}

	TEST_F(PlayerWalls, WithTheAbilityTheSlideIsCappedAndAShaftIsClimbedByWallJumps)
	{
		std::vector<std::string> someTower = Shaft(30);
		someTower[2] = "#  P#";
		Load(someTower, 1);
		AbilityFlags[Ability::WALL_JUMP] = true;
		bool someWasSliding = false;
		for (int someFrame = 0; someFrame < 90 && !IsStanding(); ++someFrame)
		{
			Step(1, { { InputAction::Right } });
			if (C().IsWallSliding() && !someWasSliding)
			{
				EXPECT_GE(P().myVelocity.y, -209.01f);
			}
			someWasSliding = someWasSliding || C().IsWallSliding();
			EXPECT_TRUE(!someWasSliding || P().myVelocity.y >= -1000.0f);
		}
		EXPECT_TRUE(someWasSliding);
		while (!IsStanding())
			Step(1, { { InputAction::Right } });

		// Jump, then press Jump twice every ten frames, always steering towards the
		// wall the last kick points to.
		const float someStart = P().myPosition.y;
		float someTop = someStart;
		for (int someFrame = 0; someFrame < 120; ++someFrame)
		{
			const InputAction someToward = P().myVelocity.x < 0.0f ? InputAction::Left : InputAction::Right;
			Step(1, { { someFrame % 10 < 2 ? InputAction::Jump : someToward, someToward } });
			someTop = std::max(someTop, P().myPosition.y);
		}
		EXPECT_GT(someTop - someStart, 1000.0f);
	}

	using PlayerClimb = PlayerWorldTest;

	TEST_F(PlayerClimb, StaminaRunsOutThePlayerFallsAndIsFullAgainOnTheGround)
	{
		std::vector<std::string> someTower(40, "    #");
		someTower[37] = "  P #";
		someTower.push_back("#####");
		Load(someTower);
		AbilityFlags[Ability::CLIMB] = true;
		Step(20, { { InputAction::Right } });
		const float someStart = P().myPosition.y;
		Step(60, { { InputAction::Climb, InputAction::Up } });
		EXPECT_TRUE(C().IsClimbing());
		EXPECT_NEAR(P().myPosition.y - someStart, 425.0f, 20.0f);
		EXPECT_LT(C().GetStamina(), 0.75f);
		EXPECT_FALSE(P().myUsesGravity);
		Step(180, { { InputAction::Climb, InputAction::Up } });
		EXPECT_LE(C().GetStamina(), 0.0f);
		EXPECT_TRUE(P().myUsesGravity);
		EXPECT_LT(P().myVelocity.y, 0.0f);
		int someFrames = 0;
		while (!IsStanding() && someFrames++ < 600)
			Step(1, { { InputAction::Climb, InputAction::Up } });
		Step(1); // the landing frame's climb input still lifts the player once
		someFrames = 0;
		while (!IsStanding() && someFrames++ < 600)
			Step(1);
		Step(1);
		EXPECT_TRUE(IsStanding());
		EXPECT_FLOAT_EQ(C().GetStamina(), 1.0f);
	}

	TEST_F(PlayerClimb, DyingOnTheWallLetsThePlayerFall)
	{
		std::vector<std::string> someTower(20, "    #");
		someTower[17] = "  P #";
		someTower.push_back("#####");
		Load(someTower);
		AbilityFlags[Ability::CLIMB] = true;
		Step(20, { { InputAction::Right } });
		Step(30, { { InputAction::Climb, InputAction::Up } });
		ASSERT_FALSE(P().myUsesGravity);
		const float someHeight = P().myPosition.y;
		P().Die();
		EXPECT_FALSE(C().IsClimbing());
		Step(20, { { InputAction::Climb, InputAction::Up } });
		EXPECT_LT(P().myPosition.y, someHeight - 100.0f);
	}

	// The same jump, dash and landing at three frame rates, each with one 0.1 s hitch.
	class FrameRateSweep : public PlayerWorldTest, public ::testing::WithParamInterface<float>
	{
	};

	TEST_P(FrameRateSweep, NoTunnellingAndNoVelocityBlowUp)
	{
		std::vector<std::string> someTower(25, "          ");
		someTower[0] = "  P       ";
		someTower.push_back("##########");
		Load(someTower, 0);
		AbilityFlags[Ability::DASH] = true;
		const float dt = GetParam();
		const int someSecond = static_cast<int>(std::lround(1.0f / dt));
		float someLowest = 1e9f;
		float someFastest = 0.0f;
		const auto Watch = [&] {
			someLowest = std::min(someLowest, P().myPosition.y);
			someFastest = std::max(someFastest, P().myVelocity.Length());
			ASSERT_TRUE(std::isfinite(P().myPosition.x) && std::isfinite(P().myPosition.y));
		};
		for (int someFrame = 0; someFrame < 3 * someSecond; ++someFrame)
		{
			Step(1, {}, someFrame == someSecond / 2 ? 0.1f : dt); // the hitch mid-fall
			Watch();
		}
		ASSERT_TRUE(IsStanding());
		for (int someFrame = 0; someFrame < someSecond; ++someFrame)
		{
			Step(1, someFrame < someSecond / 3 ? FrameInput{ { InputAction::Jump } } : FrameInput{}, someFrame == 5 ? 0.1f : dt);
			Watch();
		}
		Step(1, { { InputAction::Dash, InputAction::Down, InputAction::Right } }, dt);
		for (int someFrame = 0; someFrame < someSecond; ++someFrame)
		{
			Step(1, {}, someFrame == 3 ? 0.1f : dt);
			Watch();
		}
		EXPECT_GE(someLowest, FLOOR_TOP + HALF_HEIGHT - 0.01f);
		EXPECT_LE(someFastest, 10000.0f);
		EXPECT_TRUE(IsStanding());
	}

	INSTANTIATE_TEST_SUITE_P(PlayerController, FrameRateSweep, ::testing::Values(1.0f / 30.0f, 1.0f / 60.0f, 1.0f / 144.0f));
}

