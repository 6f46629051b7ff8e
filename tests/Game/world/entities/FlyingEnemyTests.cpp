#include "LevelWorld.h"

#include "world/entities/FlyingEnemy.h"

#include <string>

namespace
{
	using NorvTest::LevelWorldTest;
	using Wasp = FlyingEnemy;

	constexpr int REST_FRAMES = 90; // 1.5 s at 60 frames per second

	// Open air eight tiles high over a floor 60 tiles long; the wasp at (1500, 400),
	// the player at (200, 100).
	std::vector<std::string> WaspLevel()
	{
		std::vector<std::string> someRows(8, std::string(60, ' '));
		someRows[3][15] = 'W';
		someRows[6][2] = 'P';
		someRows[7] = std::string(60, '#');
		return someRows;
	}

	const std::map<char, std::string> LEGEND{ { 'W', "FlyingEnemy" }, { 'P', "Player" } };

	class WaspTest : public LevelWorldTest
	{
	protected:
		Wasp& W() { return *Find<Wasp>(); }
		// Steps until the wasp leaves aMode; the frames it took (aLimit when it never did).
		int StepWhileIn(int aMode, int aLimit)
		{
			int someFrames = 0;
			while (W().myMode == aMode && someFrames < aLimit)
			{
				Step(1);
				++someFrames;
			}
			return someFrames;
		}
	};

	TEST_F(WaspTest, ChargesAPlayerWithin800ThenFliesHomeAndRests15Seconds)
	{
		Load(WaspLevel(), LEGEND);
		Step(60);
		ASSERT_NE(Find<Wasp>(), nullptr);
		EXPECT_EQ(W().myMode, Wasp::HOVER); // the player is about 1330 away
		EXPECT_EQ(W().myPosition, (Norv::Vector2<float>{ 1500.0f, 400.0f }));
		EXPECT_TRUE(W().myLoopPlaying); // within 1500 the buzz runs

		P().myPosition = { 850.0f, 125.0f }; // about 706 away
		Step(1);
		ASSERT_EQ(W().myMode, Wasp::CHARGE);
		EXPECT_EQ(W().myHome, (Norv::Vector2<float>{ 1500.0f, 400.0f }));
		const Norv::Vector2<float> someTarget = W().myChargeTarget;
		EXPECT_NEAR(someTarget.x, 850.0f, 1.0f);

		// The target stays where the player was; the player walks off out of earshot.
		P().myPosition = { 5500.0f, 125.0f };
		EXPECT_LT(StepWhileIn(Wasp::CHARGE, 600), 600);
		EXPECT_FALSE(W().myLoopPlaying);
		EXPECT_EQ(W().myMode, Wasp::RETURN);
		EXPECT_LE((W().myPosition - someTarget).Length(), 15.0f);
		EXPECT_EQ(W().myVelocity, (Norv::Vector2<float>{}));

		EXPECT_LT(StepWhileIn(Wasp::RETURN, 600), 600);
		EXPECT_EQ(W().myMode, Wasp::REST);
		EXPECT_LE((W().myPosition - W().myHome).Length(), 15.0f);
		EXPECT_NEAR(StepWhileIn(Wasp::REST, 600), REST_FRAMES, 1);
		EXPECT_EQ(W().myMode, Wasp::HOVER);
		Step(60);
		EXPECT_EQ(W().myMode, Wasp::HOVER);
	}

	TEST_F(WaspTest, StruckByAPlayerOnItsRightItChargesUpTo200BeyondThePlayer)
	{
		std::vector<std::string> someRows(6, std::string(30, ' '));
		someRows[3][10] = 'W';
		someRows[4][12] = 'P';
		someRows[5] = std::string(30, '#');
		Load(someRows, LEGEND);
		// Resting for good, so only the strike can send it off.
		W().myMode = Wasp::REST;
		W().myRestTimer = -1000.0f;
		Step(70);
		Step(3, NorvTest::FrameInput{ { InputAction::Left } });
		Press(InputAction::Attack);

		const float somePlayerX = P().myPosition.x;
		ASSERT_EQ(W().myMode, Wasp::CHARGE);
		EXPECT_FLOAT_EQ(W().myHealth, 1.0f);
		EXPECT_LT(W().myVelocity.x, 0.0f); // thrown away from the player first
		EXPECT_GT(W().myChargeTarget.x, somePlayerX + 100.0f);
		EXPECT_LE(W().myChargeTarget.x, somePlayerX + 200.0f);

		float someFarthest = W().myPosition.x;
		for (int someFrame = 0; someFrame < 180 && W().myMode == Wasp::CHARGE; ++someFrame)
		{
			Step(1);
			someFarthest = std::max(someFarthest, W().myPosition.x);
		}
		EXPECT_GT(someFarthest, somePlayerX + 100.0f); // out past the player, on its far side

		// Struck before it ever charged, it flies back to the post it was placed at.
		EXPECT_LT(StepWhileIn(Wasp::CHARGE, 600), 600);
		EXPECT_LT(StepWhileIn(Wasp::RETURN, 600), 600);
		EXPECT_EQ(W().myMode, Wasp::REST);
		EXPECT_LE((W().myPosition - Norv::Vector2<float>{ 1000.0f, 200.0f }).Length(), 15.0f);
	}

	TEST_F(WaspTest, TwoHitsWithin02SecondsCountOnceAndItDiesOnce)
	{
		std::vector<std::string> someRows{ "   W   ", "#######" };
		Load(someRows, { { 'W', "FlyingEnemy" } });
		// No player in this level: the wasp hovers and nothing fails.
		Step(30);
		EXPECT_EQ(W().myMode, Wasp::HOVER);

		testing::internal::CaptureStdout();
		W().TakeDamage({ 1.0f, {}, "", nullptr });
		Step(6); // 0.1 s
		W().TakeDamage({ 1.0f, {}, "", nullptr });
		EXPECT_FLOAT_EQ(W().myHealth, 1.0f);
		Step(12); // past 0.2 s of hurt
		EXPECT_FALSE(W().myIsHurt);
		W().TakeDamage({ 1.0f, {}, "", nullptr });
		EXPECT_TRUE(W().myIsDead);
		Step(15);
		W().TakeDamage({ 1.0f, {}, "", nullptr });
		const std::string someOutput = testing::internal::GetCapturedStdout();
		const std::string LINE = "im little bee and i DIEDed :((";
		ASSERT_NE(someOutput.find(LINE), std::string::npos);
		EXPECT_EQ(someOutput.find(LINE), someOutput.rfind(LINE)); // Die ran once
		EXPECT_TRUE(W().myUsesGravity); // the corpse falls
		Step(60);
		EXPECT_EQ(Find<Wasp>(), nullptr); // removed a second after death
	}

	TEST_F(WaspTest, LongFramesNeitherChargeNorReturnPastTheirSpeed)
	{
		Load({ "W" }, { { 'W', "FlyingEnemy" } });
		// Frames far longer than the play state steps: the blend would pass 1.
		FrameContext someContext = myWorld.myState.GetFrameContext();
		someContext.deltaTime = 0.2f;
		W().myMode = Wasp::CHARGE;
		W().myChargeTarget = { 40000.0f, 0.0f };
		W().myHome = {};
		for (int someFrame = 0; someFrame < 60; ++someFrame)
		{
			W().MoveAndCollide(someContext);
			W().Update(someContext);
			ASSERT_LE(W().myVelocity.Length(), 1000.0f * 1.0001f) << "frame " << someFrame;
		}
		W().myMode = Wasp::RETURN;
		for (int someFrame = 0; someFrame < 60 && W().myMode == Wasp::RETURN; ++someFrame)
		{
			W().MoveAndCollide(someContext);
			W().Update(someContext);
			ASSERT_LE(W().myVelocity.Length(), 1000.0f * 1.0001f) << "frame " << someFrame;
		}
	}
}
