// The editors of the asset-reference property types: path rows with drop
// targets and buttons, texture and shader pickers. Every write makes the
// pooled value unique first, so other holders of the slot keep theirs.
#include "model/ModelFactory.h"
#include "properties/AssetReferenceProperties.h"
#include "properties/PropertyEditors.h"
#include "properties/SceneReferenceProperty.h"

#include <imgui.h>

namespace Norv
{
	namespace
	{
		constexpr const char* MODEL_TEXTURE_LABELS[SCENE_TEXTURE_SLOTS] = { "[0] Color", "[1] Normal", "[2] Material", "[3] Effects" };
		constexpr const char* SPRITE_TEXTURE_LABELS[SCENE_TEXTURE_SLOTS] = { "[0] Color Texture", "[1] Normal Texture", "[2] Material Texture", "[3] Effects Texture" };

		// Without a label: the path (or "None") as text, never an edit.
		bool ShowPathOnly(const StringId& aPath)
		{
			ImGui::TextUnformatted(aPath.IsNull() ? "None" : aPath.c_str());
			return false;
		}

		// The path of a pooled record, edited as the "Path" row.
		template <typename Handle, typename Field>
		bool EditRecordPath(Handle& aValue, const char* aLabel, const char* aDescription, Field Handle::value_type::*aField, const char* aPayloadType)
		{
			if (!BeginLabelledProperty(aLabel, aDescription))
				return ShowPathOnly(aValue.Get().*aField);
			return EditAssetPath("Path", aValue.Get().*aField, aPayloadType, true, false, [&](StringId aPath) { aValue.Write().*aField = aPath; });
		}

		// One texture slot picker inside its own ID scope.
		template <typename Handle>
		bool EditTextureSlot(Handle& aValue, int aSlot, const char* aLabel, StringId aPath, StringId& (*aSlotOf)(typename Handle::value_type&, int))
		{
			ImGui::PushID(aSlot);
			const bool someChanged = EditAssetPath(aLabel, aPath, PAYLOAD_TEXTURE, false, false, [&](StringId aNew) { aSlotOf(aValue.Write(), aSlot) = aNew; });
			ImGui::PopID();
			return someChanged;
		}

		bool EditMeshTextures(SceneModelHandle& aValue, std::size_t aMesh)
		{
			bool someChanged = false;
			for (int someSlot = 0; someSlot < static_cast<int>(SCENE_TEXTURE_SLOTS); ++someSlot)
			{
				ImGui::PushID(someSlot);
				someChanged |= EditAssetPath(MODEL_TEXTURE_LABELS[someSlot], aValue.Get().myTextures[aMesh][someSlot], PAYLOAD_TEXTURE, false, false,
					[&](StringId aNew) { aValue.Write().myTextures[aMesh][someSlot] = aNew; });
				ImGui::PopID();
			}
			return someChanged;
		}

		bool EditModelTextures(SceneModelHandle& aValue)
		{
			const std::shared_ptr<Model> someModel = ModelFactory::GetInstance()->GetModel(aValue.Get().myPath.c_str());
			if (!someModel)
				return false;
			BeginPropertyRow(true);
			if (!ImGui::TreeNode("Textures"))
				return false;
			bool someChanged = false;
			const std::vector<MeshData>& someMeshes = someModel->GetMeshes();
			const std::size_t someCount = std::min(someMeshes.size(), MAX_MESHES_PER_MODEL);
			if (someCount == 1)
			{
				ImGui::PushID(0);
				someChanged |= EditMeshTextures(aValue, 0);
				ImGui::PopID();
			}
			else
				for (std::size_t i = 0; i < someCount; ++i)
				{
					ImGui::PushID(static_cast<int>(i));
					BeginPropertyRow(true);
					if (ImGui::TreeNode(someMeshes[i].myName.c_str()))
					{
						someChanged |= EditMeshTextures(aValue, i);
						ImGui::TreePop();
					}
					ImGui::PopID();
				}
			ImGui::TreePop();
			return someChanged;
		}

		bool EditModelShaders(SceneModelHandle& aValue)
		{
			BeginPropertyRow(true);
			if (!ImGui::TreeNode("Shaders"))
				return false;
			ImGui::PushID("Pixel Shader");
			const bool someChanged = EditAssetPath("Pixel Shader", aValue.Get().myPixelShader, PAYLOAD_SHADER, false, true, [&](StringId aNew) { aValue.Write().myPixelShader = aNew; });
			ImGui::PopID();
			ImGui::TreePop();
			return someChanged;
		}
	}

	bool PropertyValueOps<SceneReferenceHandle>::Edit(SceneReferenceHandle& aValue, const char* aLabel, const char* aDescription)
	{
		return EditRecordPath(aValue, aLabel, aDescription, &SceneReference::myScenePath, PAYLOAD_SCENE);
	}

	bool PropertyValueOps<AnimationClipHandle>::Edit(AnimationClipHandle& aValue, const char* aLabel, const char* aDescription)
	{
		return EditRecordPath(aValue, aLabel, aDescription, &AnimationClipReference::myClipPath, PAYLOAD_ANIMATION_CLIP);
	}

	bool PropertyValueOps<SceneModelHandle>::Edit(SceneModelHandle& aValue, const char* aLabel, const char* aDescription)
	{
		bool someChanged = EditRecordPath(aValue, aLabel, aDescription, &SceneModel::myPath, PAYLOAD_MODEL);
		if (!aLabel)
			return false;
		if (!aValue.Get().myPath.IsNull())
			someChanged |= EditModelTextures(aValue);
		someChanged |= EditModelShaders(aValue);
		return someChanged;
	}

	bool PropertyValueOps<SceneSpriteHandle>::Edit(SceneSpriteHandle& aValue, const char* aLabel, const char* aDescription)
	{
		if (!BeginLabelledProperty(aLabel, aDescription))
			return ShowPathOnly(aValue.Get().myTextures[0]);
		bool someChanged = false;
		for (int someSlot = 0; someSlot < static_cast<int>(SCENE_TEXTURE_SLOTS); ++someSlot)
			someChanged |= EditTextureSlot<SceneSpriteHandle>(aValue, someSlot, SPRITE_TEXTURE_LABELS[someSlot], aValue.Get().myTextures[someSlot],
				[](SceneSprite& aSprite, int aIndex) -> StringId& { return aSprite.myTextures[aIndex]; });
		BeginPropertyRow(true);
		const std::pair<const char*, Vector2<float> SceneSprite::*> someVectors[] = { { "Size", &SceneSprite::mySize }, { "Pivot", &SceneSprite::myPivot } };
		for (const auto& [someName, someField] : someVectors)
		{
			BeginPropertyRow(true);
			ImGui::Indent(0.0f);
			ImGui::TextUnformatted(someName);
			ImGui::Unindent(0.0f);
			BeginPropertyValue(true);
			Vector2<float> someVector = aValue.Get().*someField;
			if (ImGui::DragFloat2(someField == &SceneSprite::mySize ? "##size" : "##pivot", &someVector.x, 1.0f, 0.0f, 0.0f, "%.3f") && !(someVector == aValue.Get().*someField))
			{
				aValue.Write().*someField = someVector;
				someChanged = true;
			}
		}
		return someChanged;
	}

	bool PropertyValueOps<PoseAndMotion>::Edit(PoseAndMotion&, const char* aLabel, const char* aDescription)
	{
		if (!BeginLabelledProperty(aLabel, aDescription))
			ImGui::TextUnformatted("Pose");
		return false;
	}
}
