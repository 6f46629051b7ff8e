#include "Math/Color.h"
#include "Math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

using Norv::Quaternion;

TEST(ColorLinear, SrgbCurveOnBothSidesOfTheThreshold)
{
	const Norv::Color someLinear = Norv::Color(0.5f, 0.5f, 0.5f, 0.3f).AsLinear();
	EXPECT_NEAR(someLinear.r, 0.214f, 0.001f);
	EXPECT_NEAR(someLinear.g, 0.214f, 0.001f);
	EXPECT_FLOAT_EQ(someLinear.a, 0.3f);
	EXPECT_FLOAT_EQ(Norv::Color(0.04f, 0, 1).AsLinear().r, 0.04f / 12.92f);
	EXPECT_NEAR(Norv::Color(0.04f, 0, 1).AsLinear().b, 1.0f, 1e-6f);
}

TEST(QuaternionFromRows, IdentityRowsGiveIdentity)
{
	const Quaternion someQuaternion({ 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 });
	EXPECT_EQ(someQuaternion, Quaternion(1, 0, 0, 0));
}

TEST(QuaternionFromRows, RoundTripsThroughTheMatrixForEveryBranch)
{
	// Rotations chosen so that w, x, y and z are each the largest component once.
	const Norv::Matrix4x4 someRotations[] = {
		Norv::Matrix4x4::CreateRotationAroundX(20),
		Norv::Matrix4x4::CreateRotationAroundX(170),
		Norv::Matrix4x4::CreateRotationAroundY(170),
		Norv::Matrix4x4::CreateRotationAroundZ(170),
	};
	for (const Norv::Matrix4x4& someRotation : someRotations)
	{
		const Quaternion someQuaternion({ someRotation(1, 1), someRotation(1, 2), someRotation(1, 3) },
			{ someRotation(2, 1), someRotation(2, 2), someRotation(2, 3) },
			{ someRotation(3, 1), someRotation(3, 2), someRotation(3, 3) });
		EXPECT_NEAR(someQuaternion.Length(), 1.0f, 1e-5f);
		const Norv::Matrix4x4 someBack = someQuaternion.ToMatrix();
		for (unsigned someIndex = 0; someIndex < 16; ++someIndex)
			EXPECT_NEAR(someBack[someIndex], someRotation[someIndex], 1e-5f);
	}
}

TEST(QuaternionSlerp, WithItselfAndItsNegationReturnsItNormalised)
{
	const Quaternion someQuaternion(2, 0, 0, 0);
	for (float someT : { 0.0f, 0.3f, 1.0f })
	{
		EXPECT_EQ(Quaternion::Slerp(someQuaternion, someQuaternion, someT), Quaternion(1, 0, 0, 0));
		EXPECT_EQ(Quaternion::Slerp(someQuaternion, -someQuaternion, someT), Quaternion(1, 0, 0, 0));
	}
}

TEST(QuaternionSlerp, TheThresholdSplitsSphericalFromNormalisedLinear)
{
	// At t = 0.5 both paths agree; at t = 0.25 they are degrees apart.
	constexpr float T = 0.25f;
	const Quaternion someFrom(1, 0, 0, 0);

	// Dot 0.0004, at or below the threshold: the angle is split evenly.
	const float someWide = std::acos(0.0004f);
	const Quaternion someSpherical = Quaternion::Slerp(someFrom, Quaternion(std::cos(someWide), std::sin(someWide), 0, 0), T);
	EXPECT_NEAR(someSpherical.Length(), 1.0f, 1e-5f);
	EXPECT_NEAR(someSpherical.w, std::cos(T * someWide), 1e-5f);
	EXPECT_NEAR(someSpherical.x, std::sin(T * someWide), 1e-5f);
	const Quaternion someHalf = Quaternion::Slerp(someFrom, Quaternion(std::cos(someWide), std::sin(someWide), 0, 0), 0.5f);
	EXPECT_NEAR(someHalf.w, std::cos(someWide / 2), 1e-5f);

	// Dot 0.0006, above it: the normalised blend of the two.
	const float someNarrower = std::acos(0.0006f);
	const Quaternion someTo(std::cos(someNarrower), std::sin(someNarrower), 0, 0);
	const Quaternion someLinear = Quaternion::Slerp(someFrom, someTo, T);
	const Quaternion someBlend = (someFrom * (1.0f - T) + someTo * T).GetNormalized();
	EXPECT_NEAR(someLinear.w, someBlend.w, 1e-5f);
	EXPECT_NEAR(someLinear.x, someBlend.x, 1e-5f);
	EXPECT_GT(std::abs(someLinear.x - std::sin(T * someNarrower)), 0.05f) << "not the spherical result";
}

TEST(QuaternionSlerp, EndpointsAreReached)
{
	const Quaternion someFrom(1, 0, 0, 0);
	const Quaternion someTo(std::cos(0.6f), 0, std::sin(0.6f), 0);
	const Quaternion someEnd = Quaternion::Slerp(someFrom, someTo, 1.0f);
	EXPECT_NEAR(someEnd.w, someTo.w, 1e-6f);
	EXPECT_NEAR(someEnd.y, someTo.y, 1e-6f);
}
