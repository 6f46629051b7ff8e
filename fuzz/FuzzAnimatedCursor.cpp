// The cursor loader: an ".ani" container's first frame (or the file itself),
// its icon directory and the image decoder it is handed to.
#include "win32/IconFiles.h"

#include <SDL_image.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
	std::span<const std::uint8_t> someFile(aData, aSize);
	if (const auto someFrames = Platform::impl::ReadAnimatedCursorFrames(someFile); !someFrames.empty())
		someFile = someFrames.front();
	const std::optional<Platform::impl::IconDirectoryEntry> someEntry = Platform::impl::ReadIconDirectory(someFile);
	if (!someEntry)
		return 0;
	SDL_RWops* someStream = SDL_RWFromConstMem(someFile.data(), static_cast<int>(someFile.size()));
	SDL_FreeSurface(someEntry->myIsCursor ? IMG_LoadCUR_RW(someStream) : IMG_LoadICO_RW(someStream));
	SDL_RWclose(someStream);
	return 0;
}
