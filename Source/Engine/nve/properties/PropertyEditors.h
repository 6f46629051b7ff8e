#pragma once
// Shared pieces of the property editors (Dear ImGui). Each editor lays its
// property out as one row of a two-column table the caller has begun: label and
// help marker in column 0, widget in column 1. The game never opens an ImGui
// frame; an editing host does, and may offer its asset browser's selection.
#include "properties/PropertyVector.h"
#include "stringRegistry/StringId.h"

#include <string>
#include <vector>

namespace Norv
{
	// The asset selected in a host's asset browser; null unless a host sets it.
	// The asset pickers show "Set From AssetBrowser" only when it is set.
	extern StringId (*AssetBrowserSelectionHook)();

	// Drag-and-drop payload types: file extensions.
	inline constexpr const char* PAYLOAD_MODEL = ".fbx";
	inline constexpr const char* PAYLOAD_TEXTURE = ".dds";
	inline constexpr const char* PAYLOAD_SHADER = ".hlsl";
	inline constexpr const char* PAYLOAD_SCENE = ".nvs";
	inline constexpr const char* PAYLOAD_ANIMATION_CLIP = ".nvac";

	void BeginPropertyRow(bool aNoSeparator);
	void BeginPropertyValue(bool aNoSeparator);
	void HelpMarker(const char* aDescription, bool aSameLine);
	// The label row of an editor with a label: label, optional help marker, then
	// the value column. False (nothing drawn) without a label.
	bool BeginLabelledProperty(const char* aLabel, const char* aDescription);

	// The text of a dropped payload, read within its size (up to the first NUL).
	std::string ReadPayloadText(const void* aData, int aDataSize);
	// The path dropped with aPayloadType on the last item, interned; null for none.
	StringId AcceptDroppedPath(const char* aPayloadType);
	// aPath without a trailing ".hlsl".
	std::string WithoutShaderExtension(std::string aPath);

	// A row "aLabel: path or None" taking drops of aPayloadType, then the
	// "Set From AssetBrowser" / "Clear" buttons. aPath is written only through
	// aWrite, which makes the value unique first; true when the path changed.
	template <typename Write>
	bool EditAssetPath(const char* aLabel, StringId aPath, const char* aPayloadType, bool aIndentLabel, bool aStripShaderExtension, Write&& aWrite);

	// Vector editing steps, applied after the items are drawn.
	// The first "element%d" key no item has.
	StringId NextVectorItemKey(const PropertyVector& aVector);
	// Moves the item aFrom to aTo; nothing (false) when aTo is taken or the same.
	bool RenameVectorItem(PropertyVector& aVector, StringId aFrom, StringId aTo);
	// A new element type empties the vector; false when it is the current one.
	bool SetVectorElementType(PropertyVector& aVector, const PropertyTypeBase* aType);
	// The names the element-type list offers: every type but "Vector".
	std::vector<StringId> ElementTypeChoices();

	namespace impl
	{
		bool EditPathRows(const char* aLabel, StringId aPath, const char* aPayloadType, bool aIndentLabel, bool aStripShaderExtension, StringId& aNewPath);
	}

	template <typename Write>
	bool EditAssetPath(const char* aLabel, StringId aPath, const char* aPayloadType, bool aIndentLabel, bool aStripShaderExtension, Write&& aWrite)
	{
		StringId someNewPath;
		if (!impl::EditPathRows(aLabel, aPath, aPayloadType, aIndentLabel, aStripShaderExtension, someNewPath) || someNewPath == aPath)
			return false;
		aWrite(someNewPath);
		return true;
	}
}
