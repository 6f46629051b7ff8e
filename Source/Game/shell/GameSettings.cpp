#include "shell/GameSettings.h"

#include "settings/settings.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace GameSettings
{
	bool Load(const std::string& aName)
	{
		try
		{
			Norv::LoadSettings(aName);
			return true;
		}
		catch (const nlohmann::json::exception& anError)
		{
			std::fprintf(stderr, "Settings file %s is not valid: %s\n", Norv::Settings::GetSettingsFilePath(aName).string().c_str(), anError.what());
			return false;
		}
	}
}
