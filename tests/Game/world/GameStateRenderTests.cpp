#include "Support/FbxScenes.h"
#include "Support/GraphicsSetUp.h"
#include "Support/ModelScene.h"
#include "Support/SteppedWorld.h"

#include "media/VideoOverlay.h"

#include "engine/DrawCalls.h"
#include "graphics/Camera.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "settings/DebugFeature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using NorvTest::SceneObject;
using NorvTest::WriteDefinition;
using nlohmann::json;

namespace
{
	constexpr const char* BOX_MODEL = "models/box.fbx";

	json Property(const char* aName, const char* aType, const json& aValue)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue } };
	}

	json ModelProperty(const char* aPath = BOX_MODEL)
	{
		return Property("model", "Model", { { "path", aPath } });
	}

	// A scene object with a transform of its own.
	json Placed(json anObject, std::array<float, 3> aRotation, std::array<float, 3> aScale)
	{
		anObject["rotation"] = aRotation;
		anObject["scale"] = aScale;
		return anObject;
	}

	class PlayStateModels : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(myWorld.IsStarted());
			NorvTools::FbxSceneWriter someWriter;
			someWriter.AddMesh(someWriter.AddNode("Box", "Mesh"), NorvTest::CubeMesh(50.0));
			NorvTest::WriteScene(Folder(), std::string("data/") + BOX_MODEL, someWriter);
			for (const auto& [somePath, someBytes] : NorvTest::DefaultModelTextures())
				Folder().Write("data/" + somePath, someBytes);
			WriteDefinition(Folder(), "Prop", json::array({ Property("prop", "Int", 1), ModelProperty(), Property("useFrustumCulling", "Bool", true) }));
			WriteDefinition(Folder(), "Crystal", json::array({ Property("entityId", "StringId", "DashPickup"), ModelProperty(), Property("rotation", "Float3", json::array({ 0, 0, 0 })) }));
			WriteDefinition(Folder(), "System", json::array({ Property("system", "Int", 1), Property("fogColor", "Color", json::array({ 0.2, 0.4, 0.6, 0.8 })) }));
		}

		const NorvTest::ExecutableFolder& Folder() const { return myWorld.Folder(); }

		void Load(const json& anObjects)
		{
			NorvTest::WriteScene(Folder(), "scenes/Models.nvs", anObjects);
			myWorld.Load("scenes/Models.nvs");
		}

		// The camera where the tests look from: the controller has no player to move it.
		void LookFrom(float anX, float aY)
		{
			myWorld.myState.GetWorldCamera()->myTransform.SetTranslation({ anX, aY, -1600.0f });
		}

		// One Render on a black frame, read back.
		void RenderFrame()
		{
			Norv::DX11* someDevice = myWorld.myEngine.Get().GetDX11();
			someDevice->Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
			myWorld.myState.Render(myWorld.myInput);
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
			Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf());
			myFrame = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
			myFrameSize = someDevice->GetBackBufferSize();
		}

		// The read-back pixel (B, G, R) where a world point appears, seen with the play
		// state's 43-degree horizontal field of view from z = -1600.
		std::array<int, 3> PixelAt(float anX, float aY, float aZ) const
		{
			const float someDistance = aZ + 1600.0f;
			const float someHalfWidth = std::tan(GameState::FIELD_OF_VIEW_DEGREES * 0.5f * 0.017453292f) * someDistance;
			const float someHalfHeight = someHalfWidth * static_cast<float>(myFrameSize.y) / static_cast<float>(myFrameSize.x);
			const unsigned somePixelX = static_cast<unsigned>((0.5f + 0.5f * anX / someHalfWidth) * static_cast<float>(myFrameSize.x));
			const unsigned somePixelY = static_cast<unsigned>((0.5f - 0.5f * aY / someHalfHeight) * static_cast<float>(myFrameSize.y));
			const std::size_t someIndex = (static_cast<std::size_t>(somePixelY) * myFrameSize.x + somePixelX) * 4;
			return { myFrame[someIndex], myFrame[someIndex + 1], myFrame[someIndex + 2] };
		}

		int Brightness(float anX, float aY, float aZ) const
		{
			const std::array<int, 3> somePixel = PixelAt(anX, aY, aZ);
			return somePixel[0] + somePixel[1] + somePixel[2];
		}

		// Draw calls of one Render.
		std::uint32_t CountRenderDraws()
		{
			const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
			myWorld.myState.Render(myWorld.myInput);
			return Norv::DrawCalls::GetCurrentFrameCount() - someBefore;
		}

		NorvTest::SteppedWorld myWorld;
		std::vector<std::uint8_t> myFrame;
		Norv::Vector2<unsigned int> myFrameSize;
	};
}

TEST_F(PlayStateModels, PropsAreFoggedByDepthAndSplitFarToNear)
{
	Load(json::array({ SceneObject("sky", "System", { 0, 0, 0 }), SceneObject("near", "Prop", { 0, 0, 5000 }), SceneObject("far", "Prop", { 0, 0, 20000 }),
		SceneObject("front", "Prop", { 0, 0, -10 }) }));
	ASSERT_EQ(myWorld.myState.GetPropInstances().size(), 3u);
	ASSERT_NE(myWorld.myState.GetPropInstances()[0].GetModel(), nullptr);
	EXPECT_FLOAT_EQ(myWorld.myState.GetPropInstances()[0].GetColor().w, 0.8f * 0.5f);
	EXPECT_FLOAT_EQ(myWorld.myState.GetPropInstances()[1].GetColor().w, 0.8f);
	EXPECT_FLOAT_EQ(myWorld.myState.GetPropInstances()[2].GetColor().w, 0.0f);
	EXPECT_FLOAT_EQ(myWorld.myState.GetPropInstances()[1].GetColor().x, 0.2f);

	const std::vector<Norv::ModelInstance>& someBack = myWorld.myState.GetBackgroundInstances();
	ASSERT_EQ(someBack.size(), 2u);
	EXPECT_FLOAT_EQ(someBack[0].GetTransform().GetTranslation().z, 20000.0f);
	EXPECT_FLOAT_EQ(someBack[1].GetTransform().GetTranslation().z, 5000.0f);
	ASSERT_EQ(myWorld.myState.GetForegroundInstances().size(), 1u);
}

TEST_F(PlayStateModels, ACulledPropJustOutsideTheViewRectangleIsSkipped)
{
	// Scale 2: reach 2 x 100 + 100 = 300, so the bound is 2000 + 300 x 1.41 + 50 = 2473.
	Load(json::array({ Placed(SceneObject("out", "Prop", { 2500, 0, 100 }), { 0, 0, 0 }, { 2, 2, 2 }), Placed(SceneObject("in", "Prop", { -2400, 0, 100 }), { 0, 0, 0 }, { 2, 2, 2 }),
		Placed(SceneObject("unculled", "Prop", { 9000, 0, 100 }, json::array({ Property("useFrustumCulling", "Bool", false) })), { 0, 0, 0 }, { 2, 2, 2 }) }));
	// The drawer leaves out what lies beside the camera's view as well: opened to
	// 170 degrees, the view holds every prop here and the rectangle alone decides.
	myWorld.myState.GetWorldCamera()->SetPerspectiveProjection(170.0f, { 16.0f, 9.0f }, GameState::NEAR_PLANE, GameState::FAR_PLANE);
	LookFrom(0.0f, 0.0f);
	EXPECT_EQ(CountRenderDraws(), 2u);
	LookFrom(100.0f, 0.0f); // now the first is 2400 away and the second 2500
	EXPECT_EQ(CountRenderDraws(), 2u);
	LookFrom(5000.0f, 0.0f);
	EXPECT_EQ(CountRenderDraws(), 1u);
}

TEST_F(PlayStateModels, StaticEntitiesTakeTheRotationOfTheirLastModelUnlessRotationComesLast)
{
	Load(json::array({ Placed(SceneObject("turned", "Crystal", { 0, 0, 0 }), { 0, 30, 0 }, { 1, 1, 1 }),
		Placed(SceneObject("keyed", "Crystal", { 500, 0, 0 }, json::array({ Property("rotation", "Float3", json::array({ 10, 0, 0 })) })), { 0, 30, 0 }, { 1, 1, 1 }) }));
	ASSERT_EQ(myWorld.myState.GetEntities().size(), 2u);
	const Entity& someTurned = *myWorld.myState.GetEntities()[0];
	ASSERT_EQ(someTurned.myModels.size(), 1u);
	// Its list ends with "rotation" of the definition, which then wins.
	EXPECT_NEAR(someTurned.myRotation.y, 0.0f, 1e-3f);
	const Entity& someKeyed = *myWorld.myState.GetEntities()[1];
	EXPECT_NEAR(someKeyed.myRotation.x, 10.0f, 1e-3f);

	EXPECT_NEAR(GameState::GetEulerDegrees(Norv::Matrix4x4::CreateScale({ 2, 3, 4 }) * Norv::Matrix4x4::CreateRotationAroundY(30.0f)).y, 30.0f, 1e-3f);
	const Norv::Vector3<float> someBoth = GameState::GetEulerDegrees(Norv::Matrix4x4::CreateRotationAroundX(20.0f) * Norv::Matrix4x4::CreateRotationAroundZ(-40.0f));
	EXPECT_NEAR(someBoth.x, 20.0f, 1e-3f);
	EXPECT_NEAR(someBoth.z, -40.0f, 1e-3f);
}

TEST_F(PlayStateModels, BackgroundPropsEntitiesAndForegroundPropsReachTheScreen)
{
	Load(json::array({ SceneObject("back", "Prop", { -300, 0, 100 }), SceneObject("crystal", "Crystal", { 300, 0, 0 }), SceneObject("front", "Prop", { 0, 200, -10 }) }));
	LookFrom(0.0f, 0.0f);
	myWorld.Step(1);
	LookFrom(0.0f, 0.0f);
	ASSERT_EQ(myWorld.myState.GetEntities()[0]->myModels.size(), 1u);
	EXPECT_FLOAT_EQ(myWorld.myState.GetEntities()[0]->myModels[0].GetTransform().GetTranslation().x, 300.0f);

	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	const std::size_t someDepth = someStates->GetStackSize();
	RenderFrame();
	EXPECT_EQ(someStates->GetStackSize(), someDepth);
	EXPECT_GT(Brightness(-300.0f, 0.0f, 100.0f), 0);
	EXPECT_GT(Brightness(300.0f, 0.0f, 0.0f), 0);
	EXPECT_GT(Brightness(0.0f, 200.0f, -10.0f), 0);
	EXPECT_EQ(Brightness(0.0f, -200.0f, 0.0f), 0);
}

// A board behind the scene's hints is drawn only where they are: in the first
// level always, in the tutorial once the cutscene overlay is active, in a scene
// without hints never. Where it is drawn it is a background prop like any other,
// in its place among them.
TEST_F(PlayStateModels, ABoardDrawnWithTheHintsShowsOnlyWhereTheyAre)
{
	WriteDefinition(Folder(), "Board", json::array({ Property("prop", "Int", 1), ModelProperty(), Property("useFrustumCulling", "Bool", true), Property("drawnWithHints", "Bool", true) }));
	// The frame of aScene with the board (or what stands in its place) partly behind a nearer prop.
	const auto Draw = [&](const char* aScene, const char* aBoard) {
		json someObjects = json::array({ SceneObject("near", "Prop", { 80, 0, 100 }) });
		if (aBoard)
			someObjects.push_back(SceneObject("board", aBoard, { 0, 0, 130 }));
		NorvTest::WriteScene(Folder(), aScene, someObjects);
		myWorld.Load(aScene);
		LookFrom(0.0f, 0.0f);
		RenderFrame();
		return myFrame;
	};
	const auto ExpectShown = [&](const char* aScene) { EXPECT_TRUE(Draw(aScene, "Board") == Draw(aScene, "Prop")) << aScene << ": not drawn as a prop in its place"; };
	const auto ExpectHidden = [&](const char* aScene) { EXPECT_TRUE(Draw(aScene, "Board") == Draw(aScene, nullptr)) << aScene << ": drawn without the hints"; };
	ASSERT_TRUE(Draw(GameState::LEVEL_1_SCENE, "Prop") != Draw(GameState::LEVEL_1_SCENE, nullptr)) << "the board's place is out of view";

	ExpectShown(GameState::LEVEL_1_SCENE);
	ExpectHidden(GameState::HUB_SCENE);
	ASSERT_FALSE(VideoOverlay::GetInstance().IsActive()) << "loaded by an earlier test of this process";
	ExpectHidden(GameState::TUTORIAL_SCENE);
	// Active from its first load on, even when the video cannot be opened.
	testing::internal::CaptureStderr();
	VideoOverlay::GetInstance().Load((Folder().Path() / "missing.mp4").string().c_str(), false);
	testing::internal::GetCapturedStderr();
	ExpectShown(GameState::TUTORIAL_SCENE);
}

TEST(PlayStateDebugDrawing, TheCollisionFeatureOutlinesTheTilesInViewAndEveryChunk)
{
	NorvTest::SteppedWorld someWorld(NorvTest::InputSource::Scripted, Norv::ToMask(Norv::DebugFeature::Collision));
	ASSERT_TRUE(someWorld.IsStarted());
	WriteDefinition(someWorld.Folder(), "Tile", json::array({ Property("tileId", "Int", 1) }));
	NorvTest::WriteScene(someWorld.Folder(), "scenes/Grid.nvs", json::array({ SceneObject("near", "Tile", { 0, 0, 0 }), SceneObject("far", "Tile", { 100000, 0, 0 }) }));
	someWorld.Load("scenes/Grid.nvs");
	someWorld.myState.GetWorldCamera()->myTransform.SetTranslation({ 0.0f, 0.0f, -1600.0f });

	// The far tile is out of view: only its chunk is outlined.
	const std::vector<DebugLine> someLines = someWorld.myState.GetTileGrid().GetDebugLines();
	EXPECT_EQ(std::count_if(someLines.begin(), someLines.end(), [](const DebugLine& aLine) { return aLine.color.x == 1.0f; }), 4);
	EXPECT_EQ(someLines.size(), 4u + 2u * 4u);

	const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
	someWorld.myState.Render(someWorld.myInput);
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount() - someBefore, 1u) << "one batch of outlines, nothing else in the level draws";
}

TEST_F(PlayStateModels, WithoutTheCollisionFeatureNoOutlinesAreDrawn)
{
	WriteDefinition(Folder(), "Tile", json::array({ Property("tileId", "Int", 1) }));
	Load(json::array({ SceneObject("tile", "Tile", { 0, 0, 0 }) }));
	LookFrom(0.0f, 0.0f);
	EXPECT_EQ(CountRenderDraws(), 0u);
}

// Background props look as if painted far to near (opaque ones are drawn near to
// far with depth writes, the translucent ones blended after), and none hides an entity.
TEST_F(PlayStateModels, BackgroundPropsBlendFarToNearAndNeverHideEntities)
{
	Folder().Write("data/textures/green.dds", NorvTest::SolidDds({ 0, 255, 0, 255 }));
	Folder().Write("data/textures/glass.dds", NorvTest::SolidDds({ 255, 0, 0, 128 }));
	const auto Textured = [](const char* aTexture) {
		return json::array({ Property("prop", "Int", 1), Property("model", "Model", { { "path", BOX_MODEL }, { "textures", json::array({ aTexture }) } }) });
	};
	WriteDefinition(Folder(), "Green", Textured("textures/green.dds"));
	WriteDefinition(Folder(), "Glass", Textured("textures/glass.dds"));
	// Left: glass in front of green; right: green in front of glass; middle: an
	// entity behind a background prop's front face. Drawn again without the glass
	// and the covering prop.
	const json someGreens = json::array({ Placed(SceneObject("far green", "Green", { -400, 0, 300 }), { 0, 0, 0 }, { 2, 2, 2 }),
		Placed(SceneObject("near green", "Green", { 400, 0, 100 }), { 0, 0, 0 }, { 2, 2, 2 }), SceneObject("crystal", "Crystal", { 0, 300, 0 }) });
	json someAll = someGreens;
	someAll.push_back(Placed(SceneObject("near glass", "Glass", { -400, 0, 100 }), { 0, 0, 0 }, { 2, 2, 2 }));
	someAll.push_back(Placed(SceneObject("far glass", "Glass", { 400, 0, 300 }), { 0, 0, 0 }, { 2, 2, 2 }));
	someAll.push_back(Placed(SceneObject("covering green", "Green", { 0, 300, 0 }), { 0, 0, 0 }, { 3, 3, 3 }));
	const auto Draw = [&](const json& anObjects) {
		Load(anObjects);
		LookFrom(0.0f, 0.0f);
		myWorld.Step(1);
		LookFrom(0.0f, 0.0f);
		RenderFrame();
		return std::array<std::array<int, 3>, 3>{ PixelAt(-400.0f, 0.0f, 0.0f), PixelAt(400.0f, 0.0f, 0.0f), PixelAt(0.0f, 300.0f, 0.0f) };
	};
	const auto someWith = Draw(someAll);
	const auto someWithout = Draw(someGreens);
	EXPECT_NE(someWith[0], someWithout[0]) << "the near glass not blended over the green";
	EXPECT_EQ(someWith[1], someWithout[1]) << "the far glass showing through the near green";
	EXPECT_EQ(someWith[2], someWithout[2]) << "the crystal hidden by a background prop";
	EXPECT_GT(someWith[2][0] + someWith[2][1] + someWith[2][2], 0);
}
