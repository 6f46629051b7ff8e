// The world's models drawn by the model drawer and read back: each is drawn
// (not the placeholder's magenta, not one flat colour), the player stands
// upright under its entity's turn, and a line-up of the cast can be saved as a
// picture (NORV_WORLDART_SCREENSHOT names the PNG file).
#include "WorldArtData.h"

#include "Support/ImageEncoding.h"
#include "Support/ModelScene.h"
#include "model/ModelDrawer.h"
#include "settings/settings.h"
#include "shell/StateStack.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <set>

namespace
{
	constexpr unsigned WIDTH = 320;
	constexpr unsigned HEIGHT = 240;
	constexpr unsigned SHOT_WIDTH = 960;
	constexpr unsigned SHOT_HEIGHT = 540;
	// The player's entity turns its model by these Euler angles (degrees) when it faces right.
	const Norv::Vector3<float> PLAYER_TURN{ 90.0f, 65.0f, -180.0f };
	constexpr float FLOWER_SCALE = 28.0f;
	// Half the width of the view of the ability page, in model units (the page is 660 wide).
	constexpr float PAGE_VIEW_HALF_WIDTH = 360.0f;

	struct Piece
	{
		std::string path;
		bool isAnimated;
		Norv::Vector3<float> turn{ 0, 0, 0 };
		float scale = 1.0f;
		Norv::Vector3<float> place{ 0, 0, 0 }; // in the line-up
		std::string clip = {};                   // the line-up's pose
		float time = 0.0f;
	};

	const std::vector<Piece> PIECES{
		{ "models/Characters/Player/SK_Player.fbx", true, PLAYER_TURN, 1, { -700, -200, 0 }, "models/Characters/Player/Animations/A_Player_Running.fbx", 0.2f },
		{ "models/Enemies/Hedgehog/SK_Hedgehog.fbx", true, { 0, 180, 0 }, 1, { -540, -225, 0 } },
		{ "models/Enemies/HedgehogBoss/SK_HedgehogBoss.fbx", true, { 0, 180, 0 }, 1, { -300, -160, 0 }, "models/Enemies/HedgehogBoss/Animations/A_HedgehogBoss_Walk.fbx", 0.1f },
		{ "models/Enemies/Wasp/SK_Wasp.fbx", true, { 0, 90, 0 }, 1, { -80, -120, 0 }, "models/Enemies/Wasp/Animations/A_Wasp_Attack.fbx", 0.3f },
		{ "models/Enemies/Mushroom/SK_Mushroom.fbx", true, { 0, -60, 0 }, 1, { 60, -225, 0 } },
		{ "models/Interactables/FlowerPlatform/SK_FlowerPlatform.fbx", true, { 15, 0, 0 }, FLOWER_SCALE, { 260, -150, 0 } },
		{ "models/Props/Forest/SM_Prop_Forest_Tree.fbx", false, { 0, 0, 0 }, 0.6f, { 520, -300, 100 } },
		{ "models/Props/SadForest/SM_Prop_SadForest_Willow.fbx", false, { 0, 0, 0 }, 0.7f, { 740, -300, 100 } },
		{ "models/Tiles/Forest/SM_Tile_Forest_Grass.fbx", false, { 10, 20, 0 }, 1, { -700, 250, 0 } },
		{ "models/Tiles/Cave/SM_Tile_Cave_Ledge.fbx", false, { 10, 20, 0 }, 1, { -590, 250, 0 } },
		{ "models/Tiles/SadForest/SM_Tile_SadForest_Grass.fbx", false, { 10, 20, 0 }, 1, { -480, 250, 0 } },
		{ "models/Interactables/Door/SM_Door_Wood.fbx", false, { 0, 15, 0 }, 1, { -330, 250, 0 } },
		{ "models/Interactables/Lever/SM_Lever.fbx", false, { 0, 0, 20 }, 1, { -200, 230, 0 } },
		{ "models/Interactables/Gate/SM_Gate.fbx", false, { 0, 15, 0 }, 0.8f, { -90, 250, 0 } },
		{ "models/Interactables/Spikes/SM_Spikes.fbx", false, { 15, 0, 0 }, 1, { 30, 230, 0 } },
		{ "models/Interactables/Campfire/SM_Campfire.fbx", false, { 15, 0, 0 }, 1, { 150, 190, 0 } },
		{ "models/Pickups/SM_Pickup_Dash.fbx", false, { 0, 0, 0 }, 1, { 260, 250, 0 } },
		{ "models/Pickups/SM_Pickup_DashSlash.fbx", false, { 0, 0, 0 }, 1, { 350, 250, 0 } },
		{ "models/Interactables/Destructibles/SK_Crate.fbx", true, { 10, 25, 0 }, 1, { 480, 250, 0 } },
		{ "models/Interactables/Destructibles/SK_Crystal.fbx", true, { 0, 20, 0 }, 1, { 620, 250, 0 } },
		{ "models/Props/Cave/SM_Prop_Cave_Crystals.fbx", false, { 0, 0, 0 }, 1, { 760, 200, 0 } },
	};

	Norv::Matrix4x4 Placement(const Piece& aPiece, const Norv::Vector3<float>& aAt)
	{
		Norv::Matrix4x4 someRotation;
		Norv::Matrix4x4::SetRotationFromEuler(someRotation, aPiece.turn);
		return Norv::Matrix4x4::CreateScale({ aPiece.scale, aPiece.scale, aPiece.scale }) * someRotation * Norv::Matrix4x4::CreateTranslation(aAt);
	}

	// The drawing set-up reading the generated data set.
	class WorldArtDraw : public ::testing::Test
	{
	protected:
		void UseDataSet(NorvTest::ModelScene& aScene)
		{
			aScene.SetUp().Folder().WriteSettings(R"({ "assets_path": { "engine": ")" + NorvTest::ENGINE_ASSETS.string() + R"(", "game": ")"
				+ NorvTest::GAME_DATA.string() + R"(", "cooked": ")" + NORV_COOKED_DIR + R"(" }, "window_settings": { "title": "T" } })");
			ASSERT_TRUE(Norv::LoadSettings("Game"));
		}

		void Draw(NorvTest::FactoryScope& aFactory, NorvTest::ModelScene& aScene, const Piece& aPiece, const Norv::Vector3<float>& aAt)
		{
			Norv::ModelDrawer& someDrawer = *aScene.SetUp().Graphics().GetModelDrawer();
			if (aPiece.isAnimated)
			{
				Norv::AnimatedModelInstance someInstance = aFactory->GetAnimatedModelInstance(aPiece.path);
				ASSERT_NE(someInstance.GetModel(), nullptr) << aPiece.path;
				someInstance.SetTransform(Placement(aPiece, aAt));
				if (!aPiece.clip.empty())
				{
					Norv::AnimationPlayer somePlayer = aFactory->GetAnimationPlayer(aPiece.clip, someInstance.GetModel());
					somePlayer.SetTime(aPiece.time);
					somePlayer.UpdatePose();
					someInstance.UpdatePose(somePlayer.GetPose());
				}
				someDrawer.DrawAnimated(someInstance);
			}
			else
			{
				Norv::ModelInstance someInstance = aFactory->GetModelInstance(aPiece.path);
				ASSERT_NE(someInstance.GetModel(), nullptr) << aPiece.path;
				someInstance.SetTransform(Placement(aPiece, aAt));
				someDrawer.Draw(someInstance);
			}
		}
	};

	struct Coverage
	{
		int count = 0, magenta = 0, minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
		std::set<int> colours;
		double topRed = 0, bottomRed = 0;
	};

	Coverage Measure(NorvTest::ModelScene& aScene)
	{
		const std::vector<std::uint8_t> someBytes = aScene.SetUp().ReadBackBuffer();
		Coverage c;
		for (unsigned y = 0; y < HEIGHT; ++y)
			for (unsigned x = 0; x < WIDTH; ++x)
			{
				const auto p = aScene.SetUp().PixelAt(someBytes, x, y);
				if (p[0] + p[1] + p[2] == 0)
					continue;
				++c.count;
				c.magenta += p[0] > 200 && p[1] < 60 && p[2] > 200;
				c.colours.insert((p[0] / 16) << 8 | (p[1] / 16) << 4 | (p[2] / 16));
				c.minX = std::min<int>(c.minX, static_cast<int>(x));
				c.maxX = std::max<int>(c.maxX, static_cast<int>(x));
				c.minY = std::min<int>(c.minY, static_cast<int>(y));
				c.maxY = std::max<int>(c.maxY, static_cast<int>(y));
			}
		return c;
	}
}

TEST_F(WorldArtDraw, EachModelIsDrawnInItsOwnColours)
{
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	UseDataSet(someScene);
	NorvTest::FactoryScope someFactory;
	for (const Piece& somePiece : PIECES)
	{
		SCOPED_TRACE(somePiece.path);
		const std::shared_ptr<Norv::Model> someModel = someFactory->GetModel(somePiece.path);
		ASSERT_NE(someModel, nullptr);
		const NorvTest::ModelBox someBox(*someModel);
		someScene.BeginFrame({ 0, 0, 0 }, someBox.Radius() * somePiece.scale * 3.0f);
		Draw(someFactory, someScene, somePiece, -someBox.Center() * somePiece.scale);
		const Coverage c = Measure(someScene);
		EXPECT_GT(c.count, 800) << "drawn";
		EXPECT_LT(c.magenta, c.count / 50) << "no placeholder texture";
		EXPECT_GE(c.colours.size(), 6u) << "lit and coloured, not one flat colour";
	}
}

TEST_F(WorldArtDraw, ThePlayerStandsUprightUnderItsEntitysTurn)
{
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	UseDataSet(someScene);
	NorvTest::FactoryScope someFactory;
	someScene.BeginFrame({ 0, 0, 0 }, 300.0f);
	Draw(someFactory, someScene, PIECES.front(), { 0, 0, 0 });
	const Coverage c = Measure(someScene);
	ASSERT_GT(c.count, 800);
	EXPECT_GT(c.maxY - c.minY, (c.maxX - c.minX) * 1.3) << "taller than wide";
	// Centred on its collider: as far above the screen centre as below.
	EXPECT_NEAR((c.minY + c.maxY) * 0.5, HEIGHT * 0.5, HEIGHT * 0.08);
}

TEST_F(WorldArtDraw, ClipsPoseTheModelsThroughTheAnimationPlayer)
{
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	UseDataSet(someScene);
	NorvTest::FactoryScope someFactory;
	Norv::ModelDrawer& someDrawer = *someScene.SetUp().Graphics().GetModelDrawer();
	// The silhouette of aPiece posed by aClip at aTime, seen from aDistance.
	const auto Posed = [&](const Piece& aPiece, const std::string& aClip, float aTime, float aDistance) {
		Norv::AnimatedModelInstance someInstance = someFactory->GetAnimatedModelInstance(aPiece.path);
		EXPECT_NE(someInstance.GetModel(), nullptr);
		Norv::AnimationPlayer somePlayer = someFactory->GetAnimationPlayer(aClip, someInstance.GetModel());
		EXPECT_NE(somePlayer.GetAnimation(), nullptr) << aClip;
		somePlayer.SetTime(aTime);
		somePlayer.UpdatePose();
		someInstance.UpdatePose(somePlayer.GetPose());
		someInstance.SetTransform(Placement(aPiece, { 0, 0, 0 }));
		someScene.BeginFrame({ 0, 0, 0 }, aDistance);
		someDrawer.DrawAnimated(someInstance);
		return Measure(someScene);
	};
	const Piece& somePlayer = PIECES.front();
	const Coverage someIdle = Posed(somePlayer, "models/Characters/Player/Animations/A_Player_Idle.fbx", 0.0f, 300.0f);
	const Coverage someDead = Posed(somePlayer, "models/Characters/Player/Animations/A_Player_Death.fbx", 2.0f, 300.0f);
	EXPECT_GT(someIdle.maxY - someIdle.minY, someIdle.maxX - someIdle.minX) << "standing";
	EXPECT_LT(someDead.maxY - someDead.minY, (someIdle.maxY - someIdle.minY) * 0.7) << "fallen over";
	EXPECT_GT(someDead.maxY, someIdle.maxY - HEIGHT / 20) << "lying on the ground it stood on";

	const Piece& someFlower = PIECES.at(5);
	const Coverage someBud = Posed(someFlower, "models/Interactables/FlowerPlatform/Animations/A_FlowerPlatform_Sleeping.fbx", 0.0f, 700.0f);
	const Coverage someOpen = Posed(someFlower, "models/Interactables/FlowerPlatform/Animations/A_FlowerPlatform_Open.fbx", 0.0f, 700.0f);
	EXPECT_LT(someBud.maxX - someBud.minX, (someOpen.maxX - someOpen.minX) * 0.7) << "petals close into a bud";
}

TEST_F(WorldArtDraw, TheAbilityPageShowsItsWritingAndItsFlowerToTheInterfaceCamera)
{
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	UseDataSet(someScene);
	NorvTest::FactoryScope someFactory;
	someScene.BeginFrame({ 0, 0, 0 }, 1000.0f);
	// As the play state shows the page: under the interface camera, orthographic and
	// straight on from in front (-z), the page's model unturned at the camera's axis.
	Norv::Camera someCamera;
	const float someHalfHeight = PAGE_VIEW_HALF_WIDTH * HEIGHT / WIDTH;
	someCamera.SetOrthographicProjection(-PAGE_VIEW_HALF_WIDTH, PAGE_VIEW_HALF_WIDTH, -someHalfHeight, someHalfHeight, StateStack::INTERFACE_NEAR_PLANE, StateStack::INTERFACE_FAR_PLANE);
	someCamera.SetTransform(Norv::Matrix4x4::CreateTranslation({ 0.0f, 0.0f, StateStack::INTERFACE_CAMERA_Z }));
	someScene.Stack().SetCamera(someCamera);
	someScene.Stack().UpdateGpuStates(false);
	Draw(someFactory, someScene, { "models/Interactables/Book/SM_BookPage.fbx", false }, { 0, 0, 0 });

	const std::vector<std::uint8_t> someBytes = someScene.SetUp().ReadBackBuffer();
	// Per page: its paper, and what stands out from it in colour (the flower: pink, the
	// leaves: green) or in shade (the ink: a dark brown, not the cover's red).
	struct Page
	{
		int paper = 0, pink = 0, green = 0, ink = 0;
	};
	std::array<Page, 2> somePages; // left, right
	for (unsigned y = 0; y < HEIGHT; ++y)
		for (unsigned x = 0; x < WIDTH; ++x)
		{
			const auto p = someScene.SetUp().PixelAt(someBytes, x, y);
			const int r = p[0], g = p[1], b = p[2];
			Page& somePage = somePages[x < WIDTH / 2 ? 0 : 1];
			if (r > 150 && g > r * 0.85 && b < g && b > g * 0.7)
				++somePage.paper;
			else if (r > g + 40 && b > g + 8)
				++somePage.pink;
			else if (g > r + 20 && g > b + 20)
				++somePage.green;
			else if (r > 20 && r < 140 && g > r * 0.65 && b < g)
				++somePage.ink;
		}
	const int somePageArea = static_cast<int>(WIDTH * HEIGHT / 2);
	for (const Page& somePage : somePages)
		EXPECT_GT(somePage.paper, somePageArea / 3) << "the page's paper fills the view";
	EXPECT_GT(somePages[0].pink, somePageArea / 40) << "the pressed flower on the left page";
	EXPECT_GT(somePages[0].green, somePageArea / 400) << "its stem and leaves";
	EXPECT_GT(somePages[1].ink, somePageArea / 60) << "the lines of writing on the right page";
}

TEST_F(WorldArtDraw, TheLineUpCanBeSavedAsAPicture)
{
	const char* someShot = std::getenv("NORV_WORLDART_SCREENSHOT");
	if (!someShot)
		GTEST_SKIP() << "NORV_WORLDART_SCREENSHOT names no file";
	NorvTest::ModelScene someScene({ SHOT_WIDTH, SHOT_HEIGHT });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	UseDataSet(someScene);
	NorvTest::FactoryScope someFactory;
	someScene.BeginFrame({ 30, 20, 0 }, 1400.0f);
	for (const Piece& somePiece : PIECES)
		Draw(someFactory, someScene, somePiece, somePiece.place);
	const std::vector<std::uint8_t> someBytes = someScene.SetUp().ReadBackBuffer();
	std::vector<std::uint8_t> someRgba(someBytes.size());
	for (std::size_t i = 0; i + 3 < someBytes.size(); i += 4)
		someRgba[i] = someBytes[i + 2], someRgba[i + 1] = someBytes[i + 1], someRgba[i + 2] = someBytes[i], someRgba[i + 3] = 255;
	std::ofstream(someShot, std::ios::binary) << NorvTest::EncodePng(SHOT_WIDTH, SHOT_HEIGHT, someRgba);
}
