// Cursor and icon handles: loading from files, the display counter, placement.
#include "win32/IconFiles.h"
#include "win32/Internal.h"

#include "files/FilePath.h"
#include "kernel/Kernel.h"

#include <SDL_image.h>

#include <memory>

struct HICON__
{
	SDL_Surface* mySurface = nullptr;
	SDL_Cursor* myCursor = nullptr;

	~HICON__()
	{
		if (myCursor && SDL_WasInit(SDL_INIT_VIDEO))
			SDL_FreeCursor(myCursor);
		SDL_FreeSurface(mySurface);
	}
};

namespace
{

	// Loaded handles live until the process ends, as the program never destroys them.
	std::vector<std::unique_ptr<HICON__>>& Icons()
	{
		static std::vector<std::unique_ptr<HICON__>> ourIcons;
		return ourIcons;
	}

	HICON Keep(std::unique_ptr<HICON__> anIcon)
	{
		return Icons().emplace_back(std::move(anIcon)).get();
	}

	// The file's largest image, scaled to aWidth x aHeight when those are given.
	SDL_Surface* DecodeIconImage(std::span<const std::uint8_t> aFile, const Platform::impl::IconDirectoryEntry& anEntry, int aWidth, int aHeight)
	{
		SDL_RWops* someStream = SDL_RWFromConstMem(aFile.data(), static_cast<int>(aFile.size()));
		SDL_Surface* someImage = anEntry.myIsCursor ? IMG_LoadCUR_RW(someStream) : IMG_LoadICO_RW(someStream);
		SDL_RWclose(someStream);
		if (someImage == nullptr || aWidth <= 0 || aHeight <= 0 || (someImage->w == aWidth && someImage->h == aHeight))
			return someImage;
		SDL_Surface* someScaled = SDL_CreateRGBSurfaceWithFormat(0, aWidth, aHeight, 32, SDL_PIXELFORMAT_ARGB8888);
		if (someScaled != nullptr)
		{
			SDL_SetSurfaceBlendMode(someImage, SDL_BLENDMODE_NONE);
			SDL_BlitScaled(someImage, nullptr, someScaled, nullptr);
		}
		SDL_FreeSurface(someImage);
		return someScaled;
	}

	HICON LoadIconFile(std::span<const std::uint8_t> aFile, UINT aType, int aWidth, int aHeight)
	{
		std::span<const std::uint8_t> someImageFile = aFile;
		if (aType == IMAGE_CURSOR)
		{
			// An animated cursor shows its first frame.
			if (const auto someFrames = Platform::impl::ReadAnimatedCursorFrames(aFile); !someFrames.empty())
				someImageFile = someFrames.front();
		}
		const std::optional<Platform::impl::IconDirectoryEntry> someEntry = Platform::impl::ReadIconDirectory(someImageFile);
		if (!someEntry)
			return nullptr;
		SDL_Surface* someSurface = DecodeIconImage(someImageFile, *someEntry, aWidth, aHeight);
		if (someSurface == nullptr)
			return nullptr;
		auto someIcon = std::make_unique<HICON__>();
		someIcon->mySurface = someSurface;
		if (aType == IMAGE_CURSOR)
		{
			// The hotspot is given for the first image; it scales with the image shown.
			const int someHotX = someEntry->myHotspotX * someSurface->w / someEntry->myWidth;
			const int someHotY = someEntry->myHotspotY * someSurface->h / someEntry->myHeight;
			someIcon->myCursor = SDL_CreateColorCursor(someSurface, someHotX, someHotY);
		}
		return Keep(std::move(someIcon));
	}
}

namespace Platform::impl
{
	void ApplyCursor(HCURSOR aCursor)
	{
		if (aCursor == nullptr || !SDL_WasInit(SDL_INIT_VIDEO))
			return;
		SDL_SetCursor(aCursor->myCursor ? aCursor->myCursor : SDL_GetDefaultCursor());
	}

	SDL_Surface* GetIconSurface(HICON anIcon)
	{
		return anIcon ? anIcon->mySurface : nullptr;
	}
}

int ShowCursor(BOOL aShow)
{
	static int ourDisplayCount = 0;
	ourDisplayCount += aShow ? 1 : -1;
	if (SDL_WasInit(SDL_INIT_VIDEO))
		SDL_ShowCursor(ourDisplayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
	return ourDisplayCount;
}

BOOL SetCursorPos(int aX, int aY)
{
	if (!Platform::impl::EnsureVideo())
		return FALSE;
	if (SDL_WarpMouseGlobal(aX, aY) != 0)
		return FALSE;
	Platform::impl::ExpectPlacedCursorMotion(aX, aY);
	return TRUE;
}

HICON LoadIconW(HINSTANCE, LPCWSTR)
{
	return nullptr;
}

HCURSOR LoadCursorW(HINSTANCE anInstance, LPCWSTR aName)
{
	if (anInstance != nullptr || aName != IDC_ARROW)
		return nullptr;
	static HCURSOR ourArrow = nullptr;
	if (ourArrow == nullptr && Platform::impl::EnsureVideo())
	{
		auto someArrow = std::make_unique<HICON__>();
		someArrow->myCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
		ourArrow = Keep(std::move(someArrow));
	}
	return ourArrow;
}

HANDLE LoadImageW(HINSTANCE, LPCWSTR aName, UINT aType, int aWidth, int aHeight, UINT aFlags)
{
	if (aName == nullptr || !(aFlags & LR_LOADFROMFILE) || (aType != IMAGE_ICON && aType != IMAGE_CURSOR))
		return nullptr;
	if (!Platform::impl::EnsureVideo())
		return nullptr;
	const std::optional<std::vector<std::uint8_t>> someFile = Platform::ReadWholeFile(std::filesystem::path(Platform::WideToUtf8(aName)));
	if (!someFile)
		return nullptr;
	return LoadIconFile(*someFile, aType, aWidth, aHeight);
}
