#include "properties/PropertyEditors.h"

#include "properties/PropertyType.h"
#include "stringRegistry/StringRegistry.h"

#include <imgui.h>

#include <cstdio>
#include <cstring>

namespace Norv
{
	StringId (*AssetBrowserSelectionHook)() = nullptr;

	namespace
	{
		constexpr float HELP_WRAP_FONT_SIZES = 35.0f;
		constexpr const char* HELP_GLYPH = "\xEE\x82\x82"; // U+E082 of the icon font
		constexpr const char* SHADER_EXTENSION = ".hlsl";
	}

	// ---------------------------------------------------------------- rows

	void BeginPropertyRow(bool aNoSeparator)
	{
		ImGui::TableNextRow(0, 0.0f);
		ImGui::TableSetColumnIndex(0);
		if (!aNoSeparator)
			ImGui::Separator();
		ImGui::AlignTextToFramePadding();
	}

	void BeginPropertyValue(bool aNoSeparator)
	{
		ImGui::TableSetColumnIndex(1);
		if (!aNoSeparator)
			ImGui::Separator();
		ImGui::PushItemWidth(-1.0f);
	}

	void HelpMarker(const char* aDescription, bool aSameLine)
	{
		if (aSameLine)
			ImGui::SameLine(0.0f, -1.0f);
		ImGui::TextDisabled("%s", HELP_GLYPH);
		// This ImGui has no BeginItemTooltip: hovering opens the tooltip.
		if (ImGui::IsItemHovered())
		{
			ImGui::BeginTooltip();
			ImGui::PushTextWrapPos(ImGui::GetFontSize() * HELP_WRAP_FONT_SIZES);
			ImGui::TextUnformatted(aDescription);
			ImGui::PopTextWrapPos();
			ImGui::EndTooltip();
		}
	}

	bool BeginLabelledProperty(const char* aLabel, const char* aDescription)
	{
		if (!aLabel)
			return false;
		BeginPropertyRow(false);
		ImGui::TextUnformatted(aLabel); // a label is data, never a format
		if (aDescription && *aDescription)
			HelpMarker(aDescription, true);
		BeginPropertyValue(false);
		return true;
	}

	// ---------------------------------------------------------------- paths

	std::string ReadPayloadText(const void* aData, int aDataSize)
	{
		if (!aData || aDataSize <= 0)
			return {};
		const char* someText = static_cast<const char*>(aData);
		const void* someEnd = std::memchr(someText, '\0', static_cast<std::size_t>(aDataSize));
		return std::string(someText, someEnd ? static_cast<const char*>(someEnd) : someText + aDataSize);
	}

	StringId AcceptDroppedPath(const char* aPayloadType)
	{
		StringId someDropped;
		if (ImGui::BeginDragDropTarget())
		{
			if (const ImGuiPayload* somePayload = ImGui::AcceptDragDropPayload(aPayloadType))
				someDropped = StringRegistry::RegisterOrGetString(ReadPayloadText(somePayload->Data, somePayload->DataSize));
			ImGui::EndDragDropTarget();
		}
		return someDropped;
	}

	std::string WithoutShaderExtension(std::string aPath)
	{
		const std::size_t someLength = std::strlen(SHADER_EXTENSION);
		if (aPath.size() >= someLength && aPath.compare(aPath.size() - someLength, someLength, SHADER_EXTENSION) == 0)
			aPath.resize(aPath.size() - someLength);
		return aPath;
	}

	namespace impl
	{
		bool EditPathRows(const char* aLabel, StringId aPath, const char* aPayloadType, bool aIndentLabel, bool aStripShaderExtension, StringId& aNewPath)
		{
			bool someIsChosen = false;
			BeginPropertyRow(true);
			if (aIndentLabel)
				ImGui::Indent(0.0f);
			ImGui::TextUnformatted(aLabel);
			if (aIndentLabel)
				ImGui::Unindent(0.0f);
			BeginPropertyValue(true);
			ImGui::TextUnformatted(aPath.IsNull() ? "None" : aPath.c_str());
			if (const StringId someDropped = AcceptDroppedPath(aPayloadType); !someDropped.IsNull())
			{
				aNewPath = aStripShaderExtension ? StringRegistry::RegisterOrGetString(WithoutShaderExtension(someDropped.c_str())) : someDropped;
				someIsChosen = true;
			}

			BeginPropertyRow(true);
			BeginPropertyValue(true);
			if (AssetBrowserSelectionHook)
			{
				if (ImGui::Button("Set From AssetBrowser"))
				{
					aNewPath = AssetBrowserSelectionHook();
					someIsChosen = true;
				}
				ImGui::SameLine(0.0f, -1.0f);
			}
			if (ImGui::Button("Clear") && !aPath.IsNull())
			{
				aNewPath = StringId();
				someIsChosen = true;
			}
			return someIsChosen;
		}
	}

	// ---------------------------------------------------------------- vectors

	StringId NextVectorItemKey(const PropertyVector& aVector)
	{
		char someKey[32];
		for (unsigned someNumber = 0;; ++someNumber)
		{
			std::snprintf(someKey, sizeof(someKey), "element%u", someNumber);
			const StringId someId = StringRegistry::RegisterOrGetString(someKey);
			if (!aVector.myItems.contains(someId))
				return someId;
		}
	}

	bool RenameVectorItem(PropertyVector& aVector, StringId aFrom, StringId aTo)
	{
		if (aFrom == aTo || aVector.myItems.contains(aTo))
			return false;
		const auto someItem = aVector.myItems.find(aFrom);
		if (someItem == aVector.myItems.end())
			return false;
		Property someValue = std::move(someItem->second);
		aVector.myItems.erase(someItem);
		aVector.myItems.emplace(aTo, std::move(someValue));
		return true;
	}

	bool SetVectorElementType(PropertyVector& aVector, const PropertyTypeBase* aType)
	{
		if (aType == aVector.myElementType)
			return false;
		aVector.myItems.clear();
		aVector.myElementType = aType;
		return true;
	}

	std::vector<StringId> ElementTypeChoices()
	{
		const StringId someVector = StringRegistry::RegisterOrGetString("Vector");
		std::vector<StringId> someChoices;
		for (const StringId& someName : PropertyTypeBase::GetAllTypes())
			if (someName != someVector)
				someChoices.push_back(someName);
		return someChoices;
	}
}
