// The texture cache on a headless device: keys and modes, placeholders, the
// loader order, and reloads of files changed on disk.
#include "Support/DdsFile.h"
#include "Support/ExecutableFolder.h"
#include "Support/ReadBack.h"
#include "Support/ImageEncoding.h"
#include "Support/TargaFile.h"
#include "filewatcher/FileWatcher.h"
#include "graphics/DX11.h"
#include "graphics/TextureManager.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using Norv::Texture;

namespace
{
	constexpr std::chrono::seconds GIVE_UP{ 5 };

	std::size_t Lines(const std::string& aText)
	{
		return static_cast<std::size_t>(std::count(aText.begin(), aText.end(), '\n'));
	}

	class TextureManagerTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			myFolder.WriteSettings(R"({"window_settings": {"title": "T"}})");
			ASSERT_TRUE(Norv::LoadSettings("Game.json"));
			ASSERT_TRUE(myDX11.Init(nullptr)) << "no headless OpenGL 4.5 device";
			myManager.Init();
		}

		// Writes aBytes as data/<aName> beside the executable, where asset names resolve.
		fs::path WriteAsset(const std::string& aName, const std::string& aBytes)
		{
			return myFolder.Write(fs::path("data") / aName, aBytes);
		}

		std::vector<std::uint8_t> ReadBack(const Texture& aTexture)
		{
			Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
			aTexture.myView->GetResource(someResource.GetAddressOf());
			return NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, static_cast<ID3D11Texture2D*>(someResource.Get()));
		}

		DXGI_FORMAT ViewFormat(const Texture& aTexture)
		{
			D3D11_SHADER_RESOURCE_VIEW_DESC someDesc{};
			aTexture.myView->GetDesc(&someDesc);
			return someDesc.Format;
		}

		NorvTest::ExecutableFolder myFolder;
		Norv::DX11 myDX11;
		Norv::FileWatcher myWatcher{ true };
		Norv::TextureManager myManager{ &myWatcher };
	};
}

TEST_F(TextureManagerTest, BuiltInTextures)
{
	ASSERT_NE(myManager.GetPlaceholderView(), nullptr);
	Texture someProbe;
	someProbe.myView = myManager.GetPlaceholderView();
	EXPECT_EQ(Texture::CalculateTextureSize(someProbe.myView.Get()), (Norv::Vector2<unsigned>(16, 16)));
	const std::vector<std::uint8_t> someChecker = ReadBack(someProbe);
	EXPECT_EQ(std::vector<std::uint8_t>(someChecker.begin(), someChecker.begin() + 8), (std::vector<std::uint8_t>{ 0, 0, 0, 255, 255, 0, 255, 255 }));
	EXPECT_EQ(std::vector<std::uint8_t>(someChecker.begin() + 16 * 4, someChecker.begin() + 16 * 4 + 4), (std::vector<std::uint8_t>{ 255, 0, 255, 255 })) << "x 0, y 1";

	const Texture* someWhite = myManager.GetWhiteSquareTexture();
	EXPECT_EQ(someWhite->myName, "WhiteSquare");
	EXPECT_EQ(someWhite->mySize, (Norv::Vector2<unsigned>(512, 512)));
	EXPECT_EQ(someWhite->myNormalizedSize, (Norv::Vector2<float>(0.3f, 0.3f)));
	EXPECT_EQ(ReadBack(*someWhite), NorvTest::SolidPixels(4, 4, { 255, 255, 255, 255 }));

	someProbe.myView = myManager.GetFlatNormalView();
	EXPECT_EQ(ReadBack(someProbe), NorvTest::SolidPixels(4, 4, { 128, 128, 255, 255 }));
	EXPECT_EQ(Texture::CalculateTextureSize(nullptr), (Norv::Vector2<unsigned>(0, 0)));
}

TEST_F(TextureManagerTest, EachModeIsItsOwnRecord)
{
	const fs::path someFile = WriteAsset("a.png", NorvTest::EncodePng(36, 18, NorvTest::SolidPixels(36, 18, { 10, 20, 30, 255 })));
	Texture* somePlain = myManager.GetTexture("a.png", Norv::TEXTURE_MODE_PLAIN);
	Texture* someSrgb = myManager.GetTexture("a.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	Texture* someLinear = myManager.GetTexture("a.png", Norv::TEXTURE_MODE_IGNORE_SRGB);
	EXPECT_NE(somePlain, someSrgb);
	EXPECT_NE(someSrgb, someLinear);
	EXPECT_EQ(myManager.GetTexture("a.png", Norv::TEXTURE_MODE_FORCE_SRGB), someSrgb);
	EXPECT_EQ(myManager.TryGetTexture("a.png", Norv::TEXTURE_MODE_PLAIN), somePlain);

	EXPECT_EQ(ViewFormat(*somePlain), DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(ViewFormat(*someSrgb), DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(someSrgb->myName, someFile.string());
	EXPECT_EQ(someSrgb->myPath, "a.png");
	EXPECT_EQ(someSrgb->mySrgbMode, 1u);
	EXPECT_FALSE(someSrgb->myIsFailed);
	EXPECT_EQ(someSrgb->mySize, (Norv::Vector2<unsigned>(36, 18)));
	EXPECT_FLOAT_EQ(someSrgb->myNormalizedSize.x, 36.0f / 720.0f) << "divided by the render height";
	EXPECT_FLOAT_EQ(someSrgb->myNormalizedSize.y, 18.0f / 720.0f);
}

TEST_F(TextureManagerTest, MissingFileGivesOneCachedPlaceholder)
{
	testing::internal::CaptureStderr();
	Texture* someMissing = myManager.GetTexture("missing.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	EXPECT_EQ(myManager.GetTexture("missing.png", Norv::TEXTURE_MODE_FORCE_SRGB), someMissing);
	const std::string someOutput = testing::internal::GetCapturedStderr();
	EXPECT_EQ(someOutput, "Texture \"missing.png\" not found\n");

	EXPECT_TRUE(someMissing->myIsFailed);
	EXPECT_EQ(someMissing->myName, "missing.png");
	EXPECT_EQ(someMissing->mySize, (Norv::Vector2<unsigned>(512, 512)));
	EXPECT_EQ(someMissing->myView.Get(), myManager.GetPlaceholderView());
	EXPECT_EQ(myManager.TryGetTexture("missing.png", Norv::TEXTURE_MODE_FORCE_SRGB), someMissing) << "the placeholder is cached";
	EXPECT_EQ(myManager.TryGetTexture("other-missing.png", Norv::TEXTURE_MODE_PLAIN), nullptr);
	EXPECT_TRUE(myManager.GetTexture(nullptr, Norv::TEXTURE_MODE_PLAIN)->myIsFailed);
}

TEST_F(TextureManagerTest, BrokenFilesGivePlaceholdersAndOneLineEach)
{
	const std::string somePng = NorvTest::EncodePng(4, 4, NorvTest::SolidPixels(4, 4, { 1, 2, 3, 255 }));
	const std::string someDds = NorvTest::MakeFourCCDds({ 8, 8, 1 }, "DXT1", std::string(32, '\x55'));
	const std::string someTga = NorvTest::MakeTarga(2, 2, std::string(16, '\x22'));
	const std::pair<std::string, std::string> someFiles[] = {
		{ "half.png", somePng.substr(0, somePng.size() / 2) },
		{ "half.dds", someDds.substr(0, someDds.size() - 4) },
		{ "half.tga", someTga.substr(0, someTga.size() - 4) },
		{ "rgb.tga", NorvTest::MakeTarga(2, 2, std::string(12, '\x22'), 24) },
		{ "garbage.png", std::string(100, '\x13') },
		{ "empty.dds", "" },
	};
	for (const auto& [someName, someBytes] : someFiles)
	{
		WriteAsset(someName, someBytes);
		testing::internal::CaptureStderr();
		const Texture* someTexture = myManager.GetTexture(someName.c_str(), Norv::TEXTURE_MODE_FORCE_SRGB);
		const std::string someOutput = testing::internal::GetCapturedStderr();
		EXPECT_TRUE(someTexture->myIsFailed) << someName;
		EXPECT_EQ(Lines(someOutput), 1u) << someName << ": " << someOutput;
		EXPECT_NE(someOutput.find(someName), std::string::npos) << someOutput;
	}
}

TEST_F(TextureManagerTest, TargaIsTheLastResortForLowerCaseTga)
{
	// Stored bottom row first: bottom red, green; top blue, white.
	const std::string someTga = NorvTest::MakeTarga(2, 2, NorvTest::Bgra(0, 0, 255, 255) + NorvTest::Bgra(0, 255, 0, 255) + NorvTest::Bgra(255, 0, 0, 255) + NorvTest::Bgra(255, 255, 255, 255));
	WriteAsset("sprite.tga", someTga);
	const Texture* someTexture = myManager.GetTexture("sprite.tga", Norv::TEXTURE_MODE_PLAIN);
	ASSERT_FALSE(someTexture->myIsFailed);
	EXPECT_EQ(ViewFormat(*someTexture), DXGI_FORMAT_R8G8B8A8_UNORM_SRGB) << "Targa is always sRGB";
	EXPECT_EQ(ReadBack(*someTexture), (std::vector<std::uint8_t>{ 0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255 }));

	WriteAsset("LOUD.TGA", someTga);
	testing::internal::CaptureStderr();
	EXPECT_TRUE(myManager.GetTexture("LOUD.TGA", Norv::TEXTURE_MODE_PLAIN)->myIsFailed);
	EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1u);
}

TEST_F(TextureManagerTest, DdsAndImagesAreTriedBeforeTarga)
{
	// A PNG and a DDS wearing the Targa extension load through their own loaders.
	WriteAsset("png.tga", NorvTest::EncodePng(3, 1, NorvTest::SolidPixels(3, 1, { 9, 9, 9, 255 })));
	WriteAsset("dds.tga", NorvTest::MakeMaskDds({ 1, 1, 1 }, 32, NorvTest::RGBA_MASKS, "\x01\x02\x03\x04"));
	EXPECT_EQ(myManager.GetTexture("png.tga", Norv::TEXTURE_MODE_PLAIN)->mySize, (Norv::Vector2<unsigned>(3, 1)));
	const Texture* someDds = myManager.GetTexture("dds.tga", Norv::TEXTURE_MODE_PLAIN);
	EXPECT_EQ(ViewFormat(*someDds), DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(ReadBack(*someDds), (std::vector<std::uint8_t>{ 1, 2, 3, 4 }));
}

TEST_F(TextureManagerTest, ImagesAreDecodedOnTheMainThreadOnly)
{
	WriteAsset("a.png", NorvTest::EncodePng(2, 2, NorvTest::SolidPixels(2, 2, { 1, 2, 3, 255 })));
	Texture* someOffThread = reinterpret_cast<Texture*>(1);
	testing::internal::CaptureStderr();
	std::thread([&] { someOffThread = myManager.TryGetTexture("a.png", Norv::TEXTURE_MODE_PLAIN); }).join();
	EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1u);
	EXPECT_EQ(someOffThread, nullptr);
	EXPECT_NE(myManager.TryGetTexture("a.png", Norv::TEXTURE_MODE_PLAIN), nullptr);
}

TEST_F(TextureManagerTest, PicturesThatCannotBeDecodedOrAreNoImagesAreTexturesAsBefore)
{
	// The header reads, the pixels do not: found out when first drawn, said once.
	const std::string somePng = NorvTest::EncodePng(40, 20, NorvTest::PatternPixels(40, 20));
	WriteAsset("cut.png", somePng.substr(0, somePng.size() / 2));
	testing::internal::CaptureStderr();
	Texture* someCut = myManager.GetPicture("cut.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
	EXPECT_EQ(someCut->mySize, (Norv::Vector2<unsigned>(40, 20)));
	testing::internal::CaptureStderr();
	myManager.FitPicture(*someCut, { 20.0f, 10.0f });
	myManager.FitPicture(*someCut, { 40.0f, 20.0f });
	const std::string someError = testing::internal::GetCapturedStderr();
	EXPECT_EQ(Lines(someError), 1u) << someError;
	EXPECT_NE(someError.find("cut.png"), std::string::npos) << someError;
	EXPECT_TRUE(someCut->myIsFailed);
	EXPECT_EQ(someCut->myView.Get(), myManager.GetPlaceholderView());
	EXPECT_EQ(someCut->mySize, (Norv::Vector2<unsigned>(40, 20))) << "laid out as it was";

	// A header that lies is refused at once, as GetTexture refuses it.
	std::string someHuge = somePng;
	someHuge[16] = '\x7f';
	WriteAsset("huge.png", someHuge);
	testing::internal::CaptureStderr();
	Texture* someRefused = myManager.GetPicture("huge.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1u);
	EXPECT_TRUE(someRefused->myIsFailed);
	EXPECT_FALSE(someRefused->myIsPicture);

	// A DDS file and a missing file take GetTexture's way.
	WriteAsset("a.dds", NorvTest::MakeMaskDds({ 2, 2, 1 }, 32, NorvTest::BGRA_MASKS, std::string(16, '\x40')));
	Texture* someDds = myManager.GetPicture("a.dds", Norv::TEXTURE_MODE_PLAIN);
	EXPECT_FALSE(someDds->myIsPicture);
	EXPECT_FALSE(someDds->myIsFailed);
	EXPECT_EQ(Texture::CalculateTextureSize(someDds->myView.Get()), (Norv::Vector2<unsigned>(2, 2)));
	testing::internal::CaptureStderr();
	Texture* someMissing = myManager.GetPicture("missing.png", Norv::TEXTURE_MODE_PLAIN);
	testing::internal::GetCapturedStderr();
	EXPECT_TRUE(someMissing->myIsFailed);
	EXPECT_EQ(someMissing->mySize, (Norv::Vector2<unsigned>(512, 512)));
}

class TextureHotReload : public TextureManagerTest
{
protected:
	// Rewrites an asset and moves its time on, so the watcher sees a change.
	void Rewrite(const std::string& aName, const std::string& aBytes)
	{
		const fs::path someFile = WriteAsset(aName, aBytes);
		fs::last_write_time(someFile, fs::last_write_time(someFile) + std::chrono::seconds(++mySaves));
	}

	// Flushes the watcher each frame until aDone holds.
	template <typename Done>
	bool FlushUntil(Done&& aDone)
	{
		const auto someEnd = std::chrono::steady_clock::now() + GIVE_UP;
		while (!aDone() && std::chrono::steady_clock::now() < someEnd)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
			myWatcher.FlushChanges();
		}
		return aDone();
	}

	int mySaves = 0;
};

TEST_F(TextureHotReload, ChangedFileReloadsIntoTheSameRecord)
{
	WriteAsset("a.png", NorvTest::EncodePng(2, 2, NorvTest::SolidPixels(2, 2, { 255, 0, 0, 255 })));
	Texture* someTexture = myManager.GetTexture("a.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	ASSERT_EQ(someTexture->mySize, (Norv::Vector2<unsigned>(2, 2)));

	Rewrite("a.png", NorvTest::EncodePng(4, 2, NorvTest::SolidPixels(4, 2, { 0, 0, 255, 255 })));
	ASSERT_TRUE(FlushUntil([&] { return someTexture->mySize.x == 4; }));
	EXPECT_EQ(myManager.GetTexture("a.png", Norv::TEXTURE_MODE_FORCE_SRGB), someTexture);
	EXPECT_EQ(ReadBack(*someTexture), NorvTest::SolidPixels(4, 2, { 0, 0, 255, 255 }));
	EXPECT_EQ(ViewFormat(*someTexture), DXGI_FORMAT_R8G8B8A8_UNORM_SRGB) << "the mode is kept";
}

TEST_F(TextureHotReload, HalfWrittenFileKeepsTheOldImageUntilMended)
{
	const std::string somePng = NorvTest::EncodePng(2, 2, NorvTest::SolidPixels(2, 2, { 0, 255, 0, 255 }));
	WriteAsset("a.png", somePng);
	Texture* someTexture = myManager.GetTexture("a.png", Norv::TEXTURE_MODE_PLAIN);
	const ID3D11ShaderResourceView* someOldView = someTexture->myView.Get();

	testing::internal::CaptureStderr();
	Rewrite("a.png", somePng.substr(0, 30));
	std::string someOutput;
	ASSERT_TRUE(FlushUntil([&] {
		someOutput += testing::internal::GetCapturedStderr();
		testing::internal::CaptureStderr();
		return !someOutput.empty();
	}));
	testing::internal::GetCapturedStderr();
	EXPECT_EQ(Lines(someOutput), 1u) << someOutput;
	EXPECT_FALSE(someTexture->myIsFailed);
	EXPECT_EQ(someTexture->myView.Get(), someOldView);
	EXPECT_EQ(ReadBack(*someTexture), NorvTest::SolidPixels(2, 2, { 0, 255, 0, 255 }));

	Rewrite("a.png", NorvTest::EncodePng(1, 1, { 7, 7, 7, 255 }));
	ASSERT_TRUE(FlushUntil([&] { return someTexture->mySize.x == 1; }));
	EXPECT_EQ(ReadBack(*someTexture), (std::vector<std::uint8_t>{ 7, 7, 7, 255 }));
}

TEST_F(TextureHotReload, BrokenFileMendedOnDiskFillsItsPlaceholder)
{
	WriteAsset("b.png", "not yet an image");
	testing::internal::CaptureStderr();
	Texture* somePlaceholder = myManager.GetTexture("b.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	testing::internal::GetCapturedStderr();
	ASSERT_TRUE(somePlaceholder->myIsFailed);

	Rewrite("b.png", NorvTest::EncodePng(3, 3, NorvTest::SolidPixels(3, 3, { 5, 6, 7, 255 })));
	ASSERT_TRUE(FlushUntil([&] { return !somePlaceholder->myIsFailed; }));
	EXPECT_EQ(myManager.GetTexture("b.png", Norv::TEXTURE_MODE_FORCE_SRGB), somePlaceholder);
	EXPECT_EQ(somePlaceholder->mySize, (Norv::Vector2<unsigned>(3, 3)));
	EXPECT_EQ(somePlaceholder->mySrgbMode, 1u);
	EXPECT_EQ(ViewFormat(*somePlaceholder), DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(myManager.TryGetTexture("", Norv::TEXTURE_MODE_PLAIN), nullptr) << "no stray entry under an empty path";
}

TEST_F(TextureHotReload, DeletedAndRecreatedFileReloads)
{
	WriteAsset("c.png", NorvTest::EncodePng(2, 2, NorvTest::SolidPixels(2, 2, { 1, 1, 1, 255 })));
	Texture* someTexture = myManager.GetTexture("c.png", Norv::TEXTURE_MODE_PLAIN);
	fs::remove(myFolder.Path() / "data" / "c.png");
	// The deletion is delivered and the reload fails quietly: the file is simply gone.
	std::this_thread::sleep_for(std::chrono::milliseconds(150));
	myWatcher.FlushChanges();
	EXPECT_EQ(someTexture->mySize.x, 2u);
	EXPECT_FALSE(someTexture->myIsFailed);

	Rewrite("c.png", NorvTest::EncodePng(5, 1, NorvTest::SolidPixels(5, 1, { 2, 2, 2, 255 })));
	ASSERT_TRUE(FlushUntil([&] { return someTexture->mySize.x == 5; }));
}
