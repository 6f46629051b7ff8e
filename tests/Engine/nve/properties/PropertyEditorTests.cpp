// The property editors inside a headless ImGui context: one table row each,
// true only for a real change, buttons pressed through ImGui's own activation.
#include "model/ModelFactory.h"
#include "properties/AssetReferenceProperties.h"
#include "properties/Property.h"
#include "properties/PropertyEditors.h"
#include "properties/SceneReferenceProperty.h"
#include "stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <nlohmann/json.hpp>

#include <functional>

using Norv::StringRegistry::RegisterOrGetString;

namespace
{
	constexpr float FRAME_SECONDS = 1.0f / 60.0f;

	template <typename T>
	const Norv::PropertyTypeBase* TypeOf() { return &Norv::PropertyType<T>::ourInstance; }

	// A context of its own, with a built font atlas and a display; each Frame
	// draws one window holding a two-column table.
	class EditorHarness
	{
	public:
		EditorHarness()
		{
			myContext = ImGui::CreateContext();
			ImGuiIO& someIo = ImGui::GetIO();
			someIo.DisplaySize = ImVec2(800.0f, 600.0f);
			someIo.DeltaTime = FRAME_SECONDS;
			someIo.IniFilename = nullptr;
			unsigned char* somePixels = nullptr;
			int someWidth = 0, someHeight = 0;
			someIo.Fonts->GetTexDataAsRGBA32(&somePixels, &someWidth, &someHeight);
		}
		~EditorHarness() { ImGui::DestroyContext(myContext); }

		// aDraw runs inside the table; returns what it returned.
		bool Frame(const std::function<bool()>& aDraw)
		{
			ImGui::NewFrame();
			ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
			ImGui::SetNextWindowSize(ImVec2(800.0f, 600.0f));
			ImGui::Begin("Properties");
			bool someResult = false;
			if (ImGui::BeginTable("Rows", 2))
			{
				someResult = aDraw();
				ImGui::EndTable();
			}
			ImGui::End();
			ImGui::Render();
			return someResult;
		}

		// Presses the item whose id aIdOf gives (asked inside the table) on the
		// next frame; returns that frame's result.
		bool Press(const std::function<ImGuiID()>& aIdOf, const std::function<bool()>& aDraw)
		{
			ImGuiID someId = 0;
			Frame([&] {
				someId = aIdOf();
				return aDraw();
			});
			ImGui::ActivateItem(someId);
			return Frame(aDraw);
		}

		// The id of aName in the table's own scope, or under one scope.
		static std::function<ImGuiID()> Named(const char* aName) { return [aName] { return ImGui::GetID(aName); }; }
		template <typename Scope>
		static std::function<ImGuiID()> Named(Scope aScope, const char* aName)
		{
			return [aScope, aName] {
				ImGui::PushID(aScope);
				const ImGuiID someId = ImGui::GetID(aName);
				ImGui::PopID();
				return someId;
			};
		}

	private:
		ImGuiContext* myContext;
	};

	Norv::StringId Selected() { return RegisterOrGetString("Scenes/Picked.nvs"); }
}

TEST(PropertyEditors, EveryTypeDrawsItsRowAndReportsNoChangeWithoutInput)
{
	EditorHarness someHarness;
	std::vector<Norv::Property> someProperties;
	for (const Norv::StringId& someName : Norv::PropertyTypeBase::GetAllTypes())
		someProperties.emplace_back(Norv::PropertyTypeBase::FindType(someName));
	someProperties.emplace_back(TypeOf<Norv::SceneModelHandle>(), nlohmann::json::parse(R"({ "path": "NoSuchModel.fbx" })"));
	for (int someFrame = 0; someFrame < 2; ++someFrame)
		for (Norv::Property& someProperty : someProperties)
		{
			EXPECT_FALSE(someHarness.Frame([&] { return someProperty.Edit("Value", "What the value is for"); })) << someProperty.GetType()->GetDisplayName();
			EXPECT_FALSE(someHarness.Frame([&] { return someProperty.Edit(nullptr, nullptr); })) << someProperty.GetType()->GetDisplayName();
		}
	Norv::ModelFactory::DestroyInstance();
}

TEST(PropertyEditors, CheckboxPressChangesTheValueAndReportsIt)
{
	EditorHarness someHarness;
	Norv::Property someFlag(TypeOf<bool>());
	EXPECT_TRUE(someHarness.Press(EditorHarness::Named("Visible", "##"), [&] { return someFlag.Edit("Visible", nullptr); }));
	EXPECT_TRUE(*someFlag.TryGet<bool>());
}

TEST(PropertyEditors, ClearOnANullPathChangesNothingAndOnASharedPathLeavesTheOtherHolder)
{
	EditorHarness someHarness;
	Norv::Property someScene(TypeOf<Norv::SceneReferenceHandle>());
	EXPECT_FALSE(someHarness.Press(EditorHarness::Named("Clear"), [&] { return someScene.Edit("Next", nullptr); }));

	Norv::Property someSet(TypeOf<Norv::SceneReferenceHandle>(), nlohmann::json::parse(R"({ "scene_path": "Scenes/Hub.nvs" })"));
	const Norv::Property someOther(someSet);
	EXPECT_TRUE(someHarness.Press(EditorHarness::Named("Clear"), [&] { return someSet.Edit("Next", nullptr); }));
	EXPECT_TRUE(someSet.TryGet<Norv::SceneReferenceHandle>()->Get().myScenePath.IsNull());
	EXPECT_STREQ(someOther.TryGet<Norv::SceneReferenceHandle>()->Get().myScenePath.c_str(), "Scenes/Hub.nvs");
}

TEST(PropertyEditors, TheAssetBrowserButtonAppearsOnlyWithAHookAndStoresItsSelection)
{
	EditorHarness someHarness;
	Norv::Property someScene(TypeOf<Norv::SceneReferenceHandle>());
	EXPECT_FALSE(someHarness.Press(EditorHarness::Named("Set From AssetBrowser"), [&] { return someScene.Edit("Next", nullptr); }));
	Norv::AssetBrowserSelectionHook = &Selected;
	EXPECT_TRUE(someHarness.Press(EditorHarness::Named("Set From AssetBrowser"), [&] { return someScene.Edit("Next", nullptr); }));
	EXPECT_FALSE(someHarness.Press(EditorHarness::Named("Set From AssetBrowser"), [&] { return someScene.Edit("Next", nullptr); })); // same id again
	Norv::AssetBrowserSelectionHook = nullptr;
	EXPECT_EQ(someScene.TryGet<Norv::SceneReferenceHandle>()->Get().myScenePath, Selected());
}

TEST(PropertyEditors, SpriteTexturePickersWriteTheirOwnSlot)
{
	EditorHarness someHarness;
	Norv::AssetBrowserSelectionHook = [] { return RegisterOrGetString("Textures/Leaf_N.dds"); };
	Norv::Property someSprite(TypeOf<Norv::SceneSpriteHandle>());
	const Norv::Property someOther(someSprite);
	EXPECT_TRUE(someHarness.Press(EditorHarness::Named(1, "Set From AssetBrowser"), [&] { return someSprite.Edit("Leaf", nullptr); }));
	Norv::AssetBrowserSelectionHook = nullptr;
	const Norv::SceneSprite& someValue = someSprite.TryGet<Norv::SceneSpriteHandle>()->Get();
	EXPECT_TRUE(someValue.myTextures[0].IsNull());
	EXPECT_STREQ(someValue.myTextures[1].c_str(), "Textures/Leaf_N.dds");
	// The default entry the other holder shares is untouched.
	EXPECT_TRUE(someOther.TryGet<Norv::SceneSpriteHandle>()->Get().myTextures[1].IsNull());
}

TEST(PropertyEditors, DroppedPayloadsAreReadWithinTheirSizeAndShaderPathsLoseTheirExtension)
{
	const char someUnterminated[] = { 'a', '.', 'd', 'd', 's', 'X', 'X' };
	EXPECT_EQ(Norv::ReadPayloadText(someUnterminated, 5), "a.dds");
	EXPECT_EQ(Norv::ReadPayloadText("b.fbx\0tail", 11), "b.fbx");
	EXPECT_EQ(Norv::ReadPayloadText(nullptr, 4), "");
	EXPECT_EQ(Norv::WithoutShaderExtension("Shaders/Toon.hlsl"), "Shaders/Toon");
	EXPECT_EQ(Norv::WithoutShaderExtension("Shaders/Toon"), "Shaders/Toon");
}

TEST(PropertyVectorEditing, RenamingOntoATakenKeyDoesNothingAndNewKeysCountUp)
{
	Norv::PropertyVector someVector;
	someVector.myElementType = TypeOf<std::int32_t>();
	EXPECT_STREQ(Norv::NextVectorItemKey(someVector).c_str(), "element0");
	someVector.myItems.emplace(RegisterOrGetString("element0"), Norv::Property(TypeOf<std::int32_t>()));
	someVector.myItems.emplace(RegisterOrGetString("b"), Norv::Property(TypeOf<std::int32_t>()));
	EXPECT_STREQ(Norv::NextVectorItemKey(someVector).c_str(), "element1");

	EXPECT_FALSE(Norv::RenameVectorItem(someVector, RegisterOrGetString("b"), RegisterOrGetString("element0")));
	EXPECT_EQ(someVector.myItems.size(), 2u);
	*someVector.myItems.at(RegisterOrGetString("b")).TryGet<std::int32_t>() = 7;
	EXPECT_TRUE(Norv::RenameVectorItem(someVector, RegisterOrGetString("b"), RegisterOrGetString("c")));
	EXPECT_EQ(*someVector.myItems.at(RegisterOrGetString("c")).TryGet<std::int32_t>(), 7);
	EXPECT_FALSE(someVector.myItems.contains(RegisterOrGetString("b")));

	EXPECT_FALSE(Norv::SetVectorElementType(someVector, TypeOf<std::int32_t>()));
	EXPECT_TRUE(Norv::SetVectorElementType(someVector, TypeOf<float>()));
	EXPECT_TRUE(someVector.myItems.empty());
}

TEST(PropertyVectorEditing, TheElementTypeListNeverOffersVector)
{
	const std::vector<Norv::StringId> someChoices = Norv::ElementTypeChoices();
	EXPECT_EQ(someChoices.size(), Norv::PropertyTypeBase::GetAllTypes().size() - 1);
	for (const Norv::StringId& someChoice : someChoices)
		EXPECT_STRNE(someChoice.c_str(), "Vector");
}

TEST(PropertyVectorEditing, AddButtonAddsADefaultItemOfTheElementType)
{
	EditorHarness someHarness;
	Norv::Property someVector(TypeOf<Norv::PropertyVector*>(), nlohmann::json::parse(R"({ "elementType": "Float", "items": { "a": 1 } })"));
	EXPECT_TRUE(someHarness.Press(EditorHarness::Named("+ Add"), [&] { return someVector.Edit(nullptr, nullptr); }));
	const Norv::PropertyVector& someValue = **someVector.TryGet<Norv::PropertyVector*>();
	ASSERT_EQ(someValue.myItems.size(), 2u);
	EXPECT_EQ(*someValue.myItems.at(RegisterOrGetString("element0")).TryGet<float>(), 0.0f);
}
