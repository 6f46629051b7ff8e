// The asset-reference property types: their json forms, defaults and errors,
// and copy-on-write through reading json.
#include "Support/JsonErrors.h"
#include "properties/AssetReferenceProperties.h"
#include "properties/Property.h"
#include "properties/SceneReferenceProperty.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>

using nlohmann::json;
using NorvTest::ThrowsJsonError;

namespace
{
	template <typename T>
	const Norv::PropertyTypeBase* TypeOf() { return &Norv::PropertyType<T>::ourInstance; }

	const Norv::SceneModel& ModelOf(const Norv::Property& aProperty) { return aProperty.TryGet<Norv::SceneModelHandle>()->Get(); }
	const Norv::SceneSprite& SpriteOf(const Norv::Property& aProperty) { return aProperty.TryGet<Norv::SceneSpriteHandle>()->Get(); }
}

TEST(ModelProperty, ReadsPathTexturesAndShadersAndLeavesTheRestNull)
{
	const Norv::Property someEmpty(TypeOf<Norv::SceneModelHandle>(), json::object());
	const Norv::SceneModel& someNone = ModelOf(someEmpty);
	EXPECT_TRUE(someNone.myPath.IsNull());
	EXPECT_TRUE(someNone.myPixelShader.IsNull());
	for (const auto& someMesh : someNone.myTextures)
		for (const Norv::StringId& someSlot : someMesh)
			EXPECT_TRUE(someSlot.IsNull());

	const Norv::Property someProperty(TypeOf<Norv::SceneModelHandle>(),
		json::parse(R"({ "path": "Models/Hero.fbx", "pixelShader": "Shaders/Toon", "textures": [ ["C.dds", "N.dds"], "Only.dds", null, [], ["x"] ] })"));
	const Norv::SceneModel& someModel = ModelOf(someProperty);
	EXPECT_STREQ(someModel.myPath.c_str(), "Models/Hero.fbx");
	EXPECT_STREQ(someModel.myPixelShader.c_str(), "Shaders/Toon");
	EXPECT_TRUE(someModel.myVertexShader.IsNull());
	EXPECT_STREQ(someModel.myTextures[0][0].c_str(), "C.dds");
	EXPECT_STREQ(someModel.myTextures[0][1].c_str(), "N.dds");
	EXPECT_TRUE(someModel.myTextures[0][2].IsNull());
	EXPECT_STREQ(someModel.myTextures[1][0].c_str(), "Only.dds");
	EXPECT_TRUE(someModel.myTextures[2][0].IsNull());

	// Written back: four meshes of four slots, and read again the same record.
	json someJson;
	someProperty.ToJson(someJson);
	ASSERT_EQ(someJson["textures"].size(), 4u);
	EXPECT_EQ(someJson["textures"][3].size(), 4u);
	EXPECT_EQ(someJson["textures"][0][1], "N.dds");
	EXPECT_EQ(someJson["vertexShader"], "");
	const Norv::Property someAgain(TypeOf<Norv::SceneModelHandle>(), someJson);
	EXPECT_EQ(ModelOf(someAgain).myTextures[1][0], someModel.myTextures[1][0]);
	EXPECT_EQ(ModelOf(someAgain).myPath, someModel.myPath);
}

TEST(ModelProperty, RejectsNonObjectsAndNonStringPaths)
{
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneModelHandle>(), json::array()); }, 306, "cannot use value() with array"));
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneModelHandle>(), json::parse(R"({ "path": 5 })")); }, 302, "type must be string, but is number"));
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneModelHandle>(), json::parse(R"({ "textures": [[1]] })")); }, 302, "type must be string, but is number"));
	// "textures" that is no array is read as its own elements, not skipped.
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneModelHandle>(), json::parse(R"({ "textures": 7 })")); }, 302, "type must be string, but is number"));
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneModelHandle>(), json::parse(R"({ "textures": [true] })")); }, 302, "type must be string, but is boolean"));
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneModelHandle>(), json::parse(R"({ "textures": { "body": [false] } })")); }, 302, "type must be string, but is boolean"));
	const Norv::Property someOneString(TypeOf<Norv::SceneModelHandle>(), json::parse(R"({ "textures": "Skin.dds" })"));
	EXPECT_STREQ(ModelOf(someOneString).myTextures[0][0].c_str(), "Skin.dds");
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::AnimationClipHandle>(), json("clip")); }, 306, "cannot use value() with string"));
}

TEST(SpriteProperty, TexturesOverrideTexturePathAndNonObjectsKeepTheDefault)
{
	const Norv::Property someDefault(TypeOf<Norv::SceneSpriteHandle>(), json("not an object"));
	EXPECT_TRUE(SpriteOf(someDefault).myTextures[0].IsNull());
	EXPECT_EQ(SpriteOf(someDefault).mySize, (Norv::Vector2<float>{ 100, 100 }));
	EXPECT_EQ(SpriteOf(someDefault).myPivot, (Norv::Vector2<float>{ 0.5f, 0.5f }));

	const Norv::Property someSprite(TypeOf<Norv::SceneSpriteHandle>(), json::parse(R"({ "texturePath": "A", "textures": ["B"], "pivot": [0, 1], "size": [true, 3] })"));
	EXPECT_STREQ(SpriteOf(someSprite).myTextures[0].c_str(), "B");
	EXPECT_EQ(SpriteOf(someSprite).myPivot, (Norv::Vector2<float>{ 0, 1 }));
	EXPECT_EQ(SpriteOf(someSprite).mySize, (Norv::Vector2<float>{ 1, 3 }));
	const Norv::Property someOnlyPath(TypeOf<Norv::SceneSpriteHandle>(), json::parse(R"({ "texturePath": "A" })"));
	EXPECT_STREQ(SpriteOf(someOnlyPath).myTextures[0].c_str(), "A");

	json someJson;
	someSprite.ToJson(someJson);
	EXPECT_FALSE(someJson.contains("texturePath"));
	EXPECT_EQ(someJson["textures"], json::parse(R"(["B", "", "", ""])"));
	EXPECT_TRUE(someJson["pivot"][0].is_number_float());
}

TEST(SpriteProperty, ShortOrWrongPivotAndSizeAreJsonErrors)
{
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneSpriteHandle>(), json::parse(R"({ "pivot": 1 })")); }, 305, "cannot use operator[] with a numeric argument with number"));
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneSpriteHandle>(), json::parse(R"({ "size": ["a", 1] })")); }, 302, "type must be number, but is string"));
	EXPECT_TRUE(ThrowsJsonError([] { Norv::Property(TypeOf<Norv::SceneSpriteHandle>(), json::parse(R"({ "size": [1] })")); }, 401, "array index 1 is out of range"));
}

TEST(AnimationClipAndPoseProperties, RoundTripTheirForms)
{
	const Norv::Property someClip(TypeOf<Norv::AnimationClipHandle>(), json::parse(R"({ "clip_path": "Anims/Run.fbx" })"));
	json someJson;
	someClip.ToJson(someJson);
	EXPECT_EQ(someJson, json::parse(R"({ "clip_path": "Anims/Run.fbx" })"));
	const Norv::Property someNone(TypeOf<Norv::AnimationClipHandle>(), json::object());
	EXPECT_TRUE(someNone.TryGet<Norv::AnimationClipHandle>()->Get().myClipPath.IsNull());

	const Norv::Property somePose(TypeOf<Norv::PoseAndMotion>(), json::parse(R"({ "anything": [1, 2] })"));
	const Norv::PoseAndMotion someZero;
	EXPECT_EQ(std::memcmp(somePose.TryGet<Norv::PoseAndMotion>()->myBytes, someZero.myBytes, sizeof(someZero.myBytes)), 0);
	json somePoseJson = 5;
	somePose.ToJson(somePoseJson);
	EXPECT_EQ(somePoseJson, json::object());
}

TEST(AssetReferenceProperties, ReadingJsonIntoASharedSlotLeavesTheOtherHolderAlone)
{
	Norv::Property someFirst(TypeOf<Norv::SceneSpriteHandle>(), json::parse(R"({ "textures": ["Old.dds"] })"));
	const Norv::Property someSecond(someFirst);
	EXPECT_EQ(someFirst.TryGet<Norv::SceneSpriteHandle>()->GetUseCount(), 2);
	TypeOf<Norv::SceneSpriteHandle>()->FromJson(someFirst.TryGet<Norv::SceneSpriteHandle>(), json::parse(R"({ "textures": ["New.dds"] })"));
	EXPECT_STREQ(SpriteOf(someFirst).myTextures[0].c_str(), "New.dds");
	EXPECT_STREQ(SpriteOf(someSecond).myTextures[0].c_str(), "Old.dds");
	EXPECT_EQ(someSecond.TryGet<Norv::SceneSpriteHandle>()->GetUseCount(), 1);
}
