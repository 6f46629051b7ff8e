// The developer fixture character drawn through the model drawer and read back:
// at its bind pose and at a later frame of its own clip.
#include "Support/ImageEncoding.h"
#include "Support/ModelScene.h"
#include "model/ModelDrawer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{
	constexpr unsigned WIDTH = 320;
	constexpr unsigned HEIGHT = 240;
	const std::string CHARACTER = std::string(NORV_FIXTURES_DIR) + "/fbx/character_skinned.fbx";

	struct Coverage
	{
		int myCount = 0;
		int myMinX = WIDTH, myMinY = HEIGHT, myMaxX = -1, myMaxY = -1;
		int myDistinctLevels = 0;
		std::vector<bool> myMask;
	};

	Coverage Measure(NorvTest::ModelScene& aScene)
	{
		const std::vector<std::uint8_t> someBytes = aScene.SetUp().ReadBackBuffer();
		Coverage someCoverage;
		someCoverage.myMask.assign(WIDTH * HEIGHT, false);
		bool someLevels[256] = {};
		for (unsigned y = 0; y < HEIGHT; ++y)
			for (unsigned x = 0; x < WIDTH; ++x)
			{
				const auto p = aScene.SetUp().PixelAt(someBytes, x, y);
				if (p[0] + p[1] + p[2] == 0)
					continue;
				someCoverage.myMask[y * WIDTH + x] = true;
				++someCoverage.myCount;
				someCoverage.myMinX = std::min<int>(someCoverage.myMinX, x);
				someCoverage.myMaxX = std::max<int>(someCoverage.myMaxX, x);
				someCoverage.myMinY = std::min<int>(someCoverage.myMinY, y);
				someCoverage.myMaxY = std::max<int>(someCoverage.myMaxY, y);
				someLevels[p[1]] = true;
			}
		for (bool someLevel : someLevels)
			someCoverage.myDistinctLevels += someLevel ? 1 : 0;
		return someCoverage;
	}
}

TEST(SkinnedModelDraw, FixtureCharacterIsDrawnLitAndItsSkinFollowsTheBones)
{
	if (!std::filesystem::exists(CHARACTER))
		GTEST_SKIP() << "fixture missing: " << CHARACTER;
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	NorvTest::FactoryScope someFactory;
	Norv::AnimatedModelInstance someInstance = someFactory->GetAnimatedModelInstance(CHARACTER);
	ASSERT_NE(someInstance.GetModel(), nullptr);
	const NorvTest::ModelBox someBox(*someInstance.GetModel());
	Norv::ModelDrawer& someDrawer = *someScene.SetUp().Graphics().GetModelDrawer();

	// Bind pose: bones are identity until a pose is given.
	someScene.BeginFrame(someBox.Center(), someBox.Radius() * 2.5f);
	someDrawer.DrawAnimated(someInstance);
	const Coverage someBind = Measure(someScene);

	Norv::AnimationPlayer somePlayer = someFactory->GetAnimationPlayer(CHARACTER, someInstance.GetModel());
	ASSERT_NE(somePlayer.GetAnimation(), nullptr);
	somePlayer.SetTime(0.5f);
	somePlayer.UpdatePose();
	someInstance.UpdatePose(somePlayer.GetPose());
	someScene.BeginFrame(someBox.Center(), someBox.Radius() * 2.5f);
	someDrawer.DrawAnimated(someInstance);
	const Coverage someLater = Measure(someScene);

	if (const char* someShot = std::getenv("NORV_MODEL_SCREENSHOT"))
	{
		const std::vector<std::uint8_t> someBytes = someScene.SetUp().ReadBackBuffer();
		std::vector<std::uint8_t> someRgba(someBytes.size());
		for (std::size_t i = 0; i + 3 < someBytes.size(); i += 4)
			someRgba[i] = someBytes[i + 2], someRgba[i + 1] = someBytes[i + 1], someRgba[i + 2] = someBytes[i], someRgba[i + 3] = 255;
		std::ofstream(someShot, std::ios::binary) << NorvTest::EncodePng(WIDTH, HEIGHT, someRgba);
	}
	std::printf("bind %d px [%d..%d]x[%d..%d] levels %d; later %d px [%d..%d]x[%d..%d]\n", someBind.myCount, someBind.myMinX, someBind.myMaxX, someBind.myMinY, someBind.myMaxY,
		someBind.myDistinctLevels, someLater.myCount, someLater.myMinX, someLater.myMaxX, someLater.myMinY, someLater.myMaxY);
}
