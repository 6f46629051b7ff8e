// Takes the renderer's reference pictures: plays the fixed run of every shipped
// scene and menu headless and writes each frame as a PNG into a folder.
//
//   NorvTakePictures FOLDER
#include "Pictures.h"

#include "FileOutput.h"
#include "Support/ReadBack.h"

#include "graphics/DX11.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int aCount, char** someValues)
{
	if (aCount != 2)
	{
		std::fprintf(stderr, "usage: NorvTakePictures FOLDER\n  Writes the reference pictures of every shipped scene and menu into FOLDER.\n");
		return 2;
	}
	const std::filesystem::path someFolder = std::filesystem::absolute(someValues[1]);
	std::error_code someError;
	std::filesystem::create_directories(someFolder, someError);
	if (someError)
	{
		std::fprintf(stderr, "%s: %s\n", someFolder.string().c_str(), someError.message().c_str());
		return 1;
	}
	setenv("SDL_VIDEODRIVER", "offscreen", 0);
	setenv("SDL_AUDIODRIVER", "dummy", 0);

	Playthrough::ScriptedRun someRun(Playthrough::PictureRunOptions());
	if (!someRun.IsStarted())
	{
		std::fprintf(stderr, "The game did not start.\n");
		return 1;
	}
	bool areWritten = true;
	const Playthrough::Outcome someOutcome = Playthrough::PlayPictures(someRun, [&](const Playthrough::Picture& aPicture) {
		const std::filesystem::path someFile = someFolder / (aPicture.myName + ".png");
		const NorvTest::Frame someFrame = NorvTest::ReadBackFrame(Norv::DX11::ourDevice, Norv::DX11::ourContext, Norv::DX11::ourSwapChain);
		try
		{
			if (someFrame.myRgba.empty())
				throw std::runtime_error("the frame could not be read back");
			NorvMedia::WriteFileAtomically(someFile, NorvMedia::EncodePng(static_cast<int>(someFrame.myWidth), static_cast<int>(someFrame.myHeight), someFrame.myRgba));
			std::printf("%s\n", someFile.string().c_str());
		}
		catch (const std::exception& anError)
		{
			std::fprintf(stderr, "%s: %s\n", someFile.string().c_str(), anError.what());
			areWritten = false;
		}
	});
	if (!someOutcome.myIsFinished)
	{
		std::fprintf(stderr, "STALLED %s\n", someOutcome.myReport.c_str());
		return 1;
	}
	return areWritten ? 0 : 1;
}
