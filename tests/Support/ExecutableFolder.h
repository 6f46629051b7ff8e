#pragma once
// Points the executable's own path into a temporary folder while in scope, so
// settings and assets are looked up there.
#include "Support/TempFolder.h"
#include "engine/EngineCreateParameters.h"
#include "kernel/Kernel.h"

namespace NorvTest
{
	class ExecutableFolder : public TempFolder
	{
	public:
		ExecutableFolder()
		{
			const std::string someExecutable = (Path() / "Game").string();
			Platform::SetModuleFileNameOverride([someExecutable] { return someExecutable; });
			Norv::GetEngineCreateParameters() = Norv::EngineCreateParameters();
		}
		~ExecutableFolder()
		{
			Platform::SetModuleFileNameOverride({});
			Norv::GetEngineCreateParameters() = Norv::EngineCreateParameters();
		}

		void WriteSettings(std::string_view aJson, std::string_view aFileName = "Game.json") const
		{
			Write(std::filesystem::path("settings") / aFileName, aJson);
		}
	};
}
