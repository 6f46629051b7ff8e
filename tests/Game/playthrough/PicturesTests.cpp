// The renderer draws what it drew when the reference pictures were taken
// (tools/pictures.sh): every shipped scene and menu, played headless by the same
// run, frame by frame against tests/Game/playthrough/pictures/. A frame that
// differs is written beside the test's working folder for a look.
#include "Pictures.h"

#include "Support/ImageEncoding.h"
#include "Support/ReadBack.h"

#include "graphics/DX11.h"
#include "wic/ImageDecoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace
{
	namespace fs = std::filesystem;

	const fs::path REFERENCES = fs::path(NORV_SOURCE_DIR) / "tests/Game/playthrough/pictures";
	const fs::path DIFFERING = fs::current_path() / "pictures-differing";
	constexpr int TOLERATED_LEVELS = 3;      // a channel may differ by this much (rounding of blends and fog)
	constexpr double DIFFERING_SHARE = 0.005; // of the compared pixels, at most

	struct Image
	{
		unsigned myWidth = 0, myHeight = 0;
		std::vector<std::uint8_t> myRgba;
	};

	// Pixels of rows [aFrom, aTo) x height left out, the rest compared; how many
	// of them differ by more than the tolerated levels in any channel.
	struct Comparison
	{
		std::size_t myCompared = 0, myDiffering = 0;
	};

	Comparison Compare(const Image& anImage, const Image& aReference, float anIgnoredFrom, float anIgnoredTo)
	{
		Comparison someComparison;
		const auto someIgnoredFrom = static_cast<unsigned>(anIgnoredFrom * static_cast<float>(anImage.myHeight));
		const auto someIgnoredTo = static_cast<unsigned>(anIgnoredTo * static_cast<float>(anImage.myHeight));
		for (unsigned y = 0; y < anImage.myHeight; ++y)
		{
			if (y >= someIgnoredFrom && y < someIgnoredTo)
				continue;
			for (unsigned x = 0; x < anImage.myWidth; ++x)
			{
				const std::size_t i = (static_cast<std::size_t>(y) * anImage.myWidth + x) * 4;
				int someLargest = 0;
				for (int c = 0; c < 3; ++c)
					someLargest = std::max(someLargest, std::abs(anImage.myRgba[i + c] - aReference.myRgba[i + c]));
				++someComparison.myCompared;
				someComparison.myDiffering += someLargest > TOLERATED_LEVELS;
			}
		}
		return someComparison;
	}

	bool ReadReference(const fs::path& aFile, Image& anImage, std::string& anError)
	{
		std::ifstream someFile(aFile, std::ios::binary);
		if (!someFile)
		{
			anError = "missing";
			return false;
		}
		const std::vector<std::uint8_t> someBytes{ std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
		Platform::wic::WicImage someImage;
		if (!Platform::wic::impl::DecodePng(someBytes, someImage, anError))
			return false;
		anImage = { someImage.myWidth, someImage.myHeight, std::move(someImage.myPixels) };
		return true;
	}

	Image Solid(unsigned aWidth, unsigned aHeight, std::uint8_t aLevel)
	{
		return { aWidth, aHeight, std::vector<std::uint8_t>(static_cast<std::size_t>(aWidth) * aHeight * 4, aLevel) };
	}

	TEST(Pictures, DifferencesCountOnlyBeyondTheToleranceAndOutsideTheIgnoredRows)
	{
		const Image someReference = Solid(10, 10, 100);
		Image someImage = Solid(10, 10, 100);
		someImage.myRgba[0] = 100 + TOLERATED_LEVELS;       // pixel (0, 0): within the tolerance
		someImage.myRgba[4 * 1 + 2] = 100 - TOLERATED_LEVELS - 1; // pixel (1, 0): blue beyond it
		someImage.myRgba[4 * 95 + 1] = 0;                    // pixel (5, 9): green, in the last row
		EXPECT_EQ(Compare(someImage, someReference, 0.0f, 0.0f).myDiffering, 2u);
		const Comparison someBand = Compare(someImage, someReference, 0.9f, 1.0f);
		EXPECT_EQ(someBand.myCompared, 90u);
		EXPECT_EQ(someBand.myDiffering, 1u);
		// The alpha channel is not compared: a read-back frame is opaque.
		someImage = Solid(10, 10, 100);
		someImage.myRgba[3] = 0;
		EXPECT_EQ(Compare(someImage, someReference, 0.0f, 0.0f).myDiffering, 0u);
	}

	TEST(Pictures, EverySceneAndMenuLooksAsInItsReference)
	{
		Playthrough::ScriptedRun someRun(Playthrough::PictureRunOptions());
		ASSERT_TRUE(someRun.IsStarted());
		int someCompared = 0;
		const Playthrough::Outcome someOutcome = Playthrough::PlayPictures(someRun, [&](const Playthrough::Picture& aPicture) {
			const NorvTest::Frame someFrame = NorvTest::ReadBackFrame(Norv::DX11::ourDevice, Norv::DX11::ourContext, Norv::DX11::ourSwapChain);
			ASSERT_FALSE(someFrame.myRgba.empty()) << aPicture.myName;
			const fs::path someFile = REFERENCES / (aPicture.myName + ".png");
			Image someReference;
			std::string someError;
			ASSERT_TRUE(ReadReference(someFile, someReference, someError)) << someFile << ": " << someError;
			ASSERT_EQ(someReference.myWidth, someFrame.myWidth) << someFile;
			ASSERT_EQ(someReference.myHeight, someFrame.myHeight) << someFile;
			const Image someImage{ someFrame.myWidth, someFrame.myHeight, someFrame.myRgba };
			const Comparison someComparison = Compare(someImage, someReference, aPicture.myIgnoredFrom, aPicture.myIgnoredTo);
			++someCompared;
			if (static_cast<double>(someComparison.myDiffering) <= static_cast<double>(someComparison.myCompared) * DIFFERING_SHARE)
				return;
			fs::create_directories(DIFFERING);
			const fs::path someDrawn = DIFFERING / (aPicture.myName + ".png");
			std::ofstream(someDrawn, std::ios::binary) << NorvTest::EncodePng(static_cast<int>(someImage.myWidth), static_cast<int>(someImage.myHeight), someImage.myRgba);
			ADD_FAILURE() << aPicture.myName << ": " << someComparison.myDiffering << " of " << someComparison.myCompared
						  << " pixels differ by more than " << TOLERATED_LEVELS << " levels from " << someFile << "; drawn: " << someDrawn;
		});
		ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		EXPECT_EQ(someCompared, static_cast<int>(Playthrough::Pictures().size()));
	}
}
