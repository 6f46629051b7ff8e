#pragma once
// Ordering and hashing of string ids by their text, for containers whose order
// or hash must not depend on where the registry put the text. A null id counts
// as the empty text.
#include "stringRegistry/Fnv1a.h"
#include "stringRegistry/StringId.h"

namespace Norv
{
	// Byte-wise order of the texts (bytes unsigned, a text before its extensions).
	struct StringIdTextLess
	{
		bool operator()(const StringId& aLeft, const StringId& aRight) const { return aLeft.View() < aRight.View(); }
	};

	// 64-bit FNV-1a of the text; pair it with the id's own (pointer) equality.
	struct StringIdTextHash
	{
		size_t operator()(const StringId& aId) const noexcept { return static_cast<size_t>(Fnv1a64(aId.View())); }
	};
}
