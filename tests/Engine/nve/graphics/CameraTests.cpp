#include "graphics/Camera.h"
#include "Support/AssertRecorder.h"

#include <gtest/gtest.h>

using Norv::Camera;

TEST(CameraDefaults, PlanesAndIdentityMatrices)
{
	const Camera someCamera;
	EXPECT_EQ(someCamera.myNearPlane, 1.0f);
	EXPECT_EQ(someCamera.myFarPlane, 10000.0f);
	EXPECT_EQ(someCamera.myTransform, Norv::Matrix4x4());
	EXPECT_EQ(someCamera.myProjection, Norv::Matrix4x4());
}

TEST(CameraDefaults, ProjectionSettersLeaveThePlaneFields)
{
	Camera someCamera;
	someCamera.SetPerspectiveProjection(90, { 1280, 720 }, 5, 500);
	someCamera.SetOrthographicProjection(0, 100, 0, 100, 2, 50);
	EXPECT_EQ(someCamera.myNearPlane, 1.0f);
	EXPECT_EQ(someCamera.myFarPlane, 10000.0f);
}

TEST(CameraOrthographic, MapsTheBoxToClipSpace)
{
	Camera someCamera;
	someCamera.SetOrthographicProjection(0, 1280, 0, 720, 0, 100);
	const auto someClip = [&](float x, float y, float z) { return Norv::Vector4<float>(x, y, z, 1) * someCamera.myProjection; };
	EXPECT_EQ(someClip(0, 0, 0), Norv::Vector4<float>(-1, -1, 0, 1));
	EXPECT_EQ(someClip(1280, 720, 100), Norv::Vector4<float>(1, 1, 1, 1));
}

TEST(CameraOrthographic, BottomAboveTopFlipsTheVerticalAxis)
{
	Camera someCamera;
	someCamera.SetOrthographicProjection(0, 1280, 720, 0, 0, 1);
	// y = 0 (the client area's top when passed as "top") lands at the top of clip space.
	const Norv::Vector4<float> someTop = Norv::Vector4<float>(0, 0, 0, 1) * someCamera.myProjection;
	EXPECT_FLOAT_EQ(someTop.y, 1.0f);
	EXPECT_LT(someCamera.myProjection(2, 2), 0.0f);
}

TEST(CameraPerspective, WideAspectKeepsTheHorizontalAngle)
{
	Camera someCamera;
	someCamera.SetPerspectiveProjection(90, { 1600, 900 }, 1, 1000);
	EXPECT_NEAR(someCamera.myProjection(1, 1), 1.0f, 1e-6f);
	EXPECT_NEAR(someCamera.myProjection(2, 2), someCamera.myProjection(1, 1) * 16.0f / 9.0f, 1e-5f);
	EXPECT_EQ(someCamera.myProjection(3, 4), 1.0f);
	EXPECT_EQ(someCamera.myProjection(4, 4), 0.0f);
	// Depth 0 at the near plane, 1 at the far plane.
	const Norv::Vector4<float> someNear = Norv::Vector4<float>(0, 0, 1, 1) * someCamera.myProjection;
	const Norv::Vector4<float> someFar = Norv::Vector4<float>(0, 0, 1000, 1) * someCamera.myProjection;
	EXPECT_NEAR(someNear.z / someNear.w, 0.0f, 1e-6f);
	EXPECT_NEAR(someFar.z / someFar.w, 1.0f, 1e-6f);
}

TEST(CameraPerspective, BadPlanesAssert)
{
	NorvTest::AssertRecorder someAsserts;
	Camera someCamera;
	someCamera.SetPerspectiveProjection(90, { 16, 9 }, 0.00001f, 100);
	EXPECT_TRUE(someAsserts.Saw("aNearPlane >= FMath::KindaSmallNumber"));
	someCamera.SetPerspectiveProjection(90, { 16, 9 }, 10, 10);
	EXPECT_TRUE(someAsserts.Saw("aNearPlane < aFarPlane"));
	EXPECT_EQ(someAsserts.Count(), 2u);
}
