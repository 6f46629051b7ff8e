// The developer fixture character drawn through the model drawer and read back
// at two frames of its own clip: the skin lands where the bones put it on the
// CPU, it is lit (shaded, neither black nor white), each material mesh has its
// own colour texture, and the skin moves between the frames.
#include "Support/Fixtures.h"
#include "Support/ImageEncoding.h"
#include "Support/ModelScene.h"
#include "Support/RunningEngine.h"
#include "model/ModelDrawer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstring>
#include <set>

namespace
{
	constexpr unsigned WIDTH = 320;
	constexpr unsigned HEIGHT = 240;
	constexpr int EDGE_TOLERANCE = 3; // pixels between the CPU box and the drawn one
	const std::filesystem::path CHARACTER = NorvTest::FixtureFile("fbx/character_skinned.fbx");
	const Norv::Vector3<float> TARGET{ 0.0f, 80.0f, 0.0f }; // the character is about 160 tall
	constexpr float DISTANCE = 320.0f;

	struct PixelBox
	{
		int myMinX = WIDTH, myMinY = HEIGHT, myMaxX = -1, myMaxY = -1;
		void Add(int aX, int aY)
		{
			myMinX = std::min(myMinX, aX), myMaxX = std::max(myMaxX, aX);
			myMinY = std::min(myMinY, aY), myMaxY = std::max(myMaxY, aY);
		}
	};

	struct Frame
	{
		std::vector<std::uint8_t> myBytes;
		std::vector<bool> myMask;
		PixelBox myBox;
		int myCount = 0;
	};

	std::string ReadFile(const std::filesystem::path& aPath)
	{
		std::ifstream someFile(aPath, std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
	}

	Frame Draw(NorvTest::ModelScene& aScene, const Norv::AnimatedModelInstance& anInstance)
	{
		aScene.BeginFrame(TARGET, DISTANCE);
		aScene.SetUp().Graphics().GetModelDrawer()->DrawAnimated(anInstance);
		Frame someFrame;
		someFrame.myBytes = aScene.SetUp().ReadBackBuffer();
		someFrame.myMask.assign(WIDTH * HEIGHT, false);
		for (unsigned y = 0; y < HEIGHT; ++y)
			for (unsigned x = 0; x < WIDTH; ++x)
			{
				const auto p = aScene.SetUp().PixelAt(someFrame.myBytes, x, y);
				if (p[0] + p[1] + p[2] == 0)
					continue;
				someFrame.myMask[y * WIDTH + x] = true;
				someFrame.myBox.Add(static_cast<int>(x), static_cast<int>(y));
				++someFrame.myCount;
			}
		return someFrame;
	}

	// Where the bones put every vertex, projected to pixels with the scene's camera.
	PixelBox SkinOnCpu(const Norv::AnimatedModelInstance& anInstance, const Norv::GraphicsStateStack& aStack)
	{
		const Norv::Camera& someCamera = aStack.GetTop().myCamera;
		const Norv::Matrix4x4 someToClip = Norv::Matrix4x4::GetInverse(someCamera.myTransform) * someCamera.myProjection;
		PixelBox someBox;
		for (const Norv::MeshData& someMesh : anInstance.GetModel()->GetMeshes())
			for (const Norv::ModelVertex& someVertex : someMesh.myVertices)
			{
				const Norv::Vector4<float> somePosition{ someVertex.myPosition.x, someVertex.myPosition.y, someVertex.myPosition.z, 1.0f };
				Norv::Vector4<float> someSkinned;
				float someWeight = 0.0f;
				for (int i = 0; i < 4; ++i)
				{
					someSkinned += (somePosition * anInstance.GetBones()[static_cast<int>(someVertex.myBones[i])]) * someVertex.myWeights[i];
					someWeight += someVertex.myWeights[i];
				}
				const Norv::Vector4<float> someClip = (someSkinned / someWeight) * someToClip;
				someBox.Add(static_cast<int>((someClip.x / someClip.w * 0.5f + 0.5f) * WIDTH), static_cast<int>((0.5f - someClip.y / someClip.w * 0.5f) * HEIGHT));
			}
		return someBox;
	}

	void ExpectBoxNear(const PixelBox& aDrawn, const PixelBox& anExpected)
	{
		EXPECT_NEAR(aDrawn.myMinX, anExpected.myMinX, EDGE_TOLERANCE);
		EXPECT_NEAR(aDrawn.myMaxX, anExpected.myMaxX, EDGE_TOLERANCE);
		EXPECT_NEAR(aDrawn.myMinY, anExpected.myMinY, EDGE_TOLERANCE);
		EXPECT_NEAR(aDrawn.myMaxY, anExpected.myMaxY, EDGE_TOLERANCE);
	}

	void SaveScreenshot(const Frame& aFrame, const char* aPath)
	{
		std::vector<std::uint8_t> someRgba(aFrame.myBytes.size());
		for (std::size_t i = 0; i + 3 < aFrame.myBytes.size(); i += 4)
		{
			someRgba[i] = aFrame.myBytes[i + 2];
			someRgba[i + 1] = aFrame.myBytes[i + 1];
			someRgba[i + 2] = aFrame.myBytes[i];
			someRgba[i + 3] = 255;
		}
		std::ofstream(aPath, std::ios::binary) << NorvTest::EncodePng(WIDTH, HEIGHT, someRgba);
	}
}

TEST(SkinnedModelDraw, FixtureCharacterIsDrawnWhereItsBonesPutItLitAndMoving)
{
	if (!std::filesystem::exists(CHARACTER))
		GTEST_SKIP() << "fixture missing: " << CHARACTER;
	// The character with a colour texture per material: orange body, blue head.
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT }, { { "hero/Hero.fbx", ReadFile(CHARACTER) },
		{ "hero/Body_C.dds", NorvTest::SolidDds({ 230, 120, 30, 255 }) }, { "hero/Head_C.dds", NorvTest::SolidDds({ 40, 90, 230, 255 }) } });
	ASSERT_TRUE(someScene.SetUp().IsGraphicsReady());
	NorvTest::FactoryScope someFactory;
	Norv::AnimatedModelInstance someInstance = someFactory->GetAnimatedModelInstance("hero/Hero.fbx");
	ASSERT_NE(someInstance.GetModel(), nullptr);
	Norv::AnimationPlayer somePlayer = someFactory->GetAnimationPlayer("hero/Hero.fbx", someInstance.GetModel());
	ASSERT_NE(somePlayer.GetAnimation(), nullptr);

	somePlayer.UpdatePose();
	someInstance.UpdatePose(somePlayer.GetPose());
	const Frame someFirst = Draw(someScene, someInstance);
	ASSERT_GT(someFirst.myCount, 500);
	ExpectBoxNear(someFirst.myBox, SkinOnCpu(someInstance, someScene.Stack()));

	somePlayer.SetTime(0.5f);
	somePlayer.UpdatePose();
	someInstance.UpdatePose(somePlayer.GetPose());
	const Frame someLater = Draw(someScene, someInstance);
	ExpectBoxNear(someLater.myBox, SkinOnCpu(someInstance, someScene.Stack()));

	int someChanged = 0;
	for (std::size_t i = 0; i < someFirst.myMask.size(); ++i)
		someChanged += someFirst.myMask[i] != someLater.myMask[i] ? 1 : 0;
	EXPECT_GT(someChanged, someFirst.myCount / 20) << "the skin did not follow the bones";

	// Lit: shades of orange and of blue, none blown out to white.
	std::set<int> someOrangeShades;
	int someBlue = 0, someWhite = 0;
	for (unsigned y = 0; y < HEIGHT; ++y)
		for (unsigned x = 0; x < WIDTH; ++x)
		{
			const auto p = someScene.SetUp().PixelAt(someLater.myBytes, x, y);
			if (p[0] > p[2] + 40)
				someOrangeShades.insert(p[0]);
			someBlue += p[2] > p[0] + 40 ? 1 : 0;
			someWhite += p[0] > 250 && p[1] > 250 && p[2] > 250 ? 1 : 0;
		}
	EXPECT_GE(someOrangeShades.size(), 8u);
	EXPECT_GT(someBlue, 20);
	EXPECT_LT(someWhite, someLater.myCount / 50);

	if (const char* someShot = std::getenv("NORV_MODEL_SCREENSHOT"))
		SaveScreenshot(someLater, someShot);
}

TEST(SkinnedModelDraw, TheRunningEngineDrawsTheCharacterAndTakesTheFactoryDownBeforeItsDevice)
{
	if (!std::filesystem::exists(CHARACTER))
		GTEST_SKIP() << "fixture missing: " << CHARACTER;
	NorvTest::RunningEngine someEngine;
	ASSERT_TRUE(someEngine.IsStarted());
	ASSERT_TRUE(someEngine.Get().BeginFrame());
	Norv::ModelFactory& someFactory = *Norv::ModelFactory::GetInstance();
	Norv::AnimatedModelInstance someInstance = someFactory.GetAnimatedModelInstance(CHARACTER.string());
	ASSERT_NE(someInstance.GetModel(), nullptr);
	Norv::AnimationPlayer somePlayer = someFactory.GetAnimationPlayer(CHARACTER.string(), someInstance.GetModel());
	somePlayer.SetState(Norv::ANIMATION_STATE_PLAYING);
	somePlayer.Update(0.25f);
	someInstance.UpdatePose(somePlayer.GetPose());

	Norv::GraphicsEngine& someGraphics = *someEngine.Get().GetGraphicsEngine();
	Norv::GraphicsStateStack& someStack = *someGraphics.GetGraphicsStateStack();
	Norv::Camera someCamera;
	const Norv::Vector2<unsigned int> someSize = someEngine.Get().GetDX11()->GetBackBufferSize();
	someCamera.SetPerspectiveProjection(60.0f, { static_cast<float>(someSize.x), static_cast<float>(someSize.y) }, 1.0f, 10000.0f);
	someCamera.SetTransform(Norv::Matrix4x4::CreateTranslation({ TARGET.x, TARGET.y, TARGET.z - DISTANCE }));
	someStack.SetCamera(someCamera);
	someStack.SetDirectionalLight(Norv::Matrix4x4::CreateRotationAroundX(30.0f), Norv::Color(1.0f, 1.0f, 1.0f, 1.0f), 1.0f);
	someGraphics.GetModelDrawer()->DrawAnimated(someInstance);

	Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
	Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf());
	const std::vector<std::uint8_t> someBytes = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
	// The character covers a part of the frame: pixels unlike the clear colour (the first pixel's).
	int someDrawn = 0;
	for (std::size_t i = 0; i + 3 < someBytes.size(); i += 4)
		someDrawn += std::memcmp(&someBytes[i], someBytes.data(), 3) != 0 ? 1 : 0;
	EXPECT_GT(someDrawn, 2000);
	EXPECT_LT(someDrawn, static_cast<int>(someSize.x * someSize.y / 4));
	someEngine.Get().EndFrame();
	// The engine's shutdown (at the end of this scope) destroys the factory first.
}
