#include "graphics/Camera.h"
#include "graphics/ViewVolume.h"

#include <gtest/gtest.h>

#include <cmath>

using Norv::Camera;
using Norv::Matrix4x4;
using Norv::Vector3;
using Norv::ViewVolume;

namespace
{
	// The play state's kind of camera: 90 degrees across, 1000 units before the plane z = 0.
	Camera WorldCamera()
	{
		Camera someCamera;
		someCamera.SetPerspectiveProjection(90.0f, { 1600.0f, 900.0f }, 10.0f, 5000.0f);
		someCamera.myTransform.SetTranslation({ 300.0f, 200.0f, -1000.0f });
		return someCamera;
	}

	// Whether any of many points of the sphere (its surface and its centre), placed
	// by aWorld, lands inside the camera's clip rectangle in front of it.
	bool AnyPointShows(const Camera& aCamera, const Matrix4x4& aWorld, const Vector3<float>& aCenter, float aRadius)
	{
		const Matrix4x4 someToClip = aWorld * Matrix4x4::GetInverse(aCamera.myTransform) * aCamera.myProjection;
		constexpr int STEPS = 24;
		for (int i = 0; i <= STEPS; ++i)
			for (int j = 0; j < STEPS; ++j)
			{
				const float somePolar = 3.14159265f * static_cast<float>(i) / STEPS;
				const float someAzimuth = 2.0f * 3.14159265f * static_cast<float>(j) / STEPS;
				for (const float someScale : { 0.0f, 1.0f })
				{
					const Vector3<float> someOffset{ std::sin(somePolar) * std::cos(someAzimuth), std::sin(somePolar) * std::sin(someAzimuth), std::cos(somePolar) };
					const Vector3<float> somePoint = aCenter + someOffset * (aRadius * someScale);
					const Norv::Vector4<float> someClip = Norv::Vector4<float>(somePoint.x, somePoint.y, somePoint.z, 1.0f) * someToClip;
					if (someClip.w > 0.0f && std::abs(someClip.x) <= someClip.w && std::abs(someClip.y) <= someClip.w)
						return true;
				}
			}
		return false;
	}
}

TEST(ViewVolume, ASphereBesideEachSideIsOutAndOneOverlappingItIsIn)
{
	const Camera someCamera = WorldCamera();
	const ViewVolume someVolume = ViewVolume::ForMesh(Matrix4x4(), someCamera);
	// At z = 0 the view reaches 1000 units left and right of x = 300 and 562.5 above and below y = 200.
	const Vector3<float> someOutside[] = { { 1400.0f, 200.0f, 0.0f }, { -800.0f, 200.0f, 0.0f }, { 300.0f, 863.0f, 0.0f }, { 300.0f, -463.0f, 0.0f } };
	for (const Vector3<float>& someCenter : someOutside)
	{
		EXPECT_FALSE(someVolume.MayShow(someCenter, 50.0f)) << someCenter.x << ", " << someCenter.y;
		// Grown to reach over the edge, the same sphere may show.
		EXPECT_TRUE(someVolume.MayShow(someCenter, 150.0f)) << someCenter.x << ", " << someCenter.y;
	}
	EXPECT_TRUE(someVolume.MayShow({ 300.0f, 200.0f, 0.0f }, 1.0f));
	// Behind the camera nothing shows; beyond the far plane the sides still decide (depth may be clamped).
	EXPECT_FALSE(someVolume.MayShow({ 300.0f, 200.0f, -1500.0f }, 100.0f));
	EXPECT_TRUE(someVolume.MayShow({ 300.0f, 200.0f, 9000.0f }, 1.0f));
}

TEST(ViewVolume, NeverLeavesOutASphereThatShowsWhateverTheMeshPlacement)
{
	const Camera someCamera = WorldCamera();
	Camera someInterface;
	someInterface.SetOrthographicProjection(0.0f, 1280.0f, 0.0f, 720.0f, 0.1f, 50000.0f);
	someInterface.myTransform.SetTranslation({ 0.0f, 0.0f, -100.0f });
	// Scaled unevenly, turned and moved, as props are placed.
	const Matrix4x4 somePlacements[] = {
		Matrix4x4(),
		Matrix4x4::CreateScale({ 3.0f, 0.5f, 1.0f }) * Matrix4x4::CreateRotationAroundZ(30.0f) * Matrix4x4::CreateTranslation({ 200.0f, -100.0f, 400.0f }),
		Matrix4x4::CreateScale({ 0.25f, 4.0f, 2.0f }) * Matrix4x4::CreateRotationAroundY(60.0f),
	};
	int someShown = 0, someLeftOut = 0;
	for (const Camera* someView : { &someCamera, static_cast<const Camera*>(&someInterface) })
		for (const Matrix4x4& somePlacement : somePlacements)
		{
			const ViewVolume someVolume = ViewVolume::ForMesh(somePlacement, *someView);
			for (float x = -3000.0f; x <= 3000.0f; x += 250.0f)
				for (float y = -2000.0f; y <= 2000.0f; y += 250.0f)
				{
					const Vector3<float> someCenter{ x, y, 100.0f };
					const bool isShown = AnyPointShows(*someView, somePlacement, someCenter, 120.0f);
					const bool mayShow = someVolume.MayShow(someCenter, 120.0f);
					EXPECT_TRUE(mayShow || !isShown) << x << ", " << y;
					someShown += isShown;
					someLeftOut += !mayShow;
				}
		}
	// Both kinds occur, so neither answer is given blindly.
	EXPECT_GT(someShown, 100);
	EXPECT_GT(someLeftOut, 100);
}
