#include "Support/ExecutableFolder.h"
#include "properties/PlainPropertyTypes.h"
#include "scene/ObjectDefinition.h"
#include "settings/settings.h"
#include "stringRegistry/StringRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

using Norv::ObjectDefinition;
using Norv::ObjectDefinitionRegistry;
using Norv::PropertyDefinition;
using Norv::SceneObject;
using Norv::StringId;
using Norv::StringRegistry::RegisterOrGetString;
using testing::HasSubstr;

namespace
{
	// A definition with an Int "hp" (per instance), a Float "speed" (not per
	// instance) and a StringId "label" (per instance).
	constexpr const char* GUARD_DEFINITION = R"({"parent-object-definition": "Enemy", "properties": [
		{"name": "hp", "group": "Stats", "description": "Hit points", "is-dynamic": true, "is-per-instance": true, "type": "Int", "value": 3},
		{"name": "speed", "is-dynamic": false, "is-per-instance": false, "type": "Float", "value": 1.5},
		{"name": "label", "is-dynamic": false, "is-per-instance": true, "type": "StringId", "value": "guard"}]})";

	constexpr uid_t UNPRIVILEGED_USER = 65534; // "nobody"

	const Norv::PropertyTypeBase* IntType() { return &Norv::PropertyType<std::int32_t>::ourInstance; }
	const Norv::PropertyTypeBase* FloatType() { return &Norv::PropertyType<float>::ourInstance; }

	Norv::PropertyOverride Override(const char* aName, const Norv::PropertyTypeBase* aType, const nlohmann::json& aValue)
	{
		return { RegisterOrGetString(aName), aType, Norv::Property(aType, aValue) };
	}
}

class ObjectDefinitions : public ::testing::Test
{
protected:
	void SetUp() override
	{
		myFolder.WriteSettings(R"({"window_settings": {"title": "T"}, "assets_path": {"engine": "engine", "game": "game"}})");
		ASSERT_TRUE(Norv::LoadSettings("Game.json"));
	}

	// Scans the game assets folder, capturing both output streams.
	void Register()
	{
		testing::internal::CaptureStdout();
		testing::internal::CaptureStderr();
		Norv::RegisterObjectDefinitionFiles(myRegistry, Norv::Settings::GetGameAssetsPath().string());
		myOutput = testing::internal::GetCapturedStdout();
		myErrors = testing::internal::GetCapturedStderr();
	}

	std::vector<PropertyDefinition> Collect(const SceneObject& aObject) const
	{
		std::vector<PropertyDefinition> someResult;
		Norv::CollectObjectProperties(aObject, myRegistry, someResult);
		return someResult;
	}

	SceneObject Guard() const
	{
		SceneObject someObject;
		someObject.definition = RegisterOrGetString("Guard");
		return someObject;
	}

	NorvTest::ExecutableFolder myFolder;
	ObjectDefinitionRegistry myRegistry;
	std::string myOutput;
	std::string myErrors;
};

// ---------------------------------------------------------------- reading and registering

TEST_F(ObjectDefinitions, ReadsEveryFieldOfADefinition)
{
	myFolder.Write("game/objects/enemies/Guard.nvo", GUARD_DEFINITION);
	Register();
	const ObjectDefinition* someGuard = myRegistry.Find(RegisterOrGetString("Guard"));
	ASSERT_NE(someGuard, nullptr) << myErrors;
	EXPECT_EQ(someGuard->path, "objects/enemies/Guard.nvo");
	EXPECT_EQ(someGuard->parent, RegisterOrGetString("Enemy"));
	ASSERT_EQ(someGuard->properties.size(), 3u);
	const PropertyDefinition& someHp = someGuard->properties[0];
	EXPECT_EQ(someHp.name, RegisterOrGetString("hp"));
	EXPECT_EQ(someHp.type, IntType());
	EXPECT_EQ(*someHp.value.TryGet<std::int32_t>(), 3);
	EXPECT_EQ(someHp.flags, Norv::PROPERTY_FLAG_DYNAMIC | Norv::PROPERTY_FLAG_PER_INSTANCE);
	EXPECT_EQ(someHp.group, RegisterOrGetString("Stats"));
	EXPECT_EQ(someHp.description, RegisterOrGetString("Hit points"));
	EXPECT_EQ(someGuard->properties[1].flags, 0u);
	EXPECT_TRUE(someGuard->properties[1].group.IsNull());
	EXPECT_TRUE(someGuard->properties[1].description.IsNull());
	EXPECT_TRUE(myOutput.empty());
	EXPECT_TRUE(myErrors.empty()) << myErrors;
}

TEST_F(ObjectDefinitions, EmptyParentIsNullAndPropertiesAreOptional)
{
	myFolder.Write("game/Crate.nvo", R"({"parent-object-definition": ""})");
	Register();
	const ObjectDefinition* someCrate = myRegistry.Find(RegisterOrGetString("Crate"));
	ASSERT_NE(someCrate, nullptr);
	EXPECT_TRUE(someCrate->parent.IsNull());
	EXPECT_TRUE(someCrate->properties.empty());
}

TEST_F(ObjectDefinitions, SameNameInTwoFoldersKeepsOneAndSaysSoOnce)
{
	myFolder.Write("game/a/Door.nvo", R"({"parent-object-definition": "A"})");
	myFolder.Write("game/b/Door.nvo", R"({"parent-object-definition": "B"})");
	Register();
	EXPECT_EQ(myRegistry.GetCount(), 1u);
	EXPECT_EQ(myOutput, "Multiple nvo files exist with same name. That is not allowed: Door\n");
	const ObjectDefinition* someDoor = myRegistry.Find(RegisterOrGetString("Door"));
	ASSERT_NE(someDoor, nullptr);
	// The first file the folder walk meets stays, whichever folder the file system lists first.
	std::string someFirst;
	for (const auto& someEntry : std::filesystem::recursive_directory_iterator(Norv::Settings::GetGameAssetsPath()))
		if (someFirst.empty() && someEntry.path().filename() == "Door.nvo")
			someFirst = someEntry.path().parent_path().filename().string() + "/Door.nvo";
	EXPECT_EQ(someDoor->path, someFirst);
	EXPECT_EQ(someDoor->parent, RegisterOrGetString(someFirst == "a/Door.nvo" ? "A" : "B"));
}

TEST_F(ObjectDefinitions, OnlyTheExactExtensionIsADefinition)
{
	myFolder.Write("game/Upper.NVO", R"({"parent-object-definition": ""})");
	myFolder.Write("game/Backup.nvo.bak", R"({"parent-object-definition": ""})");
	myFolder.Write("game/Real.nvo", R"({"parent-object-definition": ""})");
	std::filesystem::create_directories(myFolder.Path() / "game/Folder.nvo");
	Register();
	EXPECT_EQ(myRegistry.GetCount(), 1u);
	EXPECT_NE(myRegistry.Find(RegisterOrGetString("Real")), nullptr);
	EXPECT_TRUE(myErrors.empty()) << myErrors;
}

TEST_F(ObjectDefinitions, BrokenFilesAreReportedAndSkipped)
{
	const std::pair<const char*, const char*> someFiles[] = {
		{ "Truncated.nvo", R"({"parent-object-definition": "", "prop)" },
		{ "Empty.nvo", "" },
		{ "NoParent.nvo", R"({"properties": []})" },
		{ "NotAnObject.nvo", "[1, 2]" },
		{ "NoFlag.nvo", R"({"parent-object-definition": "", "properties": [{"name": "hp", "is-per-instance": true, "type": "Int", "value": 1}]})" },
		{ "BadValue.nvo", R"({"parent-object-definition": "", "properties": [{"name": "hp", "is-dynamic": false, "is-per-instance": true, "type": "Int", "value": "x"}]})" },
		{ "BadGroup.nvo", R"({"parent-object-definition": "", "properties": [{"name": "hp", "group": 2, "is-dynamic": false, "is-per-instance": true, "type": "Int"}]})" },
		{ "BadEntries.nvo", R"({"parent-object-definition": "", "properties": 5})" },
	};
	for (const auto& [someName, someText] : someFiles)
		myFolder.Write(std::string("game/") + someName, someText);
	std::string someDeep = R"({"parent-object-definition": "", "properties": [{"name": "v", "is-dynamic": false, "is-per-instance": false, "type": "Vector", "value": )";
	constexpr int DEEP_LEVELS = 20000;
	for (int someLevel = 0; someLevel < DEEP_LEVELS; ++someLevel)
		someDeep += R"({"elementType": "Vector", "items": {"a": )";
	someDeep += "{}" + std::string(2 * DEEP_LEVELS, '}') + "}]}";
	myFolder.Write("game/Deep.nvo", someDeep);
	myFolder.Write("game/Fine.nvo", R"({"parent-object-definition": ""})");
	Register();
	EXPECT_EQ(myRegistry.GetCount(), 1u);
	EXPECT_NE(myRegistry.Find(RegisterOrGetString("Fine")), nullptr);

	// One line a file: the file, and the property with the form it needs, in plain words.
	const auto Unused = [this](const char* aName) { return "Object definition \"" + (myFolder.Path() / "game" / aName).string() + "\" is not used: "; };
	const auto Unread = [this](const char* aName) { return "Could not read \"" + (myFolder.Path() / "game" / aName).string() + "\": "; };
	EXPECT_THAT(myErrors, HasSubstr(Unread("Truncated.nvo") + "it ends too early\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unread("Empty.nvo") + "it is empty\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("NoParent.nvo") + "\"parent-object-definition\" must be a text, but is missing\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("NotAnObject.nvo") + "the file must be one object with \"parent-object-definition\" and \"properties\", but is a list of 2 values\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("NoFlag.nvo") + "property \"hp\": \"is-dynamic\" must be true or false, but is missing\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("BadValue.nvo") + "property \"hp\": \"value\" must be a value of type \"Int\" (a number), but is the text \"x\"\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("BadGroup.nvo") + "property \"hp\": \"group\" must be a text, but is the number 2\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("BadEntries.nvo") + "\"properties\" must be a list of property entries, but is the number 5\n"));
	EXPECT_THAT(myErrors, HasSubstr(Unused("Deep.nvo") + "property \"v\": \"value\" must be a value of type \"Vector\""));
	EXPECT_EQ(std::count(myErrors.begin(), myErrors.end(), '\n'), 9) << myErrors;
	EXPECT_EQ(myErrors.find("json.exception"), std::string::npos) << myErrors;
}

// Folders the user may not read: one line each names the folder and why, and
// every other definition is registered, wherever the walk meets the folders.
TEST_F(ObjectDefinitions, FoldersThatCannotBeReadAreSkippedWithOneLineEachAndTheRestIsRead)
{
	constexpr const char* DEFINITION = R"({"parent-object-definition": ""})";
	const char* someLocked[] = { "tiles", "entities/enemies", "zz" };
	for (const char* someFolder : someLocked)
		myFolder.Write(std::string("game/definitions/") + someFolder + "/Locked" + std::to_string(someFolder[0]) + ".nvo", DEFINITION);
	const char* someReadable[] = { "definitions/props/Sky.nvo", "definitions/props/deeper/Bush.nvo", "definitions/entities/Door.nvo", "Root.nvo" };
	for (const char* somePath : someReadable)
		myFolder.Write(std::string("game/") + somePath, DEFINITION);
	for (const char* someFolder : someLocked)
		std::filesystem::permissions(myFolder.Path() / "game/definitions" / someFolder, std::filesystem::perms::none);

	testing::internal::CaptureStderr();
	{
		// The superuser may read any folder: the scan runs as an ordinary user then.
		const bool someIsSuperuser = geteuid() == 0;
		ASSERT_TRUE(!someIsSuperuser || seteuid(UNPRIVILEGED_USER) == 0);
		Norv::RegisterObjectDefinitionFiles(myRegistry, Norv::Settings::GetGameAssetsPath().string());
		ASSERT_TRUE(!someIsSuperuser || seteuid(0) == 0);
	}
	myErrors = testing::internal::GetCapturedStderr();
	for (const char* someFolder : someLocked)
	{
		std::filesystem::permissions(myFolder.Path() / "game/definitions" / someFolder, std::filesystem::perms::owner_all);
		EXPECT_THAT(myErrors, HasSubstr("The folder \"" + (myFolder.Path() / "game/definitions" / someFolder).string()
			+ "\" cannot be read (Permission denied); the object definitions in it are skipped\n"));
	}
	EXPECT_EQ(std::count(myErrors.begin(), myErrors.end(), '\n'), 3) << myErrors;
	EXPECT_EQ(myRegistry.GetCount(), 4u);
	for (const char* someName : { "Sky", "Bush", "Door", "Root" })
		EXPECT_NE(myRegistry.Find(RegisterOrGetString(someName)), nullptr) << someName;
}

TEST_F(ObjectDefinitions, UnknownPropertyTypeIsReportedAndTheEntrySkipped)
{
	myFolder.Write("game/Lamp.nvo", R"({"parent-object-definition": "", "properties": [
		{"name": "glow", "is-dynamic": false, "is-per-instance": true, "type": "Light", "value": 1},
		{"name": "on", "is-dynamic": false, "is-per-instance": true, "type": "Bool", "value": true}]})");
	Register();
	const ObjectDefinition* someLamp = myRegistry.Find(RegisterOrGetString("Lamp"));
	ASSERT_NE(someLamp, nullptr);
	ASSERT_EQ(someLamp->properties.size(), 1u);
	EXPECT_EQ(someLamp->properties[0].name, RegisterOrGetString("on"));
	EXPECT_THAT(myErrors, HasSubstr("\"Light\""));
	EXPECT_THAT(myErrors, HasSubstr("Lamp.nvo"));
}

TEST_F(ObjectDefinitions, MissingRootIsReportedAndRegistersNothing)
{
	testing::internal::CaptureStderr();
	Norv::RegisterObjectDefinitionFiles(myRegistry, (myFolder.Path() / "nowhere").string());
	EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("nowhere"));
	EXPECT_EQ(myRegistry.GetCount(), 0u);
}

// ---------------------------------------------------------------- merge

TEST_F(ObjectDefinitions, PerInstanceOverridesReplaceDefaultsInDefinitionOrder)
{
	myFolder.Write("game/Guard.nvo", GUARD_DEFINITION);
	Register();
	SceneObject someObject = Guard();
	someObject.properties.push_back(Override("label", &Norv::PropertyType<StringId>::ourInstance, "captain"));
	someObject.properties.push_back(Override("speed", FloatType(), 9.0));
	someObject.properties.push_back(Override("hp", IntType(), 10));
	someObject.properties.push_back(Override("extra", IntType(), 1));

	const std::vector<PropertyDefinition> someResult = Collect(someObject);
	ASSERT_EQ(someResult.size(), 3u);
	EXPECT_EQ(someResult[0].name, RegisterOrGetString("hp"));
	EXPECT_EQ(*someResult[0].value.TryGet<std::int32_t>(), 10);
	EXPECT_EQ(someResult[0].group, RegisterOrGetString("Stats"));
	EXPECT_EQ(someResult[0].flags, Norv::PROPERTY_FLAG_DYNAMIC | Norv::PROPERTY_FLAG_PER_INSTANCE);
	EXPECT_EQ(*someResult[1].value.TryGet<float>(), 1.5f); // not per instance
	EXPECT_EQ(*someResult[2].value.TryGet<StringId>(), RegisterOrGetString("captain"));

	// The definition's own defaults are untouched.
	EXPECT_EQ(*myRegistry.Find(RegisterOrGetString("Guard"))->properties[0].value.TryGet<std::int32_t>(), 3);
}

TEST_F(ObjectDefinitions, AWrongTypedFirstOverrideBlocksALaterRightOne)
{
	myFolder.Write("game/Guard.nvo", GUARD_DEFINITION);
	Register();
	SceneObject someObject = Guard();
	someObject.properties.push_back(Override("hp", FloatType(), 7.0));
	someObject.properties.push_back(Override("hp", IntType(), 8));
	EXPECT_EQ(*Collect(someObject)[0].value.TryGet<std::int32_t>(), 3);
}

TEST_F(ObjectDefinitions, ObjectsWithoutARegisteredDefinitionGetNothing)
{
	myFolder.Write("game/Guard.nvo", GUARD_DEFINITION);
	Register();
	SceneObject someUnnamed;
	someUnnamed.properties.push_back(Override("hp", IntType(), 8));
	EXPECT_TRUE(Collect(someUnnamed).empty());
	SceneObject someUnknown = someUnnamed;
	someUnknown.definition = RegisterOrGetString("Ghost");
	EXPECT_TRUE(Collect(someUnknown).empty());
	EXPECT_EQ(myRegistry.Find(StringId()), nullptr);
}

