// The editors of the plain property types: one widget each, true only when
// the widget reports an edit that changed the value.
#include "properties/PlainPropertyTypes.h"
#include "properties/PropertyEditors.h"
#include "stringRegistry/StringRegistry.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <string>

namespace Norv
{
	namespace
	{
		constexpr float DRAG_SPEED = 1.0f;
		constexpr const char* FLOAT_FORMAT = "%.3f";

		// Draws aWidget(value) in the label row's ID scope (bare without a label);
		// true when it reports an edit and the value differs from the one on entry.
		template <typename T, typename Widget>
		bool EditPlain(T& aValue, const char* aLabel, const char* aDescription, Widget&& aWidget)
		{
			const bool someHasLabel = BeginLabelledProperty(aLabel, aDescription);
			if (someHasLabel)
				ImGui::PushID(aLabel);
			const T someBefore = aValue;
			const bool someIsEdited = aWidget(aValue);
			if (someHasLabel)
				ImGui::PopID();
			return someIsEdited && !(aValue == someBefore);
		}
	}

	bool PropertyValueOps<std::int32_t>::Edit(std::int32_t& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](std::int32_t& v) { return ImGui::DragInt("##", &v, DRAG_SPEED, 0, 0, "%d", 0); });
	}

	bool PropertyValueOps<float>::Edit(float& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](float& v) { return ImGui::DragFloat("##", &v, DRAG_SPEED, 0.0f, 0.0f, FLOAT_FORMAT, 0); });
	}

	bool PropertyValueOps<Vector2<float>>::Edit(Vector2<float>& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](Vector2<float>& v) { return ImGui::DragFloat2("##", &v.x, DRAG_SPEED, 0.0f, 0.0f, FLOAT_FORMAT, 0); });
	}

	bool PropertyValueOps<Vector3<float>>::Edit(Vector3<float>& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](Vector3<float>& v) { return ImGui::DragFloat3("##", &v.x, DRAG_SPEED, 0.0f, 0.0f, FLOAT_FORMAT, 0); });
	}

	bool PropertyValueOps<Vector4<float>>::Edit(Vector4<float>& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](Vector4<float>& v) { return ImGui::DragFloat4("##", &v.x, DRAG_SPEED, 0.0f, 0.0f, FLOAT_FORMAT, 0); });
	}

	bool PropertyValueOps<Color>::Edit(Color& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](Color& v) { return ImGui::ColorEdit4("##", &v.r, ImGuiColorEditFlags_Float); });
	}

	bool PropertyValueOps<bool>::Edit(bool& aValue, const char* aLabel, const char* aDescription)
	{
		return EditPlain(aValue, aLabel, aDescription, [](bool& v) { return ImGui::Checkbox("##", &v); });
	}

	bool PropertyValueOps<StringId>::Edit(StringId& aValue, const char* aLabel, const char* aDescription)
	{
		// One shared text for every id editor, as long as the id (a fixed 256-byte
		// buffer would cut longer ids and store the cut text).
		static std::string ourText;
		return EditPlain(aValue, aLabel, aDescription, [](StringId& v) {
			ourText.assign(v.View());
			if (!ImGui::InputText("##", &ourText, 0) || ourText.size() >= STRING_REGISTRY_SIZE_LIMIT)
				return false; // an id holds at most the limit less its terminator
			v = StringRegistry::RegisterOrGetString(ourText);
			return true;
		});
	}
}
