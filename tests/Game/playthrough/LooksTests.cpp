// How the game looks with its own data set, drawn headless by the whole shell and
// read back: the main menu, and the test level (tools/screenshots/levels/TestLevel.txt)
// with the player, one of each enemy and every kind of object, each of which must be
// drawn where it stands: in colours of its own (not the placeholder's magenta, not one
// flat colour) and unlike the same level drawn without its cast.
#include "ScriptedRun.h"
#include "SceneFile.h"

#include "Support/ModelScene.h"
#include "Support/ReadBack.h"
#include "Support/TempFolder.h"

#include "world/GameState.h"
#include "world/entities/BookShowcase.h"

#include "graphics/Camera.h"
#include "graphics/DX11.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <typeinfo>

namespace
{
	namespace fs = std::filesystem;

	const fs::path GAME_DATA = fs::path(NORV_SOURCE_DIR) / "Source/Game/data";
	const fs::path TEST_LEVEL = fs::path(NORV_SOURCE_DIR) / "tools/screenshots/levels/TestLevel.txt";
	constexpr const char* BARE_LEVEL = "TestLevelBare";
	// The bare level keeps its player out of sight, in the pocket right of the play area.
	constexpr const char* HIDDEN_PLAYER = "object Player 2300 125";
	// Where the test level's camera bounds hold the camera once it has come in.
	const Norv::Vector3<float> HELD_CAMERA{ 0.0f, 850.0f, CameraController::FOLLOW_Z };

	constexpr unsigned WIDTH = 960;
	constexpr unsigned HEIGHT = 540;
	// The loading screen fades only as it is drawn.
	constexpr int DRAW_EVERY = 4;
	constexpr int MENU_FRAMES = 90;   // the menu's flower indicators fade in
	constexpr int SETTLE_FRAMES = 240; // the loading screen fades and the camera comes in (3 s)

	constexpr int CHANGED_LEVEL = 24;  // a channel this far from the level behind: drawn over it
	constexpr int COLOUR_STEP = 16;    // colours told apart in steps of this many levels
	constexpr double DRAWN_SHARE = 0.08;   // of the screen box of an entity's models (a closed bud fills little of it)
	constexpr int EFFECT_PIXELS = 12;      // of an entity drawn as an effect only
	constexpr double MAGENTA_SHARE = 0.02; // at most
	constexpr std::size_t ENTITY_COLOURS = 4;
	constexpr std::size_t MENU_COLOURS = 40;

	using Pixel = std::array<int, 3>;

	Pixel At(const NorvTest::Frame& aFrame, unsigned x, unsigned y)
	{
		const std::size_t i = (static_cast<std::size_t>(y) * aFrame.myWidth + x) * 4;
		return { aFrame.myRgba[i], aFrame.myRgba[i + 1], aFrame.myRgba[i + 2] };
	}

	bool IsMagenta(const Pixel& p) { return p[0] > 200 && p[1] < 60 && p[2] > 200; }
	int ColourBin(const Pixel& p) { return (p[0] / COLOUR_STEP) << 8 | (p[1] / COLOUR_STEP) << 4 | (p[2] / COLOUR_STEP); }

	struct Box
	{
		int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // pixels, [x0, x1) x [y0, y1)
	};

	// What a box of aFrame holds, against the same box of aBehind.
	struct Coverage
	{
		int pixels = 0, changed = 0, magenta = 0;
		std::set<int> colours; // of the changed pixels
	};

	Coverage Measure(const NorvTest::Frame& aFrame, const NorvTest::Frame& aBehind, const Box& aBox)
	{
		Coverage c;
		for (int y = aBox.y0; y < aBox.y1; ++y)
			for (int x = aBox.x0; x < aBox.x1; ++x)
			{
				const Pixel p = At(aFrame, static_cast<unsigned>(x), static_cast<unsigned>(y)), q = At(aBehind, static_cast<unsigned>(x), static_cast<unsigned>(y));
				++c.pixels;
				c.magenta += IsMagenta(p);
				if (std::max({ std::abs(p[0] - q[0]), std::abs(p[1] - q[1]), std::abs(p[2] - q[2]) }) > CHANGED_LEVEL)
				{
					++c.changed;
					c.colours.insert(ColourBin(p));
				}
			}
		return c;
	}

	void ExpectDrawn(const Coverage& c, bool anIsModelled, const std::string& aWhat)
	{
		ASSERT_GT(c.pixels, 0) << aWhat << ": off screen";
		if (anIsModelled)
			EXPECT_GE(c.changed, c.pixels * DRAWN_SHARE) << aWhat << ": its models hardly drawn over the level behind them";
		else
			EXPECT_GE(c.changed, EFFECT_PIXELS) << aWhat << ": not drawn over the level behind it";
		EXPECT_LE(c.magenta, c.pixels * MAGENTA_SHARE) << aWhat << ": the placeholder's magenta";
		EXPECT_GE(c.colours.size(), ENTITY_COLOURS) << aWhat << ": one flat colour";
	}

	// The screen pixel of a world point seen by aCamera (rows from the top).
	std::array<float, 2> ToScreen(const Norv::Camera& aCamera, const Norv::Vector3<float>& aPoint)
	{
		const Norv::Vector4<float> someClip = Norv::Vector4<float>(aPoint.x, aPoint.y, aPoint.z, 1.0f) * Norv::Matrix4x4::GetInverse(aCamera.myTransform) * aCamera.myProjection;
		return { (someClip.x / someClip.w * 0.5f + 0.5f) * WIDTH, (0.5f - someClip.y / someClip.w * 0.5f) * HEIGHT };
	}

	// The screen box of world points, clipped to the screen.
	Box ScreenBox(const Norv::Camera& aCamera, const std::vector<Norv::Vector3<float>>& somePoints)
	{
		float x0 = FLT_MAX, y0 = FLT_MAX, x1 = -FLT_MAX, y1 = -FLT_MAX;
		for (const Norv::Vector3<float>& somePoint : somePoints)
		{
			const auto p = ToScreen(aCamera, somePoint);
			x0 = std::min(x0, p[0]), y0 = std::min(y0, p[1]), x1 = std::max(x1, p[0]), y1 = std::max(y1, p[1]);
		}
		const auto Clip = [](float aValue, unsigned anEnd) { return std::clamp(static_cast<int>(aValue), 0, static_cast<int>(anEnd)); };
		return { Clip(x0, WIDTH), Clip(y0, HEIGHT), Clip(x1, WIDTH), Clip(y1, HEIGHT) };
	}

	// The corners of a model's bounds placed by aTransform.
	void AddCorners(const Norv::Model& aModel, const Norv::Matrix4x4& aTransform, std::vector<Norv::Vector3<float>>& someCorners)
	{
		const NorvTest::ModelBox someBox(aModel);
		for (int i = 0; i < 8; ++i)
		{
			const Norv::Vector4<float> someCorner(i & 1 ? someBox.myMax.x : someBox.myMin.x, i & 2 ? someBox.myMax.y : someBox.myMin.y, i & 4 ? someBox.myMax.z : someBox.myMin.z, 1.0f);
			const Norv::Vector4<float> somePlaced = someCorner * aTransform;
			someCorners.push_back({ somePlaced.x, somePlaced.y, somePlaced.z });
		}
	}

	// Where the entity's models lie on screen; an entity without one (a butterfly's
	// wings are an effect) by its collider box.
	Box EntityBox(const Norv::Camera& aCamera, const Entity& anEntity, bool& anIsModelled)
	{
		std::vector<Norv::Vector3<float>> someCorners;
		if (anEntity.myAnimatedInstance.GetModel())
			AddCorners(*anEntity.myAnimatedInstance.GetModel(), anEntity.myAnimatedInstance.GetTransform(), someCorners);
		for (const Norv::ModelInstance& someInstance : anEntity.myModels)
			if (someInstance.GetModel() && someInstance.myFlag != 0)
				AddCorners(*someInstance.GetModel(), someInstance.GetTransform(), someCorners);
		anIsModelled = !someCorners.empty();
		if (!anIsModelled)
		{
			const Norv::Vector2<float> someHalf = anEntity.myColliderSize * 0.5f;
			someCorners = { { anEntity.myPosition.x - someHalf.x, anEntity.myPosition.y - someHalf.y, anEntity.myZ },
				{ anEntity.myPosition.x + someHalf.x, anEntity.myPosition.y + someHalf.y, anEntity.myZ } };
		}
		return ScreenBox(aCamera, someCorners);
	}

	std::string Describe(const Entity& anEntity)
	{
		std::ostringstream someText;
		someText << typeid(anEntity).name() << " at (" << anEntity.myPosition.x << ", " << anEntity.myPosition.y << ")";
		return someText.str();
	}

	// The test level without its cast: every object whose definition is an entity's
	// goes, but the player, who moves out of sight (the camera needs one to follow).
	std::string BareLevel(const std::string& aSource)
	{
		std::istringstream someLines(aSource);
		std::string someBare;
		for (std::string someLine; std::getline(someLines, someLine);)
		{
			std::istringstream someWords(someLine);
			std::string someKeyword, someDefinition;
			someWords >> someKeyword >> someDefinition;
			if (someKeyword == "object" && someDefinition == "Player")
				someLine = HIDDEN_PLAYER;
			else if (someKeyword == "object" && fs::exists(GAME_DATA / "definitions/entities" / (someDefinition + ".nvo")))
				continue;
			someBare += someLine + "\n";
		}
		return someBare;
	}

	// A game asset folder with the data set's art and definitions and two scenes of its
	// own, made by the scene tool: the test level and the test level without its cast.
	class Looks : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			std::ifstream someFile(TEST_LEVEL, std::ios::binary);
			ASSERT_TRUE(someFile) << TEST_LEVEL;
			const std::string someSource{ std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
			fs::create_directories(myFolder.Path() / "game");
			// The definitions are found by a walk that does not follow links: copied.
			for (const auto& someEntry : fs::directory_iterator(GAME_DATA))
				if (someEntry.path().filename() == "definitions")
					fs::copy(someEntry.path(), myFolder.Path() / "game" / "definitions", fs::copy_options::recursive);
				else if (someEntry.is_directory() && someEntry.path().filename() != "scenes")
					fs::create_directory_symlink(someEntry.path(), myFolder.Path() / "game" / someEntry.path().filename());
			myFolder.Write("levels/TestLevel.txt", someSource);
			myFolder.Write(std::string("levels/") + BARE_LEVEL + ".txt", BareLevel(someSource));
			ASSERT_TRUE(NorvScenes::MakeScenes(myFolder.Path() / "levels", myFolder.Path() / "game"));
		}
		void TearDown() override
		{
			// The links only, never what they point at.
			for (const auto& someEntry : fs::directory_iterator(myFolder.Path() / "game"))
				if (someEntry.is_symlink())
					fs::remove(someEntry.path());
		}

		Playthrough::RunOptions Options() const
		{
			Playthrough::RunOptions someOptions;
			someOptions.myGameAssets = myFolder.Path() / "game";
			someOptions.myWidth = WIDTH;
			someOptions.myHeight = HEIGHT;
			someOptions.myDrawEvery = DRAW_EVERY;
			someOptions.myLevelSelectScene = "TestLevel";
			return someOptions;
		}

		static void Play(Playthrough::ScriptedRun& aRun, const std::string& aScript)
		{
			const Playthrough::Outcome someOutcome = aRun.Play(Playthrough::ParseScript(aScript, "Looks.txt"));
			ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		}

		// One more frame, drawn, read back.
		static NorvTest::Frame DrawnFrame(Playthrough::ScriptedRun& aRun)
		{
			aRun.DrawFrame(aRun.GetFrame() + 1);
			EXPECT_TRUE(aRun.Frame(0));
			return NorvTest::ReadBackFrame(Norv::DX11::ourDevice, Norv::DX11::ourContext, Norv::DX11::ourSwapChain);
		}

		static void ExpectCameraHeld()
		{
			const Norv::Vector3<float> someCamera = GameState::GetInstance()->GetWorldCamera()->myTransform.GetTranslation();
			EXPECT_NEAR(someCamera.x, HELD_CAMERA.x, 1.0f);
			EXPECT_NEAR(someCamera.y, HELD_CAMERA.y, 1.0f);
			EXPECT_NEAR(someCamera.z, HELD_CAMERA.z, 1.0f);
		}

		NorvTest::TempFolder myFolder;
	};

	TEST_F(Looks, TheMainMenuIsDrawnInItsOwnArt)
	{
		Playthrough::ScriptedRun someRun(Options());
		ASSERT_TRUE(someRun.IsStarted());
		Play(someRun, "expect intro\n2 Confirm\nuntil menu 5\n" + std::to_string(MENU_FRAMES) + "\n");
		const NorvTest::Frame someMenu = DrawnFrame(someRun);
		ASSERT_FALSE(someMenu.myRgba.empty());
		std::map<int, int> someBins;
		int someMagenta = 0;
		for (unsigned y = 0; y < HEIGHT; ++y)
			for (unsigned x = 0; x < WIDTH; ++x)
			{
				const Pixel p = At(someMenu, x, y);
				someMagenta += IsMagenta(p);
				++someBins[ColourBin(p)];
			}
		const int somePixels = static_cast<int>(WIDTH * HEIGHT);
		const int someCommonest = std::max_element(someBins.begin(), someBins.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->second;
		EXPECT_LE(someMagenta, somePixels * MAGENTA_SHARE) << "the placeholder's magenta";
		EXPECT_GE(someBins.size(), MENU_COLOURS) << "a painted background, buttons and flowers";
		EXPECT_LT(someCommonest, somePixels / 2) << "one flat colour";
	}

	TEST_F(Looks, EveryEntityOfTheTestLevelIsDrawnWhereItStands)
	{
		Playthrough::ScriptedRun someRun(Options());
		ASSERT_TRUE(someRun.IsStarted());
		// "Level Select" plays the test level.
		Play(someRun, "expect intro\n2 Confirm\nuntil menu 5\n3\n2 Down\n3\n2 Confirm\nuntil scene TestLevel 30\n" + std::to_string(SETTLE_FRAMES) + "\n");
		ExpectCameraHeld();
		const NorvTest::Frame someLevel = DrawnFrame(someRun);
		ASSERT_FALSE(someLevel.myRgba.empty());
		GameState& someState = *GameState::GetInstance();
		struct Member
		{
			std::string what;
			Box box;
			bool isModelled = false;
		};
		std::vector<Member> someCast;
		for (const std::unique_ptr<Entity>& someEntity : someState.GetEntities())
			if (!dynamic_cast<const BookShowcase*>(someEntity.get()))
			{
				Member someMember{ Describe(*someEntity), {}, false };
				someMember.box = EntityBox(*someState.GetWorldCamera(), *someEntity, someMember.isModelled);
				someCast.push_back(someMember);
			}
		// The player, the campfire, a door, a lever, a gate, spikes, a crate, a crystal, a
		// hedgehog, the boss, a mushroom, four pickups, a flower, a wasp and two butterflies.
		ASSERT_EQ(someCast.size(), 19u);

		// The showcase draws its page on screen over the level when a pickup opens it.
		BookShowcase* someShowcase = someState.FindEntityOfType<BookShowcase>();
		ASSERT_NE(someShowcase, nullptr);
		someShowcase->Show(1);
		Play(someRun, "until page 5\n");
		const NorvTest::Frame somePage = DrawnFrame(someRun);
		ASSERT_FALSE(somePage.myRgba.empty());
		ExpectDrawn(Measure(somePage, someLevel, { static_cast<int>(WIDTH * 3 / 8), static_cast<int>(HEIGHT * 3 / 8), static_cast<int>(WIDTH * 5 / 8), static_cast<int>(HEIGHT * 5 / 8) }), true, "the book page");

		// Closed again, and on to the level without its cast.
		Play(someRun, "2 Confirm\nuntil scene TestLevel 10\n");
		someState.ChangeScene(std::string("scenes/") + BARE_LEVEL + ".nvs");
		Play(someRun, "until scene " + std::string(BARE_LEVEL) + " 30\n" + std::to_string(SETTLE_FRAMES) + "\n");
		ExpectCameraHeld();
		const NorvTest::Frame someBare = DrawnFrame(someRun);
		ASSERT_FALSE(someBare.myRgba.empty());
		for (const Member& someMember : someCast)
			ExpectDrawn(Measure(someLevel, someBare, someMember.box), someMember.isModelled, someMember.what);
	}
}
