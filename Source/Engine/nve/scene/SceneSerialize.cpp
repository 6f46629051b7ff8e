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

		// Where the objects of a scene come from, for the messages.
		struct SceneFile
		{
			const char* myScenePath;
			fs::path myFile;
		};

		// A value of the wrong form in an object: the object is skipped, the others load.
		void ReportSkipped(const SceneFile& aSource, const std::string& anObject, const impl::ValueError& anError)
		{
			std::cerr << "Scene \"" << aSource.myScenePath << "\" (\"" << aSource.myFile.string() << "\"): " << anObject << " is skipped: " << anError.what() << '\n';
		}

		// The object by its name when it has a readable one, else by anUnnamed.
		std::string ObjectLabel(const nlohmann::json& aJson, const std::string& anUnnamed)
		{
			const nlohmann::json* someName = aJson.is_object() ? impl::FindMember(aJson, "name") : nullptr;
			return someName && someName->is_string() ? "object \"" + someName->get<std::string>() + "\"" : anUnnamed;
		}

		Vector3<float> ReadVector3(const nlohmann::json& anObject, const char* aKey)
		{
			std::array<float, 3> someValues{};
			impl::ReadNumbers(anObject, aKey, someValues);
			return { someValues[0], someValues[1], someValues[2] };
		}

		Matrix4x4 ReadMatrix(const nlohmann::json& anObject)
		{
			std::array<float, MATRIX_ELEMENTS> someValues{};
			impl::ReadNumbers(anObject, "transform", someValues);
			Matrix4x4 someMatrix;
			for (unsigned someIndex = 0; someIndex < MATRIX_ELEMENTS; ++someIndex)
				someMatrix[someIndex] = someValues[someIndex];
			return someMatrix;
		}

		void ReadProperties(const nlohmann::json& anObject, SceneObject& aObject, const fs::path& aFile)
		{
			const std::vector<const nlohmann::json*> someEntries = impl::ReadEntries(anObject, "properties");
			for (std::size_t someIndex = 0; someIndex < someEntries.size(); ++someIndex)
			{
				const nlohmann::json& someEntry = *someEntries[someIndex];
				const std::string someOwner = impl::RequireEntry(someEntry, someIndex + 1);
				const StringId someName = impl::Intern(impl::RequireText(someEntry, "name", someOwner));
				const PropertyTypeBase* someType = impl::ReadPropertyType(someEntry, someOwner, aFile);
				if (!someType)
					continue;
				aObject.properties.push_back({ someName, someType, impl::ReadPropertyValue(someEntry, someOwner, *someType) });
			}
		}

		// Throws a ValueError for a value of the wrong form.
		SceneObject BuildObject(const nlohmann::json& aJson, SceneForm aForm, const fs::path& aFile)
		{
			impl::RequireObject(aJson, "it", "an object of keys");
			SceneObject someObject;
			someObject.SetName(impl::ReadText(aJson, "name", "unknown").c_str());
			someObject.SetPath(nullptr, impl::Intern(impl::ReadText(aJson, "path", std::string())));
			if (aForm == SceneForm::B && aJson.contains("transform"))
				someObject.SetTransformFromMatrix(ReadMatrix(aJson));
			if (aJson.contains("translation"))
				someObject.transform.translation = ReadVector3(aJson, "translation");
			if (aJson.contains("rotation"))
				someObject.transform.rotation = ReadVector3(aJson, "rotation");
			if (aJson.contains("scale"))
				someObject.transform.scale = ReadVector3(aJson, "scale");
			someObject.definition = impl::Intern(impl::ReadText(aJson, "object-definition", std::string()));
			ReadProperties(aJson, someObject, aFile);
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

		bool LoadFormA(const SceneFile& aSource, const nlohmann::json& aDocument, Scene& aScene)
		{
			if (!aDocument.is_array() && !aDocument.is_object() && !aDocument.is_null())
			{
				std::cerr << "Could not read \"" << aSource.myFile.string() << "\": it must hold a list of objects\n";
				return false;
			}
			// A top-level object's member values in key order, or an array's elements.
			std::size_t somePlace = 0;
			for (const nlohmann::json& someItem : aDocument)
			{
				++somePlace;
				SceneObject someObject;
				std::string someGuid;
				try
				{
					someObject = BuildObject(someItem, SceneForm::A, aSource.myFile);
					someGuid = impl::ReadText(someItem, "uuid", std::string());
				}
				catch (const impl::ValueError& anError)
				{
					ReportSkipped(aSource, ObjectLabel(someItem, "object number " + std::to_string(somePlace)), anError);
					continue;
				}
				if (IsRefused(someObject, aSource.myFile))
					continue;
				if (aScene.AddObject(someGuid.c_str(), someObject).first == 0)
				{
					std::cerr << "\"" << aSource.myFile.string() << "\": object \"" << someObject.name
						<< "\" has no readable \"uuid\" and is stored under id 0, replacing any earlier one\n";
				}
			}
			return true;
		}

		// Dot-files (".gitkeep") and names with an extension are not objects.
		bool IsObjectFileName(const fs::path& aFileName)
		{
			const std::string someName = aFileName.string();
			return !someName.empty() && someName.front() != '.' && !aFileName.has_extension();
		}

		// Object files in sorted name order: the directory's own order is the file system's.
		bool LoadFormB(const char* aScenePath, const fs::path& aFolder, Scene& aScene)
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
					try
					{
						if (const SceneObject someObject = BuildObject(aDocument, SceneForm::B, someFile); !IsRefused(someObject, someFile))
							aScene.AddObject(someFile.filename().string().c_str(), someObject);
					}
					catch (const impl::ValueError& anError)
					{
						ReportSkipped({ aScenePath, someFile }, ObjectLabel(aDocument, "its object"), anError);
					}
					return true;
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
				return impl::ReadJsonFile(someFileA, [&](const nlohmann::json& aDocument) { return LoadFormA({ aScenePath, someFileA }, aDocument, aScene); });

			const fs::path someFolderB = Platform::ResolveFilePath(fs::path(someFull).replace_extension(FORM_B_EXTENSION));
			if (!fs::exists(someFolderB))
				return true;
			return LoadFormB(aScenePath, someFolderB, aScene);
		}
		catch (const fs::filesystem_error& aError)
		{
			std::cerr << "Could not load the scene \"" << aScenePath << "\": \"" << aError.path1().string() << "\" cannot be read (" << aError.code().message() << ")\n";
			return false;
		}
	}
}
