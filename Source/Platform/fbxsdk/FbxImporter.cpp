#include "fbxsdk/FbxImporter.h"

#include "files/FilePath.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace fbxsdk
{
	namespace
	{
		constexpr std::uint32_t OLDEST_SUPPORTED_VERSION = 7000;
		constexpr std::uint32_t FIRST_UNSUPPORTED_VERSION = 8000;

		// The whole file in one read.
		std::optional<impl::ArrayBuffer<std::uint8_t>> ReadFile(const char* aPath)
		{
			std::error_code someError;
			if (!std::filesystem::is_regular_file(Platform::ResolveFilePath(std::string_view(aPath)), someError))
				return std::nullopt;
			std::ifstream someFile = Platform::OpenInputFile(aPath, std::ios::in | std::ios::binary | std::ios::ate);
			if (!someFile)
				return std::nullopt;
			const std::streamoff someSize = someFile.tellg();
			if (someSize < 0)
				return std::nullopt;
			impl::ArrayBuffer<std::uint8_t> someBytes(static_cast<size_t>(someSize));
			someFile.seekg(0);
			if (!someFile.read(reinterpret_cast<char*>(someBytes.data()), someSize))
				return std::nullopt;
			return someBytes;
		}
	}

	FbxImporter* FbxImporter::Create(FbxManager* aManager, const char* aName)
	{
		return aManager ? aManager->Adopt(std::unique_ptr<FbxImporter>(new FbxImporter(aName ? aName : "", NextCodeId()))) : nullptr;
	}

	bool FbxImporter::Initialize(const char* aPath, int /*aFileFormat: always detected*/, FbxIOSettings* /*aSettings: nothing to import but the scene*/)
	{
		myStatus.Clear();
		myIsFbx = false;
		myParsed = false;
		myAnimStackCount = 0;
		std::optional<impl::ArrayBuffer<std::uint8_t>> someBytes = ReadFile(aPath ? aPath : "");
		if (!someBytes)
		{
			const char* somePath = aPath ? aPath : "";
			myStatus.SetCode(FbxStatus::eFailure, std::string("Cannot read ") + somePath + ": " + Platform::WhyUnreadable(somePath));
			return false;
		}
		std::string someError;
		bool someParsed = false;
		if (impl::IsBinaryFbx(*someBytes))
			someParsed = impl::ParseBinaryFbx(std::move(*someBytes), myTree, someError);
		else if (impl::IsAsciiFbx(*someBytes))
			someParsed = impl::ParseAsciiFbx(std::move(*someBytes), myTree, someError);
		else
		{
			myStatus.SetCode(FbxStatus::eInvalidFile, "Unexpected file type");
			return false;
		}
		myIsFbx = true;
		if (!someParsed)
		{
			myTree = impl::ParseTree();
			myStatus.SetCode(FbxStatus::eInvalidFile, "Corrupted FBX file: " + someError);
			return false;
		}
		if (myTree.version < OLDEST_SUPPORTED_VERSION || myTree.version >= FIRST_UNSUPPORTED_VERSION)
		{
			myStatus.SetCode(FbxStatus::eInvalidFileVersion, "FBX version " + std::to_string(myTree.version) + " is not supported (7.x only)");
			myTree = impl::ParseTree();
			return false;
		}
		const std::uint32_t someObjects = myTree.FindChild(0, "Objects");
		if (someObjects != impl::NO_NODE)
			myTree.ForEachChild(someObjects, [&](std::uint32_t aRecord) { myAnimStackCount += myTree.nodes[aRecord].name == "AnimationStack"; });
		myParsed = true;
		return true;
	}

	bool FbxImporter::Import(FbxScene* aScene)
	{
		if (!myParsed || !aScene)
		{
			myStatus.SetCode(FbxStatus::eInvalidParameter, myParsed ? "No scene to import into" : "The importer is not initialized");
			return false;
		}
		std::string someError;
		const bool someRead = impl::ReadScene(myTree, *aScene, someError);
		myTree = impl::ParseTree();
		myParsed = false;
		if (!someRead)
		{
			myStatus.SetCode(FbxStatus::eInvalidFile, "Corrupted FBX file: " + someError);
			return false;
		}
		myStatus.Clear();
		return true;
	}
}
