#include "PlayScript.h"

#include "shell/InputMapper.h"
#include "world/AbilityFlags.h"

#include <gtest/gtest.h>

namespace
{
	using Playthrough::ActionMask;
	using Playthrough::ParseScript;
	using Playthrough::ScriptError;
	using Playthrough::Stage;

	ActionMask Held(std::initializer_list<InputAction> someActions)
	{
		ActionMask someMask = 0;
		for (InputAction someAction : someActions)
			someMask |= ActionMask{ 1 } << static_cast<unsigned>(someAction);
		return someMask;
	}

	// The message of the error that reading aText throws, or "" when it reads.
	std::string ErrorOf(std::string_view aText)
	{
		try
		{
			ParseScript(aText, "Level.txt");
		}
		catch (const ScriptError& anError)
		{
			return anError.what();
		}
		return "";
	}

	TEST(PlayScript, ReadsHoldsWaitsAndExpectsWithTheirLines)
	{
		const Playthrough::Script someScript = ParseScript(
			"# the tutorial\n"
			"\n"
			"120 Right   # run\r\n"
			"8 Right Jump\n"
			"30\n"
			"until near 2400 -300.5 80 400 Right Dash\n"
			"until scene Hub 600\n"
			"expect ability DashSlash\n",
			"Tutorial.txt");
		EXPECT_EQ(someScript.myName, "Tutorial.txt");
		ASSERT_EQ(someScript.mySteps.size(), 6u);

		const auto& someSteps = someScript.mySteps;
		EXPECT_EQ(someSteps[0].myLine, 3);
		EXPECT_EQ(someSteps[0].myFrames, 120);
		EXPECT_EQ(someSteps[0].myHeld, Held({ InputAction::Right }));
		EXPECT_FALSE(someSteps[0].myIsWait);
		EXPECT_EQ(someSteps[1].myHeld, Held({ InputAction::Right, InputAction::Jump }));
		EXPECT_EQ(someSteps[2].myFrames, 30);
		EXPECT_EQ(someSteps[2].myHeld, 0u);

		EXPECT_TRUE(someSteps[3].myIsWait);
		EXPECT_EQ(someSteps[3].myStage.myKind, Stage::Kind::Near);
		EXPECT_FLOAT_EQ(someSteps[3].myStage.myPoint.x, 2400.0f);
		EXPECT_FLOAT_EQ(someSteps[3].myStage.myPoint.y, -300.5f);
		EXPECT_FLOAT_EQ(someSteps[3].myStage.myDistance, 80.0f);
		EXPECT_EQ(someSteps[3].myFrames, 400);
		EXPECT_EQ(someSteps[3].myHeld, Held({ InputAction::Right, InputAction::Dash }));

		EXPECT_EQ(someSteps[4].myStage.myKind, Stage::Kind::Scene);
		EXPECT_EQ(someSteps[4].myStage.myName, "Hub");
		EXPECT_EQ(someSteps[4].myHeld, 0u);

		// An expectation is a wait of no frames.
		EXPECT_EQ(someSteps[5].myLine, 8);
		EXPECT_TRUE(someSteps[5].myIsWait);
		EXPECT_EQ(someSteps[5].myFrames, 0);
		EXPECT_EQ(someSteps[5].myStage.myAbility, Ability::DASH_SLASH);
		EXPECT_EQ(someSteps[5].myStage.ToText(), "ability DashSlash");
	}

	TEST(PlayScript, EveryStageReadsBackAsItsOwnText)
	{
		for (const char* someText : { "intro", "menu", "cutscene", "scene Level_2", "page", "paused", "ability WallJump", "near 10 -20 5", "ending", "boss-fight", "boss-dead", "options",
				 "volume 0.25", "dead Mushroom", "dead Boss", "fallen", "respawned" })
		{
			const Playthrough::Script someScript = ParseScript(std::string("expect ") + someText, "s");
			ASSERT_EQ(someScript.mySteps.size(), 1u) << someText;
			EXPECT_EQ(someScript.mySteps[0].myStage.ToText(), someText);
		}
	}

	TEST(PlayScript, BadLinesNameTheScriptAndTheLine)
	{
		struct Case
		{
			const char* myText;
			const char* myMessagePart;
		};
		for (const Case& someCase : std::initializer_list<Case>{
			{ "10 Right\n5 Jmup\n", "Level.txt:2: \"Jmup\" is not an action" },
			{ "-5 Right\n", "Level.txt:1: \"-5\" is not a frame count" },
			{ "12x Right\n", "\"12x\" is not a frame count" },
			{ "99999999 Right\n", "is not a frame count" },
			{ "Right 10\n", "\"Right\" is not a frame count" },
			{ "until door 10\n", "\"door\" is not a stage" },
			{ "until scene\n", "expected a scene name" },
			{ "until scene Hub\n", "expected a frame count" },
			{ "until near 1 2 10\n", "expected a frame count" },
			{ "until near 1 nan 10 5\n", "\"nan\" is not a y position" },
			{ "until near 1 2 0 5\n", "must be above 0" },
			{ "expect ability Fly\n", "\"Fly\" is not an ability (WallJump Dash Climb DashSlash)" },
			{ "expect dead Lava\n", "\"Lava\" is not a harm (Spikes Hedgehog Boss Wasp Mushroom)" },
			{ "expect dead\n", "expected a harm" },
			{ "expect volume 1.5\n", "the volume must be from 0 to 1" },
			{ "expect menu 30\n", "\"expect\" takes only its stage" },
			{ "\n\n# fine\nuntil menu 10 Confirm Bogus\n", "Level.txt:4:" },
		})
			EXPECT_NE(ErrorOf(someCase.myText).find(someCase.myMessagePart), std::string::npos) << someCase.myText << " -> " << ErrorOf(someCase.myText);
	}

	TEST(PlayScript, AnEmptyOrCommentOnlyScriptHasNoSteps)
	{
		EXPECT_TRUE(ParseScript("", "s").mySteps.empty());
		EXPECT_TRUE(ParseScript("# nothing\n   \n\t# still nothing", "s").mySteps.empty());
	}

	TEST(PlayScript, AMissingFileIsAnErrorNamingIt)
	{
		try
		{
			Playthrough::LoadScript("/nonexistent/Level_9.txt");
			FAIL() << "no error";
		}
		catch (const ScriptError& anError)
		{
			EXPECT_NE(std::string(anError.what()).find("/nonexistent/Level_9.txt"), std::string::npos);
		}
	}

	TEST(PlayScript, ActionsBecomeThePadButtonsTheyAreBoundTo)
	{
		// Shared buttons: Jump and Confirm are A, Dash and Back are B.
		EXPECT_EQ(Playthrough::ToPadReading(Held({ InputAction::Confirm })).wButtons, XINPUT_GAMEPAD_A);
		EXPECT_EQ(Playthrough::ToPadReading(Held({ InputAction::Back })).wButtons, XINPUT_GAMEPAD_B);
		EXPECT_EQ(Playthrough::ToPadReading(Held({ InputAction::Left, InputAction::Attack, InputAction::Climb, InputAction::Pause })).wButtons,
			XINPUT_GAMEPAD_DPAD_LEFT | XINPUT_GAMEPAD_X | XINPUT_GAMEPAD_LEFT_SHOULDER | XINPUT_GAMEPAD_START);
		// The stick is held inside its range.
		const XINPUT_GAMEPAD someReading = Playthrough::ToPadReading(0, { 2.0f, -0.5f });
		EXPECT_EQ(someReading.sThumbLX, 32767);
		EXPECT_EQ(someReading.sThumbLY, -16384);
	}
}
