#include "properties/PlainPropertyTypes.h"
#include "scene/Scene.h"
#include "scene/SceneObject.h"
#include "stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using Norv::Scene;
using Norv::SceneObject;
using Norv::StringId;
using Norv::StringRegistry::RegisterOrGetString;

namespace
{
	constexpr float ANGLE_TOLERANCE = 1e-3f; // degrees
	constexpr float LENGTH_TOLERANCE = 1e-4f;

	void ExpectNear(const Norv::Vector3<float>& aActual, const Norv::Vector3<float>& aExpected, float aTolerance)
	{
		EXPECT_NEAR(aActual.x, aExpected.x, aTolerance);
		EXPECT_NEAR(aActual.y, aExpected.y, aTolerance);
		EXPECT_NEAR(aActual.z, aExpected.z, aTolerance);
	}

	SceneObject ObjectOnPath(const char* aPath)
	{
		SceneObject someObject;
		someObject.SetPath(nullptr, RegisterOrGetString(aPath));
		return someObject;
	}
}

// ---------------------------------------------------------------- scene

TEST(Scene, StartsUntitledAndEmpty)
{
	const Scene someScene;
	EXPECT_EQ(someScene.name, "untitled");
	EXPECT_TRUE(someScene.path.empty());
	EXPECT_TRUE(someScene.objects.empty());
	EXPECT_TRUE(someScene.pathCounts.empty());
	EXPECT_EQ(SceneObject().name, "Scene Object");
	EXPECT_EQ(SceneObject().transform.scale, Norv::Vector3<float>(1, 1, 1));
}

TEST(Scene, SameGuidKeepsTheLaterObjectButCountsBoth)
{
	Scene someScene;
	SceneObject someFirst = ObjectOnPath("Props");
	someFirst.SetName("first");
	SceneObject someSecond = ObjectOnPath("Props");
	someSecond.SetName("second");
	const auto [someId, someStored] = someScene.AddObject("11111111-2222-3333-4444-555555555555", someFirst);
	const auto [someAgainId, someAgainStored] = someScene.AddObject("11111111-2222-3333-4444-555555555555", someSecond);
	EXPECT_EQ(someId, someAgainId);
	ASSERT_EQ(someScene.objects.size(), 1u);
	EXPECT_EQ(someScene.objects.at(someId)->name, "second");
	EXPECT_EQ(someAgainStored, someScene.objects.at(someId).get());
	EXPECT_EQ(someScene.pathCounts.at(StringId()), 2u);
	EXPECT_EQ(someScene.pathCounts.at(RegisterOrGetString("Props")), 2u);
}

TEST(Scene, ObjectsWithoutAReadableGuidLandUnderZero)
{
	Scene someScene;
	EXPECT_EQ(someScene.AddObject("", SceneObject()).first, 0u);
	EXPECT_EQ(someScene.AddObject(nullptr, SceneObject()).first, 0u);
	EXPECT_EQ(someScene.AddObject("garbage", SceneObject()).first, 0u);
	EXPECT_EQ(someScene.objects.size(), 1u);
	EXPECT_EQ(someScene.pathCounts.at(StringId()), 6u); // each null path counts again under the total
}

TEST(Scene, StoresACopyWithItsOwnValues)
{
	SceneObject someObject;
	someObject.properties.push_back({ RegisterOrGetString("hp"), &Norv::PropertyType<std::int32_t>::ourInstance, Norv::Property(&Norv::PropertyType<std::int32_t>::ourInstance) });
	Scene someScene;
	SceneObject* someStored = someScene.AddObject("11111111-2222-3333-4444-000000000001", someObject).second;
	*someObject.properties[0].value.TryGet<std::int32_t>() = 5;
	EXPECT_EQ(*someStored->properties[0].value.TryGet<std::int32_t>(), 0);
}

TEST(Scene, ClearKeepsPathAndName)
{
	Scene someScene;
	someScene.SetName("Hub");
	someScene.SetPath("scenes/Hub.nvs");
	someScene.AddObject("11111111-2222-3333-4444-000000000002", ObjectOnPath("Tiles"));
	someScene.Clear();
	EXPECT_TRUE(someScene.objects.empty());
	EXPECT_TRUE(someScene.pathCounts.empty());
	EXPECT_EQ(someScene.name, "Hub");
	EXPECT_EQ(someScene.path, "scenes/Hub.nvs");
}

TEST(Scene, PathCountsOrderByText)
{
	Scene someScene;
	RegisterOrGetString("Zebra");
	someScene.AddObject("", ObjectOnPath("apple"));
	someScene.AddObject("", ObjectOnPath("Zebra"));
	std::vector<std::string> someKeys;
	for (const auto& [someKey, someCount] : someScene.pathCounts)
		someKeys.emplace_back(someKey.c_str());
	EXPECT_EQ(someKeys, (std::vector<std::string>{ "", "Zebra", "apple" }));
}

TEST(SceneObjectPath, MovingBetweenPathsUpdatesTheSceneCounts)
{
	Scene someScene;
	SceneObject* someObject = someScene.AddObject("11111111-2222-3333-4444-000000000003", ObjectOnPath("Old")).second;
	const StringId someOld = RegisterOrGetString("Old");
	const StringId someNew = RegisterOrGetString("New");

	someObject->SetPath(&someScene, someOld);
	EXPECT_EQ(someScene.pathCounts.at(someOld), 1u);

	someObject->SetPath(&someScene, someNew);
	EXPECT_EQ(someObject->path, someNew);
	EXPECT_EQ(someScene.pathCounts.at(someNew), 1u);
	EXPECT_FALSE(someScene.pathCounts.contains(someOld));

	someObject->SetPath(nullptr, someOld);
	EXPECT_EQ(someObject->path, someOld);
	EXPECT_EQ(someScene.pathCounts.at(someNew), 1u);
}

// ---------------------------------------------------------------- transforms

TEST(SceneObjectTransform, QuarterTurnAboutYReadsBackAsNinetyDegrees)
{
	SceneObject someObject;
	someObject.SetTransformFromMatrix({ 0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 4, 5, 6, 1 });
	ExpectNear(someObject.transform.rotation, { 0, 90, 0 }, ANGLE_TOLERANCE);
	ExpectNear(someObject.transform.scale, { 1, 1, 1 }, LENGTH_TOLERANCE);
	EXPECT_EQ(someObject.transform.translation, Norv::Vector3<float>(4, 5, 6));
}

TEST(SceneObjectTransform, DecomposesWhatCreateTransformBuilds)
{
	const Norv::Vector3<float> someCases[][3] = {
		{ { 10, 20, 30 }, { 2, 3, 4 }, { 1, -2, 3 } },
		{ { -45, 10, 170 }, { 1, 1, 1 }, { 0, 0, 0 } },
		{ { 0, -60, 0 }, { 0.5f, 2, 1 }, { 100, 200, -300 } },
	};
	for (const auto& [someRotation, someScale, someTranslation] : someCases)
	{
		SceneObject someSource;
		someSource.transform = { someTranslation, someRotation, someScale };
		SceneObject someRead;
		someRead.SetTransformFromMatrix(Norv::Matrix4x4::CreateTransform(someSource));
		ExpectNear(someRead.transform.rotation, someRotation, ANGLE_TOLERANCE * 10);
		ExpectNear(someRead.transform.scale, someScale, LENGTH_TOLERANCE);
		ExpectNear(someRead.transform.translation, someTranslation, LENGTH_TOLERANCE);
	}
}

TEST(SceneObjectTransform, GimbalLockedRotationsRebuildTheSameMatrix)
{
	// At a pitch of +-90 degrees roll and yaw turn about one axis: the reading
	// puts it all in the roll, and the matrix built back from it is the same.
	const Norv::Vector3<float> someRotations[] = { { 30, 90, 0 }, { -50, -90, 0 }, { 10, 90, 25 } };
	for (const Norv::Vector3<float>& someRotation : someRotations)
	{
		SceneObject someSource;
		someSource.transform = { { 1, 2, 3 }, someRotation, { 1, 1, 1 } };
		const Norv::Matrix4x4 someMatrix = Norv::Matrix4x4::CreateTransform(someSource);
		SceneObject someRead;
		someRead.SetTransformFromMatrix(someMatrix);
		EXPECT_NEAR(someRead.transform.rotation.y, someRotation.y, ANGLE_TOLERANCE * 10);
		EXPECT_EQ(someRead.transform.rotation.z, 0.0f);
		EXPECT_GT(std::abs(someRead.transform.rotation.x), 1.0f) << "the roll is kept";
		const Norv::Matrix4x4 someRebuilt = Norv::Matrix4x4::CreateTransform(someRead);
		for (int someRow = 1; someRow <= 4; ++someRow)
			for (int someColumn = 1; someColumn <= 4; ++someColumn)
				EXPECT_NEAR(someRebuilt(someRow, someColumn), someMatrix(someRow, someColumn), 1e-3f) << someRotation.x << " " << someRotation.y << " " << someRotation.z << " at " << someRow << someColumn;
	}
}

TEST(SceneObjectTransform, ZeroScaleRowGivesNoNaN)
{
	SceneObject someObject;
	someObject.SetTransformFromMatrix({ 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 });
	EXPECT_EQ(someObject.transform.scale.x, 0.0f);
	EXPECT_FALSE(std::isnan(someObject.transform.rotation.x) || std::isnan(someObject.transform.rotation.y) || std::isnan(someObject.transform.rotation.z));
}

TEST(SceneObjectTransform, CreateTransformScalesThenRotatesThenTranslates)
{
	SceneObject someObject;
	someObject.transform = { { 10, 0, 0 }, { 0, 0, 90 }, { 2, 1, 1 } };
	const Norv::Vector4<float> somePoint = Norv::Vector4<float>(1, 0, 0, 1) * Norv::Matrix4x4::CreateTransform(someObject);
	ExpectNear(somePoint.Xyz(), { 10, 2, 0 }, LENGTH_TOLERANCE);
}
