#include "scene/SceneSerialize.h"

#include "files/FilePath.h"
#include "scene/JsonFiles.h"
#include "settings/settings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace Norv::SceneSerialize
{
	namespace
	{
		constexpr const char* FORM_A_EXTENSION = ".leveldata_new";
		constexpr const char* FORM_A_FILE = "leveldata.json";
		constexpr const char* FORM_B_EXTENSION = ".leveldata";
		constexpr std::size_t MATRIX_ELEMENTS = 16;

		enum class SceneForm { A, B };

		Vector3<float> ReadVector3(const nlohmann::json& aJson)
		{
			// Type errors 302 for a non-array or non-number, the range error for a short array.
			const auto someValues = aJson.get<std::array<float, 3>>();
			return { someValues[0], someValues[1], someValues[2] };
		}

		Matrix4x4 ReadMatrix(const nlohmann::json& aJson)
		{
			const auto someValues = aJson.get<std::array<float, MATRIX_ELEMENTS>>();
			Matrix4x4 someMatrix;
			for (unsigned someIndex = 0; someIndex < MATRIX_ELEMENTS; ++someIndex)
				someMatrix[someIndex] = someValues[someIndex];
			return someMatrix;
		}

		void ReadProperties(const nlohmann::json& aProperties, SceneObject& aObject, const fs::path& aFile)
		{
			// An array's elements, or an object's member values in key order.
			for (const nlohmann::json& someEntry : aProperties)
			{
				const StringId someName = impl::Intern(impl::MemberOrNull(someEntry, "name").get<std::string>());
				const PropertyTypeBase* someType = impl::ReadPropertyType(someEntry, someName, aFile);
				if (!someType)
					continue;
				aObject.properties.push_back({ someName, someType, Property(someType, impl::MemberOrNull(someEntry, "value")) });
			}
		}

		SceneObject BuildObject(const nlohmann::json& aJson, SceneForm aForm, const fs::path& aFile)
		{
			SceneObject someObject;
			someObject.SetName(aJson.value("name", std::string("unknown")).c_str());
			someObject.SetPath(nullptr, impl::Intern(aJson.value("path", std::string())));
			if (aForm == SceneForm::B && aJson.contains("transform"))
				someObject.SetTransformFromMatrix(ReadMatrix(aJson["transform"]));
			if (aJson.contains("translation"))
				someObject.transform.translation = ReadVector3(aJson["translation"]);
			if (aJson.contains("rotation"))
				someObject.transform.rotation = ReadVector3(aJson["rotation"]);
			if (aJson.contains("scale"))
				someObject.transform.scale = ReadVector3(aJson["scale"]);
			if (aJson.contains("object-definition"))
				someObject.definition = impl::Intern(aJson["object-definition"].get<std::string>());
			if (aJson.contains("properties"))
				ReadProperties(aJson["properties"], someObject, aFile);
			return someObject;
		}

		bool IsFinite(const Vector3<float>& aVector)
		{
			return std::isfinite(aVector.x) && std::isfinite(aVector.y) && std::isfinite(aVector.z);
		}

		// A number past a float's range reads as infinite: such an object has no place.
		bool IsRefused(const SceneObject& aObject, const fs::path& aFile)
		{
			const SceneTransform& someTransform = aObject.transform;
			if (IsFinite(someTransform.translation) && IsFinite(someTransform.rotation) && IsFinite(someTransform.scale))
				return false;
			std::cerr << "\"" << aFile.string() << "\": object \"" << aObject.name << "\" has a transform that is not finite and is skipped\n";
			return true;
		}

		bool LoadFormA(const fs::path& aFile, Scene& aScene)
		{
			return impl::ReadJsonFile(aFile, [&](const nlohmann::json& aDocument) {
				// A top-level object's member values in key order, or an array's elements.
				for (const nlohmann::json& someItem : aDocument)
				{
					const SceneObject someObject = BuildObject(someItem, SceneForm::A, aFile);
					if (IsRefused(someObject, aFile))
						continue;
					const std::string someGuid = someItem.value("uuid", std::string());
					if (aScene.AddObject(someGuid.c_str(), someObject).first == 0)
					{
						std::cerr << "\"" << aFile.string() << "\": object \"" << someObject.name
							<< "\" has no readable \"uuid\" and is stored under id 0, replacing any earlier one\n";
					}
				}
			});
		}

		// Dot-files (".gitkeep") and names with an extension are not objects.
		bool IsObjectFileName(const fs::path& aFileName)
		{
			const std::string someName = aFileName.string();
			return !someName.empty() && someName.front() != '.' && !aFileName.has_extension();
		}

		// Object files in sorted name order: the directory's own order is the file system's.
		bool LoadFormB(const fs::path& aFolder, Scene& aScene)
		{
			std::vector<fs::path> someFiles;
			for (const fs::directory_entry& someEntry : fs::directory_iterator(aFolder))
			{
				if (IsObjectFileName(someEntry.path().filename()) && someEntry.is_regular_file())
					someFiles.push_back(someEntry.path());
			}
			std::sort(someFiles.begin(), someFiles.end());

			bool someAllRead = true;
			for (const fs::path& someFile : someFiles)
			{
				someAllRead &= impl::ReadJsonFile(someFile, [&](const nlohmann::json& aDocument) {
					if (const SceneObject someObject = BuildObject(aDocument, SceneForm::B, someFile); !IsRefused(someObject, someFile))
						aScene.AddObject(someFile.filename().string().c_str(), someObject);
				});
			}
			return someAllRead;
		}
	}

	bool LoadScene(const char* aScenePath, Scene& aScene)
	{
		const fs::path someFull = Settings::GetGameAssetsPath() / aScenePath;
		aScene.SetPath(aScenePath);
		aScene.SetName(someFull.stem().string().c_str());
		aScene.Clear();
		try
		{
			const fs::path someFolderA = Platform::ResolveFilePath(fs::path(someFull).replace_extension(FORM_A_EXTENSION));
			const fs::path someFileA = Platform::ResolveFilePath(someFolderA / FORM_A_FILE);
			if (fs::is_directory(someFolderA) && fs::exists(someFileA))
				return LoadFormA(someFileA, aScene);

			const fs::path someFolderB = Platform::ResolveFilePath(fs::path(someFull).replace_extension(FORM_B_EXTENSION));
			if (!fs::exists(someFolderB))
				return true;
			return LoadFormB(someFolderB, aScene);
		}
		catch (const fs::filesystem_error& aError)
		{
			std::cerr << "Could not load the scene \"" << aScenePath << "\": " << aError.what() << '\n';
			return false;
		}
	}
}
