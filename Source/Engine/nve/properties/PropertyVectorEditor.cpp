// The "Vector" editor: the element-type combo, "+ Add", and per item a key
// field, a remove button and the item's own editor. At most one rename and one
// removal take effect per call, after the items are drawn.
#include "properties/PropertyEditors.h"
#include "properties/PropertyVector.h"
#include "stringRegistry/StringRegistry.h"

#include <imgui.h>

#include <cstdio>
#include <optional>
#include <utility>

namespace Norv
{
	namespace
	{
		constexpr std::size_t KEY_BUFFER_BYTES = 64;
		constexpr float KEY_WIDTH = -40.0f; // room for the remove button

		bool EditElementType(PropertyVector& aVector)
		{
			BeginPropertyRow(false);
			ImGui::TextUnformatted("Element Type");
			BeginPropertyValue(false);
			const char* someCurrent = aVector.myElementType ? aVector.myElementType->GetName().c_str() : "(none)";
			bool someChanged = false;
			if (ImGui::BeginCombo("##ElemType", someCurrent))
			{
				for (const StringId& someName : ElementTypeChoices())
				{
					const PropertyTypeBase* someType = PropertyTypeBase::FindType(someName);
					const bool someIsSelected = someType == aVector.myElementType;
					if (ImGui::Selectable(someName.c_str(), someIsSelected))
						someChanged |= SetVectorElementType(aVector, someType);
					if (someIsSelected)
						ImGui::SetItemDefaultFocus();
				}
				ImGui::EndCombo();
			}
			return someChanged;
		}
	}

	bool PropertyValueOps<PropertyVector*>::Edit(PropertyVector*& aValue, const char*, const char*)
	{
		if (!aValue)
			return false;
		PropertyVector& someVector = *aValue;
		bool someChanged = EditElementType(someVector);
		if (!someVector.myElementType)
			return someChanged;

		BeginPropertyRow(false);
		ImGui::TextUnformatted(" ");
		BeginPropertyValue(false);
		if (ImGui::Button("+ Add"))
		{
			someVector.myItems.emplace(NextVectorItemKey(someVector), Property(someVector.myElementType));
			someChanged = true;
		}

		std::optional<std::pair<StringId, StringId>> someRename;
		std::optional<StringId> someRemoval;
		int someIndex = 0;
		for (auto& [someKey, someItem] : someVector.myItems)
		{
			ImGui::PushID(someIndex++);
			ImGui::TableNextRow();
			ImGui::TableSetColumnIndex(0);
			ImGui::Separator();
			ImGui::AlignTextToFramePadding();
			char someBuffer[KEY_BUFFER_BYTES];
			std::snprintf(someBuffer, sizeof(someBuffer), "%s", someKey.c_str());
			ImGui::SetNextItemWidth(KEY_WIDTH);
			if (ImGui::InputText("##key", someBuffer, sizeof(someBuffer), ImGuiInputTextFlags_EnterReturnsTrue))
			{
				const StringId someNewKey = StringRegistry::RegisterOrGetString(someBuffer);
				if (someNewKey != someKey && !someVector.myItems.contains(someNewKey))
					someRename = { someKey, someNewKey };
			}
			ImGui::SameLine(0.0f, -1.0f);
			if (ImGui::SmallButton("X"))
				someRemoval = someKey;
			ImGui::TableSetColumnIndex(1);
			ImGui::Separator();
			ImGui::PushItemWidth(-1.0f);
			someChanged |= someItem.Edit(someKey.c_str(), nullptr);
			ImGui::PopItemWidth();
			ImGui::PopID();
		}
		if (someRename)
			someChanged |= RenameVectorItem(someVector, someRename->first, someRename->second);
		if (someRemoval)
			someChanged |= someVector.myItems.erase(*someRemoval) > 0;
		return someChanged;
	}
}
