#pragma once
// Shared by D3D11CreateDevice and D3D11CreateDeviceAndSwapChain: a device and its
// immediate context over a GL context already made.
#include "d3d11/GlContext.h"
#include "d3d11/d3d11.h"

#include <functional>

HRESULT CreateDeviceOnContext(std::unique_ptr<Platform::impl::GlContext> aContext, ID3D11Device** aDevice, ID3D11DeviceContext** anImmediateContext);

namespace Platform::impl
{
	// The test seam of Map (TestSeams.h): true when a Map is to fail.
	bool ShouldMapFail();
	// Discards GL errors left by earlier calls, so the next check sees only its own.
	void DrainGlErrors();
}
