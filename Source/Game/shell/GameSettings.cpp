#include "shell/GameSettings.h"

#include "settings/settings.h"

namespace GameSettings
{
	bool Load(const std::string& aName)
	{
		// The game's scenes, art and shaders are found only through the asset folders.
		return Norv::LoadSettings(aName) && Norv::Settings::HasAssetFolders(aName);
	}
}
