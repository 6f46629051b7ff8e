// The compiled-shader caches of DX11: one per shader kind, keyed by the name as
// the code writes it (without ".cso"), each file read and created once.
#include "graphics/DX11.h"

#include "files/FilePath.h"
#include "settings/settings.h"

#include <filesystem>
#include <iostream>

namespace Norv
{
	namespace
	{
		constexpr const char* COMPILED_SHADER_EXTENSION = ".cso";

		DX11::VertexShaderCache ourVertexShaders;
		DX11::PixelShaderCache ourPixelShaders;

		std::filesystem::path GetShaderFilePath(const char* aName)
		{
			const std::filesystem::path someFile = std::string(aName) + COMPILED_SHADER_EXTENSION;
			const std::filesystem::path& someCooked = Settings::GetCookedAssetsPath();
			return someCooked.empty() ? someFile : someCooked / someFile;
		}

		// The file's bytes; empty, with a line naming the file, when it cannot be read.
		// An empty name asks for no shader and is not reported.
		std::string ReadShaderFile(const char* aName)
		{
			const std::filesystem::path someFile = GetShaderFilePath(aName);
			const auto someBytes = Platform::ReadWholeFile(someFile);
			if (!someBytes && *aName != '\0')
				std::cerr << "The compiled shader \"" << someFile.string() << "\" could not be read\n";
			return someBytes ? std::string(someBytes->begin(), someBytes->end()) : std::string();
		}

		void ReportInvalidShader(const char* aName)
		{
			std::cerr << "The compiled shader \"" << GetShaderFilePath(aName).string() << "\" is not one the device accepts\n";
		}
	}

	DX11::VertexShaderEntry* DX11::GetVertexShader(const char* aName)
	{
		const auto someFound = ourVertexShaders.find(std::string_view(aName));
		return someFound != ourVertexShaders.end() ? &someFound->second : LoadVertexShader(aName);
	}

	Microsoft::WRL::ComPtr<ID3D11PixelShader>* DX11::GetPixelShader(const char* aName)
	{
		const auto someFound = ourPixelShaders.find(std::string_view(aName));
		return someFound != ourPixelShaders.end() ? &someFound->second : LoadPixelShader(aName);
	}

	DX11::VertexShaderEntry* DX11::LoadVertexShader(const char* aName)
	{
		VertexShaderEntry& someEntry = ourVertexShaders[aName];
		someEntry.myBytecode = ReadShaderFile(aName);
		someEntry.myShader.Reset();
		if (!ourDevice || someEntry.myBytecode.empty()
			|| FAILED(ourDevice->CreateVertexShader(someEntry.myBytecode.data(), someEntry.myBytecode.size(), nullptr, someEntry.myShader.GetAddressOf())))
		{
			if (ourDevice && !someEntry.myBytecode.empty())
				ReportInvalidShader(aName);
			ourVertexShaders.erase(aName);
			return nullptr;
		}
		return &someEntry;
	}

	Microsoft::WRL::ComPtr<ID3D11PixelShader>* DX11::LoadPixelShader(const char* aName)
	{
		Microsoft::WRL::ComPtr<ID3D11PixelShader>& someEntry = ourPixelShaders[aName];
		const std::string someBytecode = ReadShaderFile(aName);
		someEntry.Reset();
		if (!ourDevice || someBytecode.empty() || FAILED(ourDevice->CreatePixelShader(someBytecode.data(), someBytecode.size(), nullptr, someEntry.GetAddressOf())))
		{
			if (ourDevice && !someBytecode.empty())
				ReportInvalidShader(aName);
			ourPixelShaders.erase(aName);
			return nullptr;
		}
		return &someEntry;
	}

	std::size_t DX11::GetVertexShaderCount() { return ourVertexShaders.size(); }
	std::size_t DX11::GetPixelShaderCount() { return ourPixelShaders.size(); }

	void DX11::ReleaseShaderCaches()
	{
		ourVertexShaders.clear();
		ourPixelShaders.clear();
	}
}
