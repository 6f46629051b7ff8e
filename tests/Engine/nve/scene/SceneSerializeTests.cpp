#include "Support/ExecutableFolder.h"
#include "properties/PlainPropertyTypes.h"
#include "scene/GuidMap.h"
#include "scene/SceneSerialize.h"
#include "settings/settings.h"
#include "stringRegistry/StringRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using Norv::Scene;
using Norv::SceneObject;
using Norv::StringId;
using Norv::StringRegistry::RegisterOrGetString;
using testing::HasSubstr;

namespace
{
	constexpr const char* GUID_A = "0a000000-0000-4000-8000-00000000000a";
	constexpr const char* GUID_B = "0b000000-0000-4000-8000-00000000000b";
	constexpr const char* FORM_A_FILE = "game/scenes/Hub.leveldata_new/leveldata.json";
	constexpr float ANGLE_TOLERANCE = 1e-3f; // degrees

	std::string InFormB(const char* aGuid) { return std::string("game/scenes/Hub.leveldata/") + aGuid; }

	// Counts the non-overlapping occurrences of aPart in aText.
	size_t Occurrences(const std::string& aText, const std::string& aPart)
	{
		size_t someCount = 0;
		for (size_t somePos = aText.find(aPart); somePos != std::string::npos; somePos = aText.find(aPart, somePos + aPart.size()))
			++someCount;
		return someCount;
	}
}

class SceneLoader : public ::testing::Test
{
protected:
	void SetUp() override
	{
		myFolder.WriteSettings(R"({"window_settings": {"title": "T"}, "assets_path": {"engine": "engine", "game": "game"}})");
		ASSERT_TRUE(Norv::LoadSettings("Game.json"));
	}

	// Loads "scenes/Hub.nvs", capturing standard error into myErrors.
	bool Load()
	{
		testing::internal::CaptureStderr();
		const bool someResult = Norv::SceneSerialize::LoadScene("scenes/Hub.nvs", myScene);
		myErrors = testing::internal::GetCapturedStderr();
		return someResult;
	}

	const SceneObject& Object(const char* aGuid) const { return *myScene.objects.at(Norv::GuidToIndex(aGuid)); }

	NorvTest::ExecutableFolder myFolder;
	Scene myScene;
	std::string myErrors;
};

// ---------------------------------------------------------------- folders

TEST_F(SceneLoader, MissingSceneIsEmptyAndNamedAfterTheFile)
{
	myScene.AddObject(GUID_A, SceneObject());
	EXPECT_TRUE(Load());
	EXPECT_TRUE(myScene.objects.empty());
	EXPECT_TRUE(myScene.pathCounts.empty());
	EXPECT_EQ(myScene.name, "Hub");
	EXPECT_EQ(myScene.path, "scenes/Hub.nvs");
	EXPECT_TRUE(myErrors.empty());
}

TEST_F(SceneLoader, FormAWinsOverFormB)
{
	myFolder.Write(FORM_A_FILE, std::string(R"([{"name": "from A", "uuid": ")") + GUID_A + R"("}])");
	myFolder.Write(InFormB(GUID_B), R"({"name": "from B"})");
	ASSERT_TRUE(Load());
	ASSERT_EQ(myScene.objects.size(), 1u);
	EXPECT_EQ(Object(GUID_A).name, "from A");
}

TEST_F(SceneLoader, FormAFolderWithoutItsFileFallsBackToFormB)
{
	myFolder.Write("game/scenes/Hub.leveldata_new/other.json", "[]");
	myFolder.Write(InFormB(GUID_B), R"({"name": "from B"})");
	ASSERT_TRUE(Load());
	ASSERT_EQ(myScene.objects.size(), 1u);
	EXPECT_EQ(Object(GUID_B).name, "from B");
}

TEST_F(SceneLoader, FormBTakesOnlyExtensionlessFiles)
{
	myFolder.Write(InFormB(GUID_A), R"({"name": "object"})");
	myFolder.Write(InFormB(GUID_B) + ".json", R"({"name": "not an object"})");
	myFolder.Write("game/scenes/Hub.leveldata/.gitkeep", "");
	std::filesystem::create_directories(myFolder.Path() / InFormB("0c000000-0000-4000-8000-00000000000c"));
	ASSERT_TRUE(Load());
	ASSERT_EQ(myScene.objects.size(), 1u);
	EXPECT_EQ(Object(GUID_A).name, "object");
	EXPECT_TRUE(myErrors.empty()) << myErrors;
}

TEST_F(SceneLoader, ObjectsKeepFileOrderWhateverIdsEarlierScenesGave)
{
	constexpr const char* FIRST = "0e000000-0000-4000-8000-0000000000e1";
	constexpr const char* SECOND = "0e000000-0000-4000-8000-0000000000e2";
	constexpr const char* THIRD = "0e000000-0000-4000-8000-0000000000e3";
	// An earlier scene met them the other way round.
	for (const char* someGuid : { THIRD, SECOND, FIRST })
		Norv::GuidToIndex(someGuid);
	const auto Names = [this] {
		std::vector<std::string> someNames;
		for (const std::uint32_t someId : myScene.order)
			someNames.push_back(myScene.objects.at(someId)->name);
		return someNames;
	};

	// Folder form: sorted file names, not the directory's order.
	for (const char* someGuid : { SECOND, THIRD, FIRST })
		myFolder.Write(InFormB(someGuid), std::string(R"({"name": ")") + someGuid + "\"}");
	ASSERT_TRUE(Load());
	EXPECT_EQ(Names(), (std::vector<std::string>{ FIRST, SECOND, THIRD }));

	// One file: its own order; a repeated uuid keeps its first place with the later object.
	myFolder.Write(FORM_A_FILE, std::string("[") + R"({"uuid": ")" + SECOND + R"(", "name": "b"}, {"uuid": ")" + FIRST + R"(", "name": "a"}, )"
		+ R"({"uuid": ")" + SECOND + R"(", "name": "b again"}])");
	ASSERT_TRUE(Load());
	EXPECT_EQ(Names(), (std::vector<std::string>{ "b again", "a" }));
	EXPECT_EQ(myScene.objects.size(), myScene.order.size());
}

TEST_F(SceneLoader, ObjectsWithTransformsPastAFloatAreReportedAndSkipped)
{
	myFolder.Write(FORM_A_FILE, std::string("[") + R"({"uuid": ")" + GUID_A + R"(", "name": "far", "translation": [1e39, 0, 0]}, )"
		+ R"({"uuid": ")" + GUID_B + R"(", "name": "near", "translation": [3e38, 0, 0]}])");
	ASSERT_TRUE(Load());
	EXPECT_THAT(myErrors, HasSubstr("leveldata.json\": object \"far\" has a transform that is not finite and is skipped"));
	ASSERT_EQ(myScene.objects.size(), 1u);
	EXPECT_EQ(Object(GUID_B).name, "near");

	myFolder.Write(InFormB(GUID_A), R"({"name": "squashed", "scale": [1, -1e300, 1]})");
	std::filesystem::remove_all(myFolder.Path() / "game/scenes/Hub.leveldata_new");
	ASSERT_TRUE(Load());
	EXPECT_THAT(myErrors, HasSubstr("object \"squashed\" has a transform that is not finite"));
	EXPECT_TRUE(myScene.objects.empty());
	EXPECT_TRUE(myScene.order.empty());
}

TEST_F(SceneLoader, FolderNamesResolveIgnoringCase)
{
	myFolder.Write(std::string("game/Scenes/HUB.LevelData/") + GUID_A, R"({"name": "found"})");
	ASSERT_TRUE(Load());
	EXPECT_EQ(Object(GUID_A).name, "found");
}

// ---------------------------------------------------------------- objects

TEST_F(SceneLoader, ReadsEveryKeyOfAnObject)
{
	myFolder.Write(FORM_A_FILE, std::string(R"({"second": {"uuid": ")") + GUID_B + R"("},
		"first": {"uuid": ")" + GUID_A + R"(", "name": "Door", "path": "Doors", "object-definition": "Door",
			"translation": [1, 2, 3, 99], "rotation": [0, 45, true], "scale": [2, 2, 2],
			"transform": [2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 7, 7, 7, 1],
			"properties": [{"name": "targetScene", "type": "StringId", "value": "scenes/Level_1.nvs"},
			               {"name": "locked", "type": "Bool", "value": true}],
			"unknown-key": 5}})");
	ASSERT_TRUE(Load()) << myErrors;
	const SceneObject& someDoor = Object(GUID_A);
	EXPECT_EQ(someDoor.name, "Door");
	EXPECT_EQ(someDoor.path, RegisterOrGetString("Doors"));
	EXPECT_EQ(someDoor.definition, RegisterOrGetString("Door"));
	EXPECT_EQ(someDoor.transform.translation, Norv::Vector3<float>(1, 2, 3));
	EXPECT_EQ(someDoor.transform.rotation, Norv::Vector3<float>(0, 45, 1));
	EXPECT_EQ(someDoor.transform.scale, Norv::Vector3<float>(2, 2, 2));
	ASSERT_EQ(someDoor.properties.size(), 2u);
	EXPECT_EQ(someDoor.properties[0].name, RegisterOrGetString("targetScene"));
	EXPECT_EQ(someDoor.properties[0].type, &Norv::PropertyType<StringId>::ourInstance);
	EXPECT_EQ(*someDoor.properties[0].value.TryGet<StringId>(), RegisterOrGetString("scenes/Level_1.nvs"));
	EXPECT_TRUE(*someDoor.properties[1].value.TryGet<bool>());

	const SceneObject& someBare = Object(GUID_B);
	EXPECT_EQ(someBare.name, "unknown");
	EXPECT_TRUE(someBare.path.IsNull());
	EXPECT_TRUE(someBare.definition.IsNull());
	EXPECT_EQ(someBare.transform.scale, Norv::Vector3<float>(1, 1, 1));
	EXPECT_EQ(myScene.pathCounts.at(StringId()), 3u); // two objects, plus the empty path counted under null
	EXPECT_EQ(myScene.pathCounts.at(RegisterOrGetString("Doors")), 1u);
}

TEST_F(SceneLoader, FormATransformChangesNothing)
{
	myFolder.Write(FORM_A_FILE, std::string(R"([{"uuid": ")") + GUID_A + R"(", "transform": [0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 4, 5, 6, 1]}])");
	ASSERT_TRUE(Load());
	EXPECT_EQ(Object(GUID_A).transform.rotation, Norv::Vector3<float>());
	EXPECT_EQ(Object(GUID_A).transform.translation, Norv::Vector3<float>());
}

TEST_F(SceneLoader, FormBTransformThenTranslation)
{
	// A quarter turn about y, scaled by 3, moved to (4, 5, 6); then the translation replaced.
	myFolder.Write(InFormB(GUID_A), R"({"transform": [0, 0, -3, 0, 0, 3, 0, 0, 3, 0, 0, 0, 4, 5, 6, 1], "translation": [-1, -2, -3]})");
	ASSERT_TRUE(Load());
	const Norv::SceneTransform& someTransform = Object(GUID_A).transform;
	EXPECT_NEAR(someTransform.rotation.x, 0.0f, ANGLE_TOLERANCE);
	EXPECT_NEAR(someTransform.rotation.y, 90.0f, ANGLE_TOLERANCE);
	EXPECT_NEAR(someTransform.rotation.z, 0.0f, ANGLE_TOLERANCE);
	EXPECT_FLOAT_EQ(someTransform.scale.x, 3.0f);
	EXPECT_FLOAT_EQ(someTransform.scale.z, 3.0f);
	EXPECT_EQ(someTransform.translation, Norv::Vector3<float>(-1, -2, -3));
}

TEST_F(SceneLoader, PropertiesObjectIsReadInKeyOrder)
{
	myFolder.Write(InFormB(GUID_A), R"({"properties": {"b": {"name": "second", "type": "Int", "value": 2},
		"a": {"name": "first", "type": "Float", "value": 1}}})");
	ASSERT_TRUE(Load());
	const SceneObject& someObject = Object(GUID_A);
	ASSERT_EQ(someObject.properties.size(), 2u);
	EXPECT_EQ(someObject.properties[0].name, RegisterOrGetString("first"));
	EXPECT_EQ(someObject.properties[1].name, RegisterOrGetString("second"));
}

TEST_F(SceneLoader, EveryObjectWithoutAUuidIsReported)
{
	myFolder.Write(FORM_A_FILE, R"([{"name": "one"}, {"name": "two", "uuid": "nonsense"}, {"name": "three", "uuid": "00000000-0000-0000-0000-000000000000"}])");
	EXPECT_TRUE(Load());
	ASSERT_EQ(myScene.objects.size(), 1u);
	EXPECT_EQ(myScene.objects.at(0)->name, "three");
	EXPECT_EQ(myScene.pathCounts.at(StringId()), 6u);
	EXPECT_EQ(Occurrences(myErrors, "has no readable \"uuid\""), 3u);
	EXPECT_THAT(myErrors, HasSubstr("\"two\""));
	EXPECT_THAT(myErrors, HasSubstr("leveldata.json"));
}

TEST_F(SceneLoader, TextAfterTheFirstValueIsIgnored)
{
	myFolder.Write(InFormB(GUID_A), R"({"name": "kept"} trailing garbage {)");
	EXPECT_TRUE(Load()) << myErrors;
	EXPECT_EQ(Object(GUID_A).name, "kept");
}

// ---------------------------------------------------------------- broken files

TEST_F(SceneLoader, UnknownPropertyTypeIsReportedAndSkipped)
{
	myFolder.Write(InFormB(GUID_A), R"({"properties": [{"name": "speed", "type": "Velocity", "value": 3},
		{"name": "hp", "type": "Int", "value": 3}]})");
	EXPECT_TRUE(Load());
	ASSERT_EQ(Object(GUID_A).properties.size(), 1u);
	EXPECT_EQ(Object(GUID_A).properties[0].name, RegisterOrGetString("hp"));
	EXPECT_THAT(myErrors, HasSubstr("\"Velocity\""));
	EXPECT_THAT(myErrors, HasSubstr("\"speed\""));
	EXPECT_THAT(myErrors, HasSubstr(GUID_A));
}

TEST_F(SceneLoader, BrokenFormBFilesAreReportedAndTheRestLoads)
{
	myFolder.Write(InFormB(GUID_A), R"({"name": "good"})");
	myFolder.Write(InFormB(GUID_B), R"({"name": "trunc)");
	myFolder.Write(InFormB("0c000000-0000-4000-8000-00000000000c"), "");
	myFolder.Write(InFormB("0d000000-0000-4000-8000-00000000000d"), R"({"name": "good too"} trailing {)");
	myFolder.Write(InFormB("0e000000-0000-4000-8000-00000000000e"), "{\"name\": 1 2}");
	EXPECT_FALSE(Load());
	ASSERT_EQ(myScene.objects.size(), 2u);
	EXPECT_EQ(Object(GUID_A).name, "good");
	EXPECT_THAT(myErrors, HasSubstr(InFormB(GUID_B) + "\": it ends too early\n"));
	EXPECT_THAT(myErrors, HasSubstr("0c000000-0000-4000-8000-00000000000c\": it is empty\n"));
	EXPECT_THAT(myErrors, HasSubstr("0e000000-0000-4000-8000-00000000000e\": it goes wrong at line 1, column 12\n"));
	EXPECT_EQ(Occurrences(myErrors, "\n"), 3u) << myErrors;
	EXPECT_EQ(myErrors.find("json.exception"), std::string::npos) << myErrors;
}

// Every key of an object with a value of the wrong form, in either form of scene:
// that object alone is skipped, with one line naming the scene, the file, the
// object and the key in plain words; the objects before and after it load.
TEST_F(SceneLoader, AnObjectWithAValueOfTheWrongFormIsSkippedAloneWithOneLine)
{
	constexpr const char* GUID_C = "0c000000-0000-4000-8000-00000000000c";
	constexpr int FORM_A = 1, FORM_B = 2;
	struct Case
	{
		const char* myMembers; // of the broken object
		const char* myLine;    // what the line says after the object's label
		int myForms = FORM_A | FORM_B;
	};
	const Case someCases[] = {
		{ R"("name": "Door", "translation": "790,150,0")", R"("translation" must be a list of 3 numbers, but is the text "790,150,0")" },
		{ R"("name": "Door", "rotation": [0, "90", 0])", R"("rotation" must be a list of 3 numbers, but its value 2 is the text "90")" },
		{ R"("name": "Door", "scale": [2, 2])", R"("scale" must be a list of 3 numbers, but is a list of 2 values)" },
		{ R"("name": "Door", "scale": null)", R"("scale" must be a list of 3 numbers, but is null)" },
		{ R"("name": ["Door"])", R"("name" must be a text, but is a list of 1 value)" },
		{ R"("name": "Door", "path": false)", R"("path" must be a text, but is false)" },
		{ R"("name": "Door", "scale": "1\n1 1111111111111111111111111111111111111111")", R"("scale" must be a list of 3 numbers, but is the text "1\n1 111111111111111111111111111111111111"...)" },
		{ R"("name": "Door", "object-definition": 3)", R"("object-definition" must be a text, but is the number 3)" },
		{ R"("name": "Door", "properties": "targetScene")", R"("properties" must be a list of property entries, but is the text "targetScene")" },
		{ R"("name": "Door", "properties": [7])", R"(property entry 1 must be an object with "name", "type" and "value", but is the number 7)" },
		{ R"("name": "Door", "properties": [{"name": "a", "type": "Int", "value": 1}, {"type": "Int", "value": 1}])", R"(property entry 2: "name" must be a text, but is missing)" },
		{ R"("name": "Door", "properties": [{"name": "hp", "type": 4, "value": 1}])", R"(property "hp": "type" must be a text, but is the number 4)" },
		{ R"("name": "Door", "properties": {"x": {"name": "targetScene", "type": "StringId", "value": 12}})",
			R"(property "targetScene": "value" must be a value of type "StringId" (a text), but is the number 12)" },
		{ R"("name": "Door", "properties": [{"name": "colliderSize", "type": "Float2", "value": [1, "wide"]}])",
			R"(property "colliderSize": "value" must be a value of type "Float2" (a list of 2 numbers), but is a list of 2 values that does not read as one)" },
		{ R"("name": "Door", "properties": [{"name": "Model", "type": "Model", "value": {"path": 5}}])",
			R"(property "Model": "value" must be a value of type "Model" (an object of path texts), but is an object that does not read as one)" },
		{ R"("name": "Door", "uuid": 17)", R"("uuid" must be a text, but is the number 17)", FORM_A },
		{ R"("name": "Door", "transform": [1, 0, 0])", R"("transform" must be a list of 16 numbers, but is a list of 3 values)", FORM_B },
	};
	const std::string someScene = "Scene \"scenes/Hub.nvs\" (\"" + (myFolder.Path() / "game/scenes/").string();
	for (const Case& someCase : someCases)
	{
		for (const int someForm : { FORM_A, FORM_B })
		{
			if (!(someCase.myForms & someForm))
				continue;
			SCOPED_TRACE(std::string(someForm == FORM_A ? "one file: " : "a file per object: ") + someCase.myMembers);
			std::filesystem::remove_all(myFolder.Path() / "game/scenes");
			const std::string someBroken = std::string("{") + someCase.myMembers + "}";
			if (someForm == FORM_A)
				myFolder.Write(FORM_A_FILE, std::string(R"([{"name": "before", "uuid": ")") + GUID_A + "\"}, " + someBroken + R"(, {"name": "after", "uuid": ")" + GUID_C + "\"}]");
			else
			{
				myFolder.Write(InFormB(GUID_A), R"({"name": "before"})");
				myFolder.Write(InFormB(GUID_B), someBroken);
				myFolder.Write(InFormB(GUID_C), R"({"name": "after"})");
			}
			EXPECT_TRUE(Load());
			ASSERT_EQ(myScene.objects.size(), 2u);
			EXPECT_EQ(Object(GUID_A).name, "before");
			EXPECT_EQ(Object(GUID_C).name, "after");
			const std::string someObject = std::string(someCase.myMembers).starts_with("\"name\": \"Door\"") ? "object \"Door\""
				: someForm == FORM_A ? "object number 2" : "its object";
			const std::string someFile = someForm == FORM_A ? "Hub.leveldata_new/leveldata.json" : std::string("Hub.leveldata/") + GUID_B;
			EXPECT_EQ(myErrors, someScene + someFile + "\"): " + someObject + " is skipped: " + someCase.myLine + "\n");
		}
	}
}

TEST_F(SceneLoader, AFileThatHoldsNoSceneIsRefusedWhole)
{
	const std::pair<const char*, const char*> someCases[] = {
		{ R"([{"uuid": "0a000000-0000-4000-8000-00000000000a"}, {"na)", "it ends too early" },
		{ R"([{"uuid": "0a000000-0000-4000-8000-00000000000a"}] [ or not)", nullptr },
		{ "level one", "it goes wrong at line 1, column 1" },
		{ "[{\"uuid\": \"0a000000-0000-4000-8000-00000000000a\",\n  \"x\": 1e709325}]", "it holds a number too large at line 2, column 15" },
		{ R"("level one")", "it must hold a list of objects" },
	};
	for (const auto& [someText, someLine] : someCases)
	{
		myFolder.Write(FORM_A_FILE, someText);
		EXPECT_EQ(Load(), someLine == nullptr) << someText;
		EXPECT_EQ(myScene.objects.size(), someLine == nullptr ? 1u : 0u) << someText;
		if (someLine)
		{
			EXPECT_EQ(myErrors, "Could not read \"" + (myFolder.Path() / FORM_A_FILE).string() + "\": " + someLine + "\n");
		}
	}
}

TEST_F(SceneLoader, FormBPathThatIsAFileIsReported)
{
	myFolder.Write("game/scenes/Hub.leveldata", "not a folder");
	EXPECT_FALSE(Load());
	EXPECT_THAT(myErrors, HasSubstr("scenes/Hub.nvs"));
}
