#pragma once
// Test seam of the DDS loader: whether the GL driver takes S3TC (BC1-BC3) data,
// so tests reach the decoding path that drivers without the extension take.
#include <optional>

namespace Platform
{
	// While set, stands in for the driver's extension list; empty restores it.
	void SetS3tcSupportOverride(std::optional<bool> aIsSupported);
}
