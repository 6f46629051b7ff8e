#include "world/CameraController.h"
#include "world/entities/Entity.h"

#include "graphics/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
	constexpr float FRAME = 1.0f / 60.0f;

	struct FollowedCamera
	{
		FollowedCamera()
		{
			myContext.deltaTime = FRAME;
			myController.SetCamera(&myCamera);
			myController.SetPlayer(&myPlayer);
			myController.myMode = CameraController::FOLLOW;
		}
		void Step(int aFrames = 1)
		{
			for (int someFrame = 0; someFrame < aFrames; ++someFrame)
				myController.Update(myContext);
		}
		Norv::Vector3<float> Position() const { return myCamera.myTransform.GetTranslation(); }

		Norv::Camera myCamera;
		Entity myPlayer;
		CameraController myController;
		FrameContext myContext;
	};
}

TEST(CameraControllerEase, CubicEaseIsClampedAndSymmetric)
{
	EXPECT_FLOAT_EQ(EaseInOutCubic(-1.0f), 0.0f);
	EXPECT_FLOAT_EQ(EaseInOutCubic(0.25f), 0.0625f);
	EXPECT_FLOAT_EQ(EaseInOutCubic(0.5f), 0.5f);
	EXPECT_FLOAT_EQ(EaseInOutCubic(0.75f), 0.9375f);
	EXPECT_FLOAT_EQ(EaseInOutCubic(2.0f), 1.0f);
}

TEST(CameraControllerFollow, SettlesAtTheBoundsWhenThePlayerIsBeyondThemAtEitherEnd)
{
	for (const float someSide : { 1.0f, -1.0f })
	{
		FollowedCamera someCamera;
		someCamera.myController.myBoundsMin = { -1000.0f, -800.0f };
		someCamera.myController.myBoundsMax = { 1000.0f, 800.0f };
		someCamera.myPlayer.myPosition = { 5000.0f * someSide, 3000.0f * someSide };
		someCamera.Step(600);
		EXPECT_NEAR(someCamera.Position().x, 1000.0f * someSide, 0.01f);
		EXPECT_NEAR(someCamera.Position().y, 800.0f * someSide, 0.01f);
		EXPECT_FLOAT_EQ(someCamera.Position().z, CameraController::FOLLOW_Z);
	}
}

TEST(CameraControllerFollow, VerticalDeadZoneWhileAirborneAndEasingAfterLanding)
{
	FollowedCamera someCamera;
	someCamera.Step(10);
	ASSERT_FLOAT_EQ(someCamera.Position().y, 0.0f);

	someCamera.myPlayer.myAirTime = 0.2f;
	someCamera.myPlayer.myPosition.y = 150.0f;
	someCamera.Step(30);
	EXPECT_FLOAT_EQ(someCamera.Position().y, 0.0f);

	someCamera.myPlayer.myPosition.y = -400.0f;
	someCamera.Step(30);
	EXPECT_FLOAT_EQ(someCamera.Position().y, -240.0f);

	someCamera.myPlayer.myAirTime = 0.0f;
	someCamera.Step(1);
	EXPECT_NEAR(someCamera.Position().y, -240.0f - 160.0f * FRAME, 1e-3f);
	someCamera.Step(600);
	EXPECT_NEAR(someCamera.Position().y, -400.0f, 0.01f);
}

TEST(CameraControllerPan, ThereHoldAndBackAtTwentyFiveHundredUnitsPerSecond)
{
	FollowedCamera someCamera;
	someCamera.Step(1);
	const float someFrame = 0.125f;
	someCamera.myContext.deltaTime = someFrame;
	someCamera.myController.PanTo({ 5000.0f, 0.0f }, 1.0f);
	EXPECT_FLOAT_EQ(someCamera.myController.myPanDuration, 2.0f);

	someCamera.Step(8); // 1 s: half way on the eased curve
	EXPECT_FLOAT_EQ(someCamera.Position().x, 2500.0f);
	someCamera.Step(8); // 2 s: arrived
	EXPECT_FLOAT_EQ(someCamera.Position().x, 5000.0f);
	someCamera.Step(8); // 3 s: the hold
	EXPECT_FLOAT_EQ(someCamera.Position().x, 5000.0f);
	someCamera.Step(8); // 4 s: half way back
	EXPECT_FLOAT_EQ(someCamera.Position().x, 2500.0f);
	EXPECT_EQ(someCamera.myController.myMode, CameraController::PAN_AND_RETURN);
	someCamera.Step(7);
	EXPECT_EQ(someCamera.myController.myMode, CameraController::PAN_AND_RETURN);
	someCamera.Step(1); // 5 s: the pan is over and following resumes
	EXPECT_EQ(someCamera.myController.myMode, CameraController::FOLLOW);
	EXPECT_LT(someCamera.Position().x, 5.0f);
	someCamera.Step(40);
	EXPECT_NEAR(someCamera.Position().x, 0.0f, 1e-3f);
}

TEST(CameraControllerPan, AReleasedPanAndZoomHoldsASecondThenGlidesBackOverThreeSeconds)
{
	FollowedCamera someCamera;
	someCamera.Step(1);
	someCamera.myContext.deltaTime = 0.25f;
	someCamera.myController.PanToAndZoom({ 2500.0f, 0.0f }, -5500.0f); // a 1 s pan
	someCamera.Step(8);
	EXPECT_FLOAT_EQ(someCamera.Position().x, 2500.0f);
	EXPECT_FLOAT_EQ(someCamera.Position().z, -5500.0f);

	someCamera.myController.myRelease = true;
	someCamera.Step(4); // the hold
	EXPECT_EQ(someCamera.myController.myMode, CameraController::RETURN_TO_PLAYER);
	EXPECT_FLOAT_EQ(someCamera.Position().x, 2500.0f);
	someCamera.Step(6); // half way back on the eased curve
	EXPECT_EQ(someCamera.myController.myMode, CameraController::RETURN_TO_PLAYER);
	EXPECT_NEAR(someCamera.Position().x, 1250.0f, 0.01f);
	someCamera.Step(6);
	EXPECT_EQ(someCamera.myController.myMode, CameraController::FOLLOW);
	EXPECT_NEAR(someCamera.Position().x, 0.0f, 0.01f);
	EXPECT_FLOAT_EQ(someCamera.Position().z, CameraController::FOLLOW_Z);
}

TEST(CameraControllerShake, FadesFromItsStrengthToNothing)
{
	FollowedCamera someCamera;
	someCamera.Step(1);
	someCamera.myController.Shake(0.4f, 25.0f);
	float someLargest = 0.0f;
	for (int someFrame = 0; someFrame < 24; ++someFrame)
	{
		someCamera.Step(1);
		someLargest = std::max({ someLargest, std::abs(someCamera.Position().x), std::abs(someCamera.Position().y) });
		EXPECT_LE(std::abs(someCamera.Position().x), 25.0f);
		EXPECT_LE(std::abs(someCamera.Position().y), 25.0f);
	}
	EXPECT_GT(someLargest, 5.0f);
	someCamera.Step(2);
	EXPECT_FLOAT_EQ(someCamera.Position().x, 0.0f);
	EXPECT_FLOAT_EQ(someCamera.Position().y, 0.0f);
}

TEST(CameraControllerReturn, StartsFromTheStartDepthAndZoomsInOverThreeSeconds)
{
	FollowedCamera someCamera;
	someCamera.Step(1);
	someCamera.myController.myMode = CameraController::RETURN_TO_PLAYER;
	someCamera.myContext.deltaTime = 0.5f;
	someCamera.Step(1);
	EXPECT_NEAR(someCamera.Position().z, -5500.0f + 1000.0f * EaseInOutCubic(0.5f / 3.0f), 0.01f);
	someCamera.Step(4);
	EXPECT_EQ(someCamera.myController.myMode, CameraController::RETURN_TO_PLAYER);
	someCamera.Step(1);
	EXPECT_FLOAT_EQ(someCamera.Position().z, CameraController::FOLLOW_Z);
	EXPECT_EQ(someCamera.myController.myMode, CameraController::FOLLOW);
	EXPECT_TRUE(someCamera.myController.myReturnPending);
}

TEST(CameraControllerPlayer, ForgettingThePlayerLeavesTheCameraUntouched)
{
	FollowedCamera someCamera;
	someCamera.myPlayer.myPosition = { 300.0f, 200.0f };
	someCamera.Step(600);
	const Norv::Vector3<float> someBefore = someCamera.Position();
	someCamera.myController.SetPlayer(nullptr);
	testing::internal::CaptureStdout();
	someCamera.Step(3);
	EXPECT_NE(testing::internal::GetCapturedStdout().find("CameraController: PLAYER IS NULL"), std::string::npos);
	EXPECT_EQ(someCamera.Position(), someBefore);
}

// A pan that takes over the start glide must leave no half-run return behind:
// the boss fight's later return starts where the camera is, without a jump.
TEST(CameraControllerReturn, APanDuringTheGlideLeavesALaterReturnSmooth)
{
	FollowedCamera someCamera;
	someCamera.myController.StartLevelGlide();
	someCamera.Step(60); // a second into the three-second glide
	someCamera.myController.PanTo({ 1000.0f, 0.0f }, 0.2f);
	someCamera.Step(120);
	ASSERT_EQ(someCamera.myController.myMode, CameraController::FOLLOW);

	someCamera.myController.PanToAndZoom({ -800.0f, 300.0f }, -6000.0f);
	someCamera.Step(120);
	someCamera.myController.myRelease = true;
	someCamera.Step(61); // the release holds a second
	ASSERT_EQ(someCamera.myController.myMode, CameraController::RETURN_TO_PLAYER);
	const Norv::Vector3<float> someBefore = someCamera.Position();
	someCamera.Step(1);
	// One frame of a three-second eased return moves a hair, never the whole way.
	EXPECT_NEAR(someCamera.Position().x, someBefore.x, 1.0f);
	EXPECT_NEAR(someCamera.Position().y, someBefore.y, 1.0f);
	EXPECT_EQ(someCamera.myController.myMode, CameraController::RETURN_TO_PLAYER);
}
