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

TEST(QuaternionSlerp, NearlyOrthogonalTakesTheSphericalPathAndStaysUnit)
{
	const float someAngle = std::acos(0.0004f);
	const Quaternion someFrom(1, 0, 0, 0);
	const Quaternion someTo(std::cos(someAngle), std::sin(someAngle), 0, 0);
	ASSERT_NEAR(someFrom.Dot(someTo), 0.0004f, 1e-6f);
	const Quaternion someHalf = Quaternion::Slerp(someFrom, someTo, 0.5f);
	EXPECT_NEAR(someHalf.Length(), 1.0f, 1e-5f);
	EXPECT_NEAR(someHalf.w, std::cos(someAngle / 2), 1e-5f);
	EXPECT_NEAR(someHalf.x, std::sin(someAngle / 2), 1e-5f);
}

TEST(QuaternionSlerp, EndpointsAreReached)
{
	const Quaternion someFrom(1, 0, 0, 0);
	const Quaternion someTo(std::cos(0.6f), 0, std::sin(0.6f), 0);
	const Quaternion someEnd = Quaternion::Slerp(someFrom, someTo, 1.0f);
	EXPECT_NEAR(someEnd.w, someTo.w, 1e-6f);
	EXPECT_NEAR(someEnd.y, someTo.y, 1e-6f);
}
