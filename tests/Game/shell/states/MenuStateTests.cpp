#include "Support/SceneFiles.h"
#include "Support/ShellFixture.h"

#include "media/AudioManager.h"
#include "shell/GameStates.h"
#include "shell/SceneManager.h"
#include "shell/states/OptionMenu.h"
#include "shell/states/PauseBookCase.h"
#include "shell/states/PauseMenu.h"
#include "shell/states/QuitScreen.h"
#include "shell/widgets/Slider.h"
#include "shell/widgets/TextButton.h"
#include "world/entities/BookShowcase.h"
#include "world/entities/Player.h"

namespace
{
	class MenuStateTest : public NorvTest::ShellTest
	{
	protected:
		MenuStateTest() { WriteMenuFont(); }

		// A tap quicker than a frame, as a slow frame rate or a tool gives it: the
		// key is already up again when the frame reads the input.
		int UpdateAfterKey(IStates& aMenu, WPARAM aKey)
		{
			TapKey(aKey);
			const int someCode = aMenu.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
			Frame();
			return someCode;
		}

		static std::string LabelOf(const IInteractableUiElement& aWidget) { return static_cast<const TextButton&>(aWidget).GetLabel().GetText(); }
	};

	TEST_F(MenuStateTest, TheQuitScreenOpensOnNoAndQuitsOnlyFromYes)
	{
		QuitScreen someQuit;
		someQuit.Init(myInput);
		ASSERT_EQ(someQuit.GetSelection().GetWidgets().size(), 2u);
		EXPECT_EQ(LabelOf(*someQuit.GetSelection().GetWidgets()[1]), "No");
		EXPECT_EQ(someQuit.GetSelection().mySelected, 1);
		EXPECT_EQ(UpdateAfterKey(someQuit, VK_RETURN), StateTransition::Back);

		someQuit.Exit();
		someQuit.Init(myInput);
		EXPECT_EQ(UpdateAfterKey(someQuit, VK_UP), StateTransition::Stay);
		EXPECT_EQ(someQuit.GetSelection().mySelected, 0);
		EXPECT_EQ(UpdateAfterKey(someQuit, VK_RETURN), StateTransition::Quit);
		someQuit.Exit();
		EXPECT_TRUE(someQuit.GetSelection().GetWidgets().empty());
	}

	TEST_F(MenuStateTest, UpAndDownWrapAndEscapeGoesBack)
	{
		PauseMenu somePause;
		somePause.Init(myInput);
		ASSERT_EQ(somePause.GetSelection().GetWidgets().size(), 3u);
		EXPECT_EQ(UpdateAfterKey(somePause, VK_UP), StateTransition::Stay);
		EXPECT_EQ(somePause.GetSelection().mySelected, 2) << "Up on the first selects the last";
		EXPECT_EQ(LabelOf(somePause.GetSelection().GetWidgets()[2].operator*()), "Main Menu");
		EXPECT_EQ(UpdateAfterKey(somePause, VK_DOWN), StateTransition::Stay);
		EXPECT_EQ(somePause.GetSelection().mySelected, 0) << "Down on the last selects the first";
		EXPECT_EQ(UpdateAfterKey(somePause, VK_ESCAPE), StateTransition::Back);
		somePause.Exit();
		somePause.Init(myInput);
		EXPECT_EQ(LabelOf(*somePause.GetSelection().GetWidgets()[0]), "Resume");
		EXPECT_EQ(UpdateAfterKey(somePause, VK_RETURN), StateTransition::Back);
		somePause.Exit();
	}

	TEST_F(MenuStateTest, TheIndicatorsFrameTheSelectedWidget)
	{
		PauseMenu somePause;
		somePause.Init(myInput);
		Frame();
		somePause.Update(myInput, 0.25f);
		const IInteractableUiElement& someSelected = *somePause.GetSelection().GetWidgets()[0];
		const MenuIndicators& someIndicators = somePause.GetSelection().myIndicators;
		EXPECT_LT(someIndicators.myLeft.myPosition.x, someSelected.GetPosition().x - someSelected.GetSize().x * 0.5f);
		EXPECT_GT(someIndicators.myRight.myPosition.x, someSelected.GetPosition().x + someSelected.GetSize().x * 0.5f);
		EXPECT_EQ(someIndicators.myLeft.myPosition.y, someSelected.GetPosition().y);
		// One alpha eased twice: the right flower is ahead of the left.
		EXPECT_FLOAT_EQ(someIndicators.myLeft.myColor.a, 1.0f);
		EXPECT_FLOAT_EQ(someIndicators.myRight.myColor.a, 1.0f);
		somePause.Exit();
		somePause.Init(myInput);
		Frame();
		somePause.Update(myInput, 0.1f);
		EXPECT_FLOAT_EQ(somePause.GetSelection().myIndicators.myLeft.myColor.a, 0.4f);
		EXPECT_FLOAT_EQ(somePause.GetSelection().myIndicators.myRight.myColor.a, 0.4f + 0.6f * 0.2f);
		somePause.Exit();
	}

	TEST_F(MenuStateTest, MuteRemembersTheVolumeAndMuteAgainRestoresIt)
	{
		AudioManager::SetMasterVolume(0.7f);
		AudioManager::SetMuted(false);
		OptionMenu someOptions;
		someOptions.Init(myInput);
		ASSERT_NE(someOptions.GetSlider(), nullptr);
		EXPECT_FLOAT_EQ(someOptions.GetSlider()->GetValue(), 0.7f);
		ASSERT_EQ(someOptions.GetSelection().GetWidgets().size(), 4u);
		EXPECT_EQ(someOptions.GetSelection().mySelected, 0) << "the slider comes first";

		// Confirm on the slider changes nothing.
		EXPECT_EQ(UpdateAfterKey(someOptions, VK_RETURN), StateTransition::Stay);
		EXPECT_FLOAT_EQ(AudioManager::GetMasterVolume(), 0.7f);

		EXPECT_EQ(UpdateAfterKey(someOptions, VK_DOWN), StateTransition::Stay);
		EXPECT_EQ(UpdateAfterKey(someOptions, VK_RETURN), StateTransition::Stay) << "mute is handled by the menu";
		EXPECT_FLOAT_EQ(someOptions.GetSlider()->GetValue(), 0.0f);
		EXPECT_TRUE(someOptions.IsShowingMutedIcon());
		EXPECT_TRUE(AudioManager::IsMuted());
		someOptions.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		EXPECT_TRUE(AudioManager::IsMuted());
		EXPECT_TRUE(someOptions.IsShowingMutedIcon());

		EXPECT_EQ(UpdateAfterKey(someOptions, VK_RETURN), StateTransition::Stay);
		EXPECT_FLOAT_EQ(someOptions.GetSlider()->GetValue(), 0.7f);
		EXPECT_FALSE(someOptions.IsShowingMutedIcon());
		someOptions.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		EXPECT_FALSE(AudioManager::IsMuted());
		EXPECT_FLOAT_EQ(AudioManager::GetMasterVolume(), 0.7f);

		// Left and Right step the slider, which the volume follows.
		EXPECT_EQ(UpdateAfterKey(someOptions, VK_UP), StateTransition::Stay);
		UpdateAfterKey(someOptions, VK_LEFT);
		someOptions.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		EXPECT_NEAR(AudioManager::GetMasterVolume(), 0.6f, 1e-6f);

		EXPECT_EQ(UpdateAfterKey(someOptions, VK_ESCAPE), StateTransition::Back);
		someOptions.Exit();
		EXPECT_EQ(someOptions.GetSlider(), nullptr);
		AudioManager::SetMasterVolume(1.0f);
	}

	// A key press parks the cursor at the centre, over "Mute": only a mouse that moves
	// may select by hovering, or Mute would take the selection back every frame.
	TEST_F(MenuStateTest, OnlyAMovingMouseSelectsTheWidgetUnderIt)
	{
		// The slider's own pictures, so that its knob does not cover the buttons below it.
		WriteImage("../Source/Game/data/UI/Volume_Bar.png", 400, 20, { 255, 255, 255, 255 });
		WriteImage("../Source/Game/data/UI/Icon_Bar.png", 40, 40, { 255, 255, 255, 255 });
		OptionMenu someOptions;
		someOptions.Init(myInput);
		ASSERT_EQ(someOptions.GetSelection().GetWidgets().size(), 4u);
		const Norv::Vector2<float> someMute = someOptions.GetSelection().GetWidgets()[1]->GetPosition();
		MoveMouse(someMute.x + 1.0f, someMute.y);
		Frame();
		someOptions.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		Frame();
		someOptions.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		EXPECT_EQ(someOptions.GetSelection().mySelected, 1);

		UpdateAfterKey(someOptions, VK_DOWN);
		ASSERT_EQ(someOptions.GetSelection().mySelected, 2);
		for (int someFrame = 0; someFrame < 5; ++someFrame)
		{
			Frame();
			someOptions.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		}
		EXPECT_EQ(someOptions.GetSelection().mySelected, 2);
		someOptions.Exit();
	}

	TEST_F(MenuStateTest, ToggleWindowSwitchesFirstToThe1280By720Window)
	{
		OptionMenu someOptions;
		someOptions.Init(myInput);
		EXPECT_TRUE(someOptions.IsBorderless());
		EXPECT_EQ(someOptions.HandleSelection(StateTransition::ToggleWindowMode), StateTransition::Stay);
		EXPECT_FALSE(someOptions.IsBorderless());
		RECT someOuter{};
		GetWindowRect(myEngine.Window(), &someOuter);
		EXPECT_EQ(someOuter.right - someOuter.left, 1280);
		EXPECT_EQ(someOuter.bottom - someOuter.top, 720);
		EXPECT_EQ(GetWindowLongPtrW(myEngine.Window(), GWL_STYLE), static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));

		someOptions.HandleSelection(StateTransition::ToggleWindowMode);
		EXPECT_TRUE(someOptions.IsBorderless());
		EXPECT_EQ(GetWindowLongPtrW(myEngine.Window(), GWL_STYLE), static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE));
		EXPECT_EQ(someOptions.HandleSelection(StateTransition::Credits), StateTransition::Credits);
		someOptions.Exit();
	}

	TEST_F(MenuStateTest, TheAbilityPageHidesTheShowcaseOnConfirmOrBack)
	{
		PauseBookCase somePage;
		somePage.Init(myInput);
		Frame();
		EXPECT_EQ(somePage.Update(myInput, NorvTest::SHELL_FRAME_SECONDS), StateTransition::Stay);
		// Without a showcase to hide, the page still closes.
		EXPECT_EQ(UpdateAfterKey(somePage, VK_ESCAPE), StateTransition::Back);
		int someHidden = 0;
		somePage.SetShowcaseHider([&someHidden] { ++someHidden; });
		EXPECT_EQ(UpdateAfterKey(somePage, VK_RETURN), StateTransition::Back);
		EXPECT_EQ(someHidden, 1);
		somePage.Exit();
	}

	TEST_F(MenuStateTest, TheGamesAbilityPageHidesThePlayedLevelsShowcase)
	{
		NorvTest::WriteAsciiScene(Folder(), "scenes/Showcase.nvs", { " P S ", "#####" }, { { 'P', "Player" }, { 'S', "bookShowcase" } });
		SceneManager::GetInstance().SetCurrentScenePath("");
		GameStates someStates;
		someStates.myGameState.Init(myInput);
		someStates.myGameState.ChangeScene("scenes/Showcase.nvs");
		Frame();
		someStates.myGameState.Update(myInput, NorvTest::SHELL_FRAME_SECONDS);
		BookShowcase* someShowcase = someStates.myGameState.FindEntityOfType<BookShowcase>();
		ASSERT_NE(someShowcase, nullptr);
		Player& somePlayer = *someStates.myGameState.GetFrameContext().player;
		someShowcase->Show(3);
		ASSERT_FALSE(somePlayer.GetController().IsActive());

		someStates.myPauseBookCase.Init(myInput);
		EXPECT_EQ(UpdateAfterKey(someStates.myPauseBookCase, VK_RETURN), StateTransition::Back);
		EXPECT_FALSE(someShowcase->myIsShowing);
		EXPECT_TRUE(somePlayer.GetController().IsActive());
		EXPECT_TRUE(somePlayer.myCanAttack);
		someStates.myPauseBookCase.Exit();
		someStates.myGameState.Exit();
	}
}
