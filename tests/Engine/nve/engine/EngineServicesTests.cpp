// The engine's frame drives its services: the back buffer is cleared to the
// clear colour, and files changed on disk reach the texture cache.
#include "Support/ImageEncoding.h"
#include "Support/ReadBack.h"
#include "Support/RunningEngine.h"

#include "graphics/DX11.h"
#include "graphics/TextureManager.h"
#include "settings/DebugFeature.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <thread>

namespace
{
	namespace fs = std::filesystem;

	Norv::EngineCreateParameters WithDebugFeatures(std::uint32_t aFeatures)
	{
		Norv::EngineCreateParameters someParameters;
		someParameters.myDebugFeatures = aFeatures;
		return someParameters;
	}

	TEST(EngineFrame, BeginFrameClearsTheBackBufferToTheClearColour)
	{
		Norv::EngineCreateParameters someParameters;
		someParameters.myClearColor = { 3.0f / 255.0f, 0.6f, 176.0f / 255.0f, 1.0f };
		NorvTest::RunningEngine someEngine(someParameters);
		ASSERT_TRUE(someEngine.IsStarted());
		ASSERT_TRUE(someEngine.Get().BeginFrame());

		Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
		ASSERT_EQ(Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
		const std::vector<std::uint8_t> somePixels = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
		ASSERT_GE(somePixels.size(), 4u);
		// BGRA bytes, stored sRGB.
		EXPECT_NEAR(somePixels[0], 176, 1);
		EXPECT_NEAR(somePixels[1], 153, 1);
		EXPECT_NEAR(somePixels[2], 3, 1);
		someEngine.Get().EndFrame();
	}

	TEST(EngineFrame, AChangedTextureFileReloadsWithTheWatcherOn)
	{
		NorvTest::RunningEngine someEngine(WithDebugFeatures(Norv::ToMask(Norv::DebugFeature::Filewatcher)));
		ASSERT_TRUE(someEngine.IsStarted());
		const fs::path someFile = someEngine.Folder().Write("data/hot.png", NorvTest::EncodePng(2, 2, NorvTest::SolidPixels(2, 2, { 255, 0, 0, 255 })));
		Norv::Texture* someTexture = someEngine.Get().GetTextureManager()->GetTexture("hot.png", Norv::TEXTURE_MODE_PLAIN);
		ASSERT_EQ(someTexture->mySize, (Norv::Vector2<unsigned>(2, 2)));

		someEngine.Folder().Write("data/hot.png", NorvTest::EncodePng(8, 4, NorvTest::SolidPixels(8, 4, { 0, 255, 0, 255 })));
		fs::last_write_time(someFile, fs::last_write_time(someFile) + std::chrono::seconds(2));
		EXPECT_TRUE(someEngine.RunFramesUntil([&] { return someTexture->mySize.x == 8; }));
		EXPECT_EQ(someEngine.Get().GetTextureManager()->GetTexture("hot.png", Norv::TEXTURE_MODE_PLAIN), someTexture);
	}

	TEST(EngineFrame, WithTheWatcherOffAChangedFileStaysAsLoaded)
	{
		NorvTest::RunningEngine someEngine(WithDebugFeatures(Norv::ToMask(Norv::DebugFeature::Fps)));
		ASSERT_TRUE(someEngine.IsStarted());
		const fs::path someFile = someEngine.Folder().Write("data/cold.png", NorvTest::EncodePng(2, 2, NorvTest::SolidPixels(2, 2, { 255, 0, 0, 255 })));
		Norv::Texture* someTexture = someEngine.Get().GetTextureManager()->GetTexture("cold.png", Norv::TEXTURE_MODE_PLAIN);
		someEngine.Folder().Write("data/cold.png", NorvTest::EncodePng(8, 4, NorvTest::SolidPixels(8, 4, { 0, 255, 0, 255 })));
		fs::last_write_time(someFile, fs::last_write_time(someFile) + std::chrono::seconds(2));
		for (int someFrame = 0; someFrame < 10; ++someFrame)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
			ASSERT_TRUE(someEngine.Get().BeginFrame());
			someEngine.Get().EndFrame();
		}
		EXPECT_EQ(someTexture->mySize, (Norv::Vector2<unsigned>(2, 2)));
	}
}
