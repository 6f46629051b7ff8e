#include "Support/ShellFixture.h"

#include "shell/widgets/Button.h"
#include "shell/widgets/Slider.h"
#include "shell/widgets/TextButton.h"

#include <cmath>

namespace
{
	class WidgetTest : public NorvTest::ShellTest
	{
	protected:
		WidgetTest()
		{
			// 256 x 64 at 2560 x 1440 is 128 x 32 at the 1280 x 720 render size.
			WriteImage("../Source/Game/data/UI/Button.png", 256, 64, { 255, 255, 255, 255 });
			WriteImage("../Source/Game/data/UI/Volume_Bar.png", 400, 20, { 255, 255, 255, 255 });
			WriteImage("../Source/Game/data/UI/Icon_Bar.png", 40, 40, { 255, 255, 255, 255 });
			WriteMenuFont();
		}

		// A frame of input, then the widget's update.
		void Step(IInteractableUiElement& aWidget)
		{
			Frame();
			aWidget.Update(NorvTest::SHELL_FRAME_SECONDS);
		}

		Button myButton{ ActivationMode::OnRelease, "../Source/Game/data/UI/Melon_Pop.ttf", 30 };
	};

	TEST_F(WidgetTest, AClickThatStartsOutsideAButtonAndEndsOverItActivatesIt)
	{
		myButton.Setup("../Source/Game/data/UI/Button.png", { 640.0f, 360.0f });
		ASSERT_EQ(myButton.GetSize(), Norv::Vector2<float>(128.0f, 32.0f));

		MoveMouse(100.0f, 100.0f);
		MouseButton(true);
		for (int someFrame = 0; someFrame < 3; ++someFrame)
			Step(myButton);
		EXPECT_EQ(myButton.GetState(), WidgetState::Idle);

		MoveMouse(640.0f + 63.0f, 360.0f); // just inside the right edge
		Step(myButton);
		EXPECT_EQ(myButton.GetState(), WidgetState::Hovered) << "held over it: not yet activated";
		MouseButton(false);
		Step(myButton);
		EXPECT_EQ(myButton.GetState(), WidgetState::Pressed);
		EXPECT_EQ(myButton.GetPicture().myColor, Button::PRESSED_COLOR);
		Step(myButton);
		EXPECT_EQ(myButton.GetState(), WidgetState::Hovered) << "a release counts for one frame";
	}

	TEST_F(WidgetTest, ASelectedButtonAwayFromTheMouseIsHoveredNotPressed)
	{
		myButton.Setup("../Source/Game/data/UI/Button.png", { 640.0f, 360.0f });
		myButton.SetSelected(true);
		MoveMouse(10.0f, 10.0f);
		MouseButton(true);
		Step(myButton);
		Step(myButton);
		MouseButton(false);
		Step(myButton);
		EXPECT_EQ(myButton.GetState(), WidgetState::Hovered);
		EXPECT_EQ(myButton.GetPicture().myColor, Button::HOVERED_COLOR);
	}

	TEST_F(WidgetTest, TextButtonsAreActivatedByAReleaseOverTheirLabel)
	{
		TextButton someButton(ActivationMode::OnRelease, "../Source/Game/data/UI/Melon_Pop.ttf", 48);
		someButton.Setup("Options", { 800.0f, 360.0f });
		const Norv::Vector2<float> someSize = someButton.GetSize();
		ASSERT_GT(someSize.x, 20.0f) << "the font did not load";
		MoveMouse(800.0f, 360.0f);
		MouseButton(true);
		Step(someButton);
		Step(someButton);
		EXPECT_EQ(someButton.GetState(), WidgetState::Hovered);
		MouseButton(false);
		Step(someButton);
		EXPECT_EQ(someButton.GetState(), WidgetState::Pressed);

		// Released beside the label: nothing.
		MoveMouse(800.0f + someSize.x, 360.0f);
		MouseButton(true);
		Step(someButton);
		Step(someButton);
		MouseButton(false);
		Step(someButton);
		EXPECT_EQ(someButton.GetState(), WidgetState::Idle);
	}

	TEST_F(WidgetTest, AButtonHeldDownEasesToNineTenthsOfItsSizeAndBack)
	{
		myButton.Setup("../Source/Game/data/UI/Button.png", { 640.0f, 360.0f });
		MoveMouse(640.0f, 360.0f);
		MouseButton(true);
		const auto EngineStep = [&] {
			EngineFrame(16);
			Step(myButton);
			return myButton.GetSize();
		};
		EngineStep();
		const float someBefore = myButton.GetSize().x / 128.0f;
		const float someKeep = std::exp(-Button::SCALE_RATE * 0.016f);
		EXPECT_NEAR(EngineStep().x, 128.0f * (someBefore * someKeep + 0.9f * (1.0f - someKeep)), 0.01f);
		for (int someFrame = 0; someFrame < 30; ++someFrame)
			EngineStep();
		EXPECT_NEAR(myButton.GetSize().x, 0.9f * 128.0f, 0.01f);
		EXPECT_NEAR(myButton.GetSize().y, 0.9f * 32.0f, 0.01f);

		MouseButton(false);
		for (int someFrame = 0; someFrame < 30; ++someFrame)
			EngineStep();
		EXPECT_NEAR(myButton.GetSize().x, 128.0f, 0.01f);
	}

	TEST_F(WidgetTest, AHoveredTextButtonGrowsBy15PercentInAboutAFifthOfASecondAndShrinksBack)
	{
		TextButton someButton(ActivationMode::OnRelease, "../Source/Game/data/UI/Melon_Pop.ttf", 48);
		someButton.Setup("Options", { 800.0f, 360.0f });
		const float someRest = someButton.GetSize().x;
		ASSERT_GT(someRest, 20.0f) << "the font did not load";
		MoveMouse(800.0f, 360.0f);
		Step(someButton); // hovered from here on
		for (int someFrame = 0; someFrame < 7; ++someFrame)
			Step(someButton);
		EXPECT_GT(someButton.GetSize().x, someRest * 1.05f);
		EXPECT_LT(someButton.GetSize().x, someRest * 1.12f) << "still growing after 0.11 s";
		for (int someFrame = 0; someFrame < 8; ++someFrame)
			Step(someButton);
		EXPECT_NEAR(someButton.GetSize().x, someRest * 1.15f, someRest * 0.005f);

		MoveMouse(800.0f + 2.0f * someRest, 360.0f);
		for (int someFrame = 0; someFrame < 16; ++someFrame)
			Step(someButton);
		EXPECT_NEAR(someButton.GetSize().x, someRest, someRest * 0.005f);
	}

	TEST_F(WidgetTest, DraggingTheKnobPastEitherEndStopsAtZeroOrOne)
	{
		Slider someSlider;
		someSlider.Setup("../Source/Game/data/UI/Volume_Bar.png", "../Source/Game/data/UI/Icon_Bar.png", { 640.0f, 360.0f });
		someSlider.SetValue(0.5f);
		// The bar is 400 x 0.5 = 200 pixels wide: its ends are at 540 and 740.
		ASSERT_FLOAT_EQ(someSlider.GetSize().x, 200.0f);
		ASSERT_FLOAT_EQ(someSlider.GetKnob().myPosition.x, 640.0f);

		MoveMouse(640.0f, 360.0f);
		Step(someSlider);
		MouseButton(true);
		Step(someSlider);
		Step(someSlider);
		ASSERT_TRUE(someSlider.IsDragging());
		MoveMouse(2000.0f, 360.0f);
		Step(someSlider);
		EngineFrame();
		Step(someSlider);
		// Eased towards the mouse, not jumped.
		EXPECT_GT(someSlider.GetValue(), 0.55f);
		EXPECT_LT(someSlider.GetValue(), 0.95f);
		for (int someFrame = 0; someFrame < 60; ++someFrame)
		{
			EngineFrame();
			Step(someSlider);
		}
		EXPECT_LE(someSlider.GetValue(), 1.0f);
		EXPECT_GT(someSlider.GetValue(), 0.99f);
		MoveMouse(-500.0f, 360.0f);
		for (int someFrame = 0; someFrame < 60; ++someFrame)
		{
			EngineFrame();
			Step(someSlider);
		}
		EXPECT_GE(someSlider.GetValue(), 0.0f);
		EXPECT_LT(someSlider.GetValue(), 0.01f);
		EXPECT_GE(someSlider.GetKnob().myPosition.x, 540.0f);

		MouseButton(false);
		Step(someSlider);
		EXPECT_FALSE(someSlider.IsDragging());
	}

	TEST_F(WidgetTest, SliderStepsStopAtTheEnds)
	{
		Slider someSlider;
		someSlider.Setup("../Source/Game/data/UI/Volume_Bar.png", "../Source/Game/data/UI/Icon_Bar.png", { 640.0f, 360.0f });
		someSlider.SetValue(0.95f);
		someSlider.Increase();
		EXPECT_FLOAT_EQ(someSlider.GetValue(), 1.0f);
		EXPECT_FLOAT_EQ(someSlider.GetKnob().myPosition.x, 740.0f);
		someSlider.SetValue(0.05f);
		someSlider.Decrease();
		EXPECT_FLOAT_EQ(someSlider.GetValue(), 0.0f);
		EXPECT_FLOAT_EQ(someSlider.GetKnob().myPosition.x, 540.0f);
		someSlider.SetValue(7.0f);
		EXPECT_FLOAT_EQ(someSlider.GetValue(), 1.0f);
	}

	TEST_F(WidgetTest, ResizingFollowsTheRenderSizeAndSkipsAMinimisedWindow)
	{
		myButton.Setup("../Source/Game/data/UI/Button.png", { 640.0f, 360.0f });
		myButton.OnResize();
		EXPECT_EQ(myButton.GetSize(), Norv::Vector2<float>(128.0f, 32.0f)) << "an unchanged size changes nothing";

		SetWindowPos(myEngine.Window(), nullptr, 0, 0, 2560, 1440, SWP_NOMOVE);
		NorvTest::PumpMessages();
		myEngine.Get().EndFrame(); // applies the pending resize
		// The outer size is given: the client is a frame smaller.
		const Norv::Vector2<float> someSize(myEngine.Get().GetRenderSize());
		ASSERT_GT(someSize.x, 2000.0f);
		const Norv::Vector2<float> someRatio{ someSize.x / 1280.0f, someSize.y / 720.0f };
		myButton.OnResize();
		EXPECT_FLOAT_EQ(myButton.GetSize().x, 128.0f * someRatio.x);
		EXPECT_FLOAT_EQ(myButton.GetSize().y, 32.0f * someRatio.y);
		EXPECT_FLOAT_EQ(myButton.GetPosition().x, someSize.x * 0.5f);
		EXPECT_FLOAT_EQ(myButton.GetPosition().y, someSize.y * 0.5f);
		EXPECT_FLOAT_EQ(myButton.GetLabel().GetScale(), 0.5f * someRatio.x);
		const Norv::Vector2<float> someResized = myButton.GetSize();

		ShowWindow(myEngine.Window(), SW_MINIMIZE);
		NorvTest::PumpMessages();
		myEngine.Get().EndFrame();
		myButton.OnResize();
		EXPECT_FALSE(std::isnan(myButton.GetSize().x));
		EXPECT_EQ(myButton.GetSize(), someResized);
	}
}
