#pragma once
// Test seams of the d3d11 stand-in: fake adapters and failing maps, so tests
// can reach the paths real hardware takes rarely.
#include "d3d11/dxgi.h"

#include <functional>
#include <string>
#include <vector>

namespace Platform
{
	// The adapters CreateDXGIFactory lists instead of the GL renderer; empty restores.
	void SetAdapterListOverride(std::vector<DXGI_ADAPTER_DESC> anAdapters);
	// While set and returning true, every Map fails with E_FAIL; empty restores.
	void SetMapFailureOverride(std::function<bool()> aShouldFail);
	// How many times a swap chain's buffers were resized since the process started.
	unsigned GetSwapChainResizeCount();
	// An adapter description from a name and its dedicated memory in bytes.
	DXGI_ADAPTER_DESC MakeAdapterDesc(const std::wstring& aDescription, SIZE_T aDedicatedVideoMemory);
}
