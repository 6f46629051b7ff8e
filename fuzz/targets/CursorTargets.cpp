// The icon and cursor loaders: the icon directory, the ".ani" container's
// first frame, and the image decoder each is handed to.
#include "FuzzTargets.h"
#include "Scratch.h"

#include "win32/IconFiles.h"

#include <SDL_image.h>

namespace NorvFuzz
{
	namespace
	{
		constexpr int MAX_ICON_SIZE = 256; // pixels, either way

		// Decodes the image of an icon or cursor file; false when a decoded image is not the size its directory allows.
		bool DecodeIconFile(Input aFile)
		{
			const std::optional<Platform::impl::IconDirectoryEntry> someEntry = Platform::impl::ReadIconDirectory(aFile);
			if (!someEntry)
				return true;
			if (someEntry->myWidth <= 0 || someEntry->myWidth > MAX_ICON_SIZE || someEntry->myHeight <= 0 || someEntry->myHeight > MAX_ICON_SIZE)
				return Inconsistent("a directory entry of no size or past 256 pixels");
			SDL_RWops* someStream = SDL_RWFromConstMem(aFile.data(), static_cast<int>(aFile.size()));
			SDL_Surface* someImage = someEntry->myIsCursor ? IMG_LoadCUR_RW(someStream) : IMG_LoadICO_RW(someStream);
			SDL_RWclose(someStream);
			const bool someIsWhole = !someImage || (someImage->w > 0 && someImage->w <= MAX_ICON_SIZE && someImage->h > 0 && someImage->h <= MAX_ICON_SIZE);
			SDL_FreeSurface(someImage);
			return someIsWhole || Inconsistent("a decoded image of no size or past 256 pixels");
		}
	}

	bool RunIcon(Input aInput)
	{
		return DecodeIconFile(aInput);
	}

	bool RunAnimatedCursor(Input aInput)
	{
		const std::vector<std::span<const std::uint8_t>> someFrames = Platform::impl::ReadAnimatedCursorFrames(aInput);
		for (const std::span<const std::uint8_t>& someFrame : someFrames)
		{
			if (someFrame.data() < aInput.data() || someFrame.data() + someFrame.size() > aInput.data() + aInput.size())
				return Inconsistent("a frame outside the file");
		}
		return DecodeIconFile(someFrames.empty() ? aInput : someFrames.front());
	}
}
