#include "d3d11/d3d11.h"

#include "d3d11/DeviceCreation.h"
#include "d3d11/Formats.h"
#include "d3d11/GlEnums.h"
#include "d3d11/TestSeams.h"
#include "d3d11/TextureTransfer.h"

#include <epoxy/gl.h>
#include <malloc.h>

#include <algorithm>
#include <cstring>

using Microsoft::WRL::ComPtr;
using namespace Platform::impl;

namespace
{
	std::function<bool()> ourMapFailureOverride;

	struct SubresourceInfo
	{
		TextureRegion myRegion;
		GlFormat myFormat;
		size_t mySize = 0;
		UINT myRowPitch = 0;
	};

	SubresourceInfo DescribeSubresource(const D3D11_TEXTURE2D_DESC& aDesc, unsigned aGlName, unsigned aGlTarget, UINT aSubresource)
	{
		SubresourceInfo someInfo;
		const UINT someMip = aSubresource % aDesc.MipLevels;
		someInfo.myFormat = GetTextureFormat(aDesc.Format, aDesc.BindFlags);
		someInfo.myRegion = { aGlName, aGlTarget, someMip, aSubresource / aDesc.MipLevels, 0, 0,
			std::max(1u, aDesc.Width >> someMip), std::max(1u, aDesc.Height >> someMip) };
		someInfo.myRowPitch = RowPitch(someInfo.myFormat, someInfo.myRegion.myWidth);
		someInfo.mySize = static_cast<size_t>(someInfo.myRowPitch) * RowCount(someInfo.myFormat, someInfo.myRegion.myHeight);
		return someInfo;
	}

	D3D11_BLEND_DESC DefaultBlend()
	{
		D3D11_BLEND_DESC someDesc{};
		for (D3D11_RENDER_TARGET_BLEND_DESC& someTarget : someDesc.RenderTarget)
			someTarget = { FALSE, D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, D3D11_COLOR_WRITE_ENABLE_ALL };
		return someDesc;
	}

	// Stores aNew in aHeld; false when it held aNew already.
	template <typename T>
	bool Replace(ComPtr<T>& aHeld, T* aNew)
	{
		if (aHeld.Get() == aNew)
			return false;
		aHeld = aNew;
		return true;
	}

	void SetCapability(GLenum aCapability, bool anIsOn)
	{
		if (anIsOn)
			glEnable(aCapability);
		else
			glDisable(aCapability);
	}

	bool IsBuffer(ID3D11Resource* aResource)
	{
		D3D11_RESOURCE_DIMENSION someDimension;
		aResource->GetType(&someDimension);
		return someDimension == D3D11_RESOURCE_DIMENSION_BUFFER;
	}
}

namespace Platform
{
	void SetMapFailureOverride(std::function<bool()> aShouldFail)
	{
		ourMapFailureOverride = std::move(aShouldFail);
	}

	namespace impl
	{
		bool ShouldMapFail()
		{
			return ourMapFailureOverride && ourMapFailureOverride();
		}

		// The GL driver (the software rasterizer above all) allocates and frees its
		// per-frame vertex and bin memory anew every frame. With the C library's
		// defaults the freed top of the heap goes back to the kernel after each frame
		// and the next frame faults every page in again; keep it instead.
		constexpr int HEAP_TRIM_THRESHOLD_BYTES = 64 << 20;
		constexpr int SEPARATE_MAPPING_THRESHOLD_BYTES = 32 << 20;

		void KeepFrameMemoryInTheHeap()
		{
			mallopt(M_TRIM_THRESHOLD, HEAP_TRIM_THRESHOLD_BYTES);
			mallopt(M_MMAP_THRESHOLD, SEPARATE_MAPPING_THRESHOLD_BYTES);
		}

		void DrainGlErrors()
		{
			while (glGetError() != GL_NO_ERROR)
			{
			}
		}
	}
}

HRESULT CreateDeviceOnContext(std::unique_ptr<GlContext> aContext, ID3D11Device** aDevice, ID3D11DeviceContext** anImmediateContext)
{
	if (!aContext)
		return E_FAIL;
	KeepFrameMemoryInTheHeap();
	auto* someDevice = new ID3D11Device(std::move(aContext));
	auto* someContext = new ID3D11DeviceContext(someDevice);
	someDevice->myImmediateContext = someContext;
	if (anImmediateContext)
		*anImmediateContext = someContext;
	else
		someContext->Release(); // lives on only while something holds it
	if (aDevice)
		*aDevice = someDevice;
	else
		someDevice->Release();
	return S_OK;
}

// ---------------------------------------------------------------------------
// Life
// ---------------------------------------------------------------------------

ID3D11DeviceContext::ID3D11DeviceContext(ID3D11Device* aDevice) : ID3D11DeviceChild(aDevice)
{
	MakeDeviceCurrent();
	glCreateProgramPipelines(1, &myGlPipeline);
	glBindProgramPipeline(myGlPipeline);
	glCreateFramebuffers(1, &myGlFramebuffer);
	glCreateFramebuffers(1, &myGlClearFramebuffer);
	glBindFramebuffer(GL_DRAW_FRAMEBUFFER, myGlFramebuffer);
	glCreateVertexArrays(1, &myGlEmptyVertexArray);
	ClearState();
	// GL starts with its own defaults, not Direct3D's: send them once.
	ApplyBlendState();
	ApplyDepthStencilState();
	ApplyRasterizerState();
}

ID3D11DeviceContext::~ID3D11DeviceContext()
{
	ClearState();
	MakeDeviceCurrent();
	glDeleteProgramPipelines(1, &myGlPipeline);
	glDeleteFramebuffers(1, &myGlFramebuffer);
	glDeleteFramebuffers(1, &myGlClearFramebuffer);
	glDeleteVertexArrays(1, &myGlEmptyVertexArray);
	myDevice->myImmediateContext = nullptr;
}

void ID3D11DeviceContext::ClearState()
{
	MakeDeviceCurrent();
	IASetInputLayout(nullptr);
	for (VertexBufferBinding& someBinding : myVertexBuffers)
		someBinding = {};
	myIndexBuffer.Reset();
	myTopology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
	VSSetShader(nullptr, nullptr, 0);
	PSSetShader(nullptr, nullptr, 0);
	for (UINT i = 0; i < CONSTANT_BUFFER_SLOTS; ++i)
		SetConstantBuffers(i, 1, nullptr);
	for (UINT i = 0; i < RESOURCE_SLOTS; ++i)
		SetShaderResources(i, 1, nullptr);
	for (ComPtr<ID3D11SamplerState>& someSampler : mySamplers)
		someSampler.Reset();
	myAreSamplersDirty = true;
	OMSetRenderTargets(0, nullptr, nullptr);
	OMSetBlendState(nullptr, nullptr, 0xffffffff);
	OMSetDepthStencilState(nullptr, 0);
	RSSetState(nullptr);
}

void ID3D11DeviceContext::Flush()
{
	MakeDeviceCurrent();
	glFlush();
}

// ---------------------------------------------------------------------------
// Input assembly and shaders
// ---------------------------------------------------------------------------

void ID3D11DeviceContext::IASetInputLayout(ID3D11InputLayout* aLayout)
{
	if (myInputLayout.Get() == aLayout && aLayout)
		return;
	myInputLayout = aLayout;
	glBindVertexArray(aLayout ? aLayout->myGlVertexArray : myGlEmptyVertexArray);
	myAreVertexBindingsDirty = true;
}

void ID3D11DeviceContext::IASetVertexBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers, const UINT* aStrides, const UINT* anOffsets)
{
	// The vertex array is re-pointed at the next draw only when a binding changed.
	for (UINT i = 0; i < aCount && aStartSlot + i < VERTEX_BUFFER_SLOTS; ++i)
	{
		VertexBufferBinding& someBinding = myVertexBuffers[aStartSlot + i];
		ID3D11Buffer* someBuffer = aBuffers ? aBuffers[i] : nullptr;
		const UINT someStride = aStrides ? aStrides[i] : 0, someOffset = anOffsets ? anOffsets[i] : 0;
		if (someBinding.myBuffer.Get() == someBuffer && someBinding.myStride == someStride && someBinding.myOffset == someOffset)
			continue;
		someBinding = { someBuffer, someStride, someOffset };
		myAreVertexBindingsDirty = true;
	}
}

void ID3D11DeviceContext::IASetIndexBuffer(ID3D11Buffer* aBuffer, DXGI_FORMAT aFormat, UINT anOffset)
{
	if (myIndexBuffer.Get() == aBuffer && myIndexFormat == aFormat && myIndexOffset == anOffset)
		return;
	myIndexBuffer = aBuffer;
	myIndexFormat = aFormat;
	myIndexOffset = anOffset;
	myAreVertexBindingsDirty = true;
}

void ID3D11DeviceContext::IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY aTopology)
{
	myTopology = aTopology;
}

void ID3D11DeviceContext::VSSetShader(ID3D11VertexShader* aShader, ID3D11ClassLinkage* const*, UINT)
{
	if (!Replace(myVertexShader, aShader))
		return;
	glUseProgramStages(myGlPipeline, GL_VERTEX_SHADER_BIT, aShader ? aShader->myGlProgram : 0);
	myAreSamplersDirty = true;
}

void ID3D11DeviceContext::PSSetShader(ID3D11PixelShader* aShader, ID3D11ClassLinkage* const*, UINT)
{
	if (!Replace(myPixelShader, aShader))
		return;
	glUseProgramStages(myGlPipeline, GL_FRAGMENT_SHADER_BIT, aShader ? aShader->myGlProgram : 0);
	myAreSamplersDirty = true;
}

void ID3D11DeviceContext::GSSetShader(ID3D11GeometryShader*, ID3D11ClassLinkage* const*, UINT)
{
	// No geometry shader can exist here: the only shader to set is none.
}

void ID3D11DeviceContext::SetConstantBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers)
{
	for (UINT i = 0; i < aCount && aStartSlot + i < CONSTANT_BUFFER_SLOTS; ++i)
	{
		ID3D11Buffer* someBuffer = aBuffers ? aBuffers[i] : nullptr;
		if (Replace(myConstantBuffers[aStartSlot + i], someBuffer))
			glBindBufferBase(GL_UNIFORM_BUFFER, aStartSlot + i, someBuffer ? someBuffer->myGlName : 0);
	}
}

void ID3D11DeviceContext::VSSetConstantBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers)
{
	SetConstantBuffers(aStartSlot, aCount, aBuffers);
}

void ID3D11DeviceContext::PSSetConstantBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers)
{
	SetConstantBuffers(aStartSlot, aCount, aBuffers);
}

void ID3D11DeviceContext::SetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView* const* aViews)
{
	for (UINT i = 0; i < aCount && aStartSlot + i < RESOURCE_SLOTS; ++i)
	{
		ID3D11ShaderResourceView* someView = aViews ? aViews[i] : nullptr;
		if (Replace(myShaderResources[aStartSlot + i], someView))
			glBindTextureUnit(aStartSlot + i, someView ? someView->myGlName : 0);
	}
}

void ID3D11DeviceContext::VSSetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView* const* aViews)
{
	SetShaderResources(aStartSlot, aCount, aViews);
}

void ID3D11DeviceContext::PSSetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView* const* aViews)
{
	SetShaderResources(aStartSlot, aCount, aViews);
}

void ID3D11DeviceContext::PSGetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView** aViews)
{
	for (UINT i = 0; i < aCount; ++i)
	{
		ID3D11ShaderResourceView* someView = aStartSlot + i < RESOURCE_SLOTS ? myShaderResources[aStartSlot + i].Get() : nullptr;
		if (someView)
			someView->AddRef();
		aViews[i] = someView;
	}
}

void ID3D11DeviceContext::PSSetSamplers(UINT aStartSlot, UINT aCount, ID3D11SamplerState* const* aSamplers)
{
	for (UINT i = 0; i < aCount && aStartSlot + i < SAMPLER_SLOTS; ++i)
	{
		ID3D11SamplerState* someSampler = aSamplers ? aSamplers[i] : nullptr;
		if (Replace(mySamplers[aStartSlot + i], someSampler))
			myAreSamplersDirty = true;
	}
}

// ---------------------------------------------------------------------------
// Output merger and rasterizer
// ---------------------------------------------------------------------------

void ID3D11DeviceContext::OMSetRenderTargets(UINT aCount, ID3D11RenderTargetView* const* aViews, ID3D11DepthStencilView* aDepthView)
{
	myRenderTarget = aCount > 0 && aViews ? aViews[0] : nullptr;
	myDepthStencil = aDepthView;
	ApplyFramebuffer();
}

void ID3D11DeviceContext::ApplyFramebuffer()
{
	Attachments someWanted;
	if (myRenderTarget)
		someWanted = { myRenderTarget->myGlName, myRenderTarget->myMipSlice };
	if (myDepthStencil)
	{
		someWanted.myDepth = myDepthStencil->myGlName;
		someWanted.myDepthMip = myDepthStencil->myMipSlice;
		someWanted.myHasStencil = myDepthStencil->myHasStencil;
	}
	if (someWanted.myColor != myAttachments.myColor || someWanted.myColorMip != myAttachments.myColorMip)
	{
		glNamedFramebufferTexture(myGlFramebuffer, GL_COLOR_ATTACHMENT0, someWanted.myColor, static_cast<GLint>(someWanted.myColorMip));
		glNamedFramebufferDrawBuffer(myGlFramebuffer, someWanted.myColor ? GL_COLOR_ATTACHMENT0 : GL_NONE);
	}
	if (someWanted.myDepth != myAttachments.myDepth || someWanted.myDepthMip != myAttachments.myDepthMip || someWanted.myHasStencil != myAttachments.myHasStencil)
	{
		glNamedFramebufferTexture(myGlFramebuffer, GL_DEPTH_STENCIL_ATTACHMENT, 0, 0);
		if (someWanted.myDepth)
			glNamedFramebufferTexture(myGlFramebuffer, someWanted.myHasStencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
				someWanted.myDepth, static_cast<GLint>(someWanted.myDepthMip));
	}
	myAttachments = someWanted;
	SetSrgbWrites(myRenderTarget && myRenderTarget->myIsSrgb);
}

void ID3D11DeviceContext::SetSrgbWrites(bool anIsOn)
{
	if (myIsSrgbWriting == static_cast<int>(anIsOn))
		return;
	SetCapability(GL_FRAMEBUFFER_SRGB, anIsOn);
	myIsSrgbWriting = anIsOn;
}

void ID3D11DeviceContext::OMSetBlendState(ID3D11BlendState* aState, const FLOAT*, UINT)
{
	if (Replace(myBlendState, aState))
		ApplyBlendState();
}

void ID3D11DeviceContext::ApplyBlendState()
{
	const D3D11_BLEND_DESC someDesc = myBlendState ? myBlendState->myDesc : DefaultBlend();
	const D3D11_RENDER_TARGET_BLEND_DESC& someTarget = someDesc.RenderTarget[0];
	SetCapability(GL_BLEND, someTarget.BlendEnable);
	glBlendFuncSeparate(ToGlBlend(someTarget.SrcBlend), ToGlBlend(someTarget.DestBlend), ToGlBlend(someTarget.SrcBlendAlpha), ToGlBlend(someTarget.DestBlendAlpha));
	glBlendEquationSeparate(ToGlBlendOp(someTarget.BlendOp), ToGlBlendOp(someTarget.BlendOpAlpha));
	const UINT8 someMask = someTarget.RenderTargetWriteMask;
	glColorMask(someMask & D3D11_COLOR_WRITE_ENABLE_RED, someMask & D3D11_COLOR_WRITE_ENABLE_GREEN, someMask & D3D11_COLOR_WRITE_ENABLE_BLUE, someMask & D3D11_COLOR_WRITE_ENABLE_ALPHA);
	SetCapability(GL_SAMPLE_ALPHA_TO_COVERAGE, someDesc.AlphaToCoverageEnable);
}

void ID3D11DeviceContext::OMSetDepthStencilState(ID3D11DepthStencilState* aState, UINT)
{
	if (Replace(myDepthStencilState, aState))
		ApplyDepthStencilState();
}

void ID3D11DeviceContext::ApplyDepthStencilState()
{
	const D3D11_DEPTH_STENCIL_DESC someDesc = myDepthStencilState ? myDepthStencilState->myDesc
		: D3D11_DEPTH_STENCIL_DESC{ TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS, FALSE };
	SetCapability(GL_DEPTH_TEST, someDesc.DepthEnable);
	glDepthMask(someDesc.DepthWriteMask == D3D11_DEPTH_WRITE_MASK_ALL ? GL_TRUE : GL_FALSE);
	glDepthFunc(ToGlComparison(someDesc.DepthFunc));
}

void ID3D11DeviceContext::RSSetState(ID3D11RasterizerState* aState)
{
	if (Replace(myRasterizerState, aState))
		ApplyRasterizerState();
}

void ID3D11DeviceContext::ApplyRasterizerState()
{
	const D3D11_RASTERIZER_DESC someDesc = myRasterizerState ? myRasterizerState->myDesc
		: D3D11_RASTERIZER_DESC{ D3D11_FILL_SOLID, D3D11_CULL_BACK, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE };
	glPolygonMode(GL_FRONT_AND_BACK, someDesc.FillMode == D3D11_FILL_WIREFRAME ? GL_LINE : GL_FILL);
	SetCapability(GL_CULL_FACE, someDesc.CullMode != D3D11_CULL_NONE);
	if (someDesc.CullMode != D3D11_CULL_NONE)
		glCullFace(someDesc.CullMode == D3D11_CULL_FRONT ? GL_FRONT : GL_BACK);
	// Winding as seen on screen, which the upper-left clip origin keeps.
	glFrontFace(someDesc.FrontCounterClockwise ? GL_CCW : GL_CW);
	SetCapability(GL_DEPTH_CLAMP, !someDesc.DepthClipEnable);
}

void ID3D11DeviceContext::RSSetViewports(UINT aCount, const D3D11_VIEWPORT* aViewports)
{
	if (aCount == 0 || !aViewports)
		return;
	const D3D11_VIEWPORT& someViewport = aViewports[0];
	glViewportIndexedf(0, someViewport.TopLeftX, someViewport.TopLeftY, someViewport.Width, someViewport.Height);
	glDepthRangeIndexed(0, someViewport.MinDepth, someViewport.MaxDepth);
}

// ---------------------------------------------------------------------------
// Clears
// ---------------------------------------------------------------------------

void ID3D11DeviceContext::ClearRenderTargetView(ID3D11RenderTargetView* aView, const FLOAT aColor[4])
{
	if (!aView)
		return;
	MakeDeviceCurrent();
	// A bound target is cleared where it is bound, as part of the work queued for it.
	GLuint someFramebuffer = myGlFramebuffer;
	if (aView->myGlName != myAttachments.myColor || aView->myMipSlice != myAttachments.myColorMip)
	{
		someFramebuffer = myGlClearFramebuffer;
		glNamedFramebufferTexture(myGlClearFramebuffer, GL_DEPTH_STENCIL_ATTACHMENT, 0, 0);
		glNamedFramebufferTexture(myGlClearFramebuffer, GL_COLOR_ATTACHMENT0, aView->myGlName, static_cast<GLint>(aView->myMipSlice));
		glNamedFramebufferDrawBuffer(myGlClearFramebuffer, GL_COLOR_ATTACHMENT0);
	}
	SetSrgbWrites(aView->myIsSrgb);
	glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
	glClearNamedFramebufferfv(someFramebuffer, GL_COLOR, 0, aColor);
	ApplyBlendState();
	SetSrgbWrites(myRenderTarget && myRenderTarget->myIsSrgb);
}

void ID3D11DeviceContext::ClearDepthStencilView(ID3D11DepthStencilView* aView, UINT aFlags, FLOAT aDepth, UINT8 aStencil)
{
	if (!aView)
		return;
	MakeDeviceCurrent();
	GLuint someFramebuffer = myGlFramebuffer;
	if (aView->myGlName != myAttachments.myDepth || aView->myMipSlice != myAttachments.myDepthMip)
	{
		someFramebuffer = myGlClearFramebuffer;
		glNamedFramebufferTexture(myGlClearFramebuffer, GL_COLOR_ATTACHMENT0, 0, 0);
		glNamedFramebufferDrawBuffer(myGlClearFramebuffer, GL_NONE);
		glNamedFramebufferTexture(myGlClearFramebuffer, GL_DEPTH_STENCIL_ATTACHMENT, 0, 0);
		glNamedFramebufferTexture(myGlClearFramebuffer, aView->myHasStencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT, aView->myGlName, static_cast<GLint>(aView->myMipSlice));
	}
	glDepthMask(GL_TRUE);
	if (aView->myHasStencil && (aFlags & D3D11_CLEAR_STENCIL) && (aFlags & D3D11_CLEAR_DEPTH))
		glClearNamedFramebufferfi(someFramebuffer, GL_DEPTH_STENCIL, 0, aDepth, aStencil);
	else if (aFlags & D3D11_CLEAR_DEPTH)
		glClearNamedFramebufferfv(someFramebuffer, GL_DEPTH, 0, &aDepth);
	else if (aView->myHasStencil && (aFlags & D3D11_CLEAR_STENCIL))
	{
		const GLint someStencil = aStencil;
		glClearNamedFramebufferiv(someFramebuffer, GL_STENCIL, 0, &someStencil);
	}
	ApplyDepthStencilState();
}

// ---------------------------------------------------------------------------
// Draws
// ---------------------------------------------------------------------------

void ID3D11DeviceContext::UploadMapped(ID3D11Buffer* aBuffer, std::uint64_t aEnd)
{
	if (!aBuffer)
		return;
	const UINT someEnd = static_cast<UINT>(std::min<std::uint64_t>(aEnd, aBuffer->myDesc.ByteWidth));
	const UINT someStart = aBuffer->myUploadedBytes;
	if (someEnd <= someStart)
		return;
	glNamedBufferSubData(aBuffer->myGlName, someStart, someEnd - someStart, aBuffer->myCpuData.data() + someStart);
	aBuffer->myUploadedBytes = someEnd;
}

bool ID3D11DeviceContext::PrepareDraw(std::uint64_t aVertexEnd, std::uint64_t anInstanceEnd, bool anIsIndexed)
{
	if (!myVertexShader || !myPixelShader)
		return false;
	if (myInputLayout)
		for (UINT someSlot = 0; someSlot < VERTEX_BUFFER_SLOTS; ++someSlot)
		{
			const VertexBufferBinding& someBinding = myVertexBuffers[someSlot];
			if (!(myInputLayout->myUsedSlotMask & (1u << someSlot)) || !someBinding.myBuffer)
				continue;
			const bool someIsPerInstance = myInputLayout->myPerInstanceSlotMask & (1u << someSlot);
			const bool someReadsAll = someBinding.myStride == 0 || (anIsIndexed && !someIsPerInstance);
			UploadMapped(someBinding.myBuffer.Get(), someReadsAll ? ~0ull : someBinding.myOffset + someBinding.myStride * (someIsPerInstance ? anInstanceEnd : aVertexEnd));
		}
	if (anIsIndexed)
		UploadMapped(myIndexBuffer.Get());
	for (const ComPtr<ID3D11Buffer>& someBuffer : myConstantBuffers)
		UploadMapped(someBuffer.Get());
	if (myAreVertexBindingsDirty && myInputLayout)
	{
		const GLuint someArray = myInputLayout->myGlVertexArray;
		for (UINT someSlot = 0; someSlot < VERTEX_BUFFER_SLOTS; ++someSlot)
		{
			if (!(myInputLayout->myUsedSlotMask & (1u << someSlot)))
				continue;
			const VertexBufferBinding& someBinding = myVertexBuffers[someSlot];
			glVertexArrayVertexBuffer(someArray, someSlot, someBinding.myBuffer ? someBinding.myBuffer->myGlName : 0, someBinding.myOffset, static_cast<GLsizei>(someBinding.myStride));
		}
		glVertexArrayElementBuffer(someArray, myIndexBuffer ? myIndexBuffer->myGlName : 0);
	}
	myAreVertexBindingsDirty = false;
	if (myAreSamplersDirty)
	{
		for (const ID3D11ShaderStage* someStage : { static_cast<const ID3D11ShaderStage*>(myVertexShader.Get()), static_cast<const ID3D11ShaderStage*>(myPixelShader.Get()) })
			for (const auto& [someUnit, someSlot] : someStage->mySamplerUses)
				glBindSampler(someUnit, someSlot < SAMPLER_SLOTS && mySamplers[someSlot] ? mySamplers[someSlot]->myGlName : 0);
		myAreSamplersDirty = false;
	}
	return true;
}

void ID3D11DeviceContext::Draw(UINT aVertexCount, UINT aStartVertex)
{
	if (aVertexCount == 0 || !PrepareDraw(std::uint64_t(aStartVertex) + aVertexCount, 1, false))
		return;
	glDrawArrays(ToGlTopology(myTopology), static_cast<GLint>(aStartVertex), static_cast<GLsizei>(aVertexCount));
}

void ID3D11DeviceContext::DrawIndexed(UINT anIndexCount, UINT aStartIndex, INT aBaseVertex)
{
	if (anIndexCount == 0 || !myIndexBuffer || !PrepareDraw(0, 1, true))
		return;
	const bool someIsShort = myIndexFormat == DXGI_FORMAT_R16_UINT;
	const uintptr_t someOffset = myIndexOffset + static_cast<uintptr_t>(aStartIndex) * (someIsShort ? 2 : 4);
	glDrawElementsBaseVertex(ToGlTopology(myTopology), static_cast<GLsizei>(anIndexCount), someIsShort ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
		reinterpret_cast<const void*>(someOffset), aBaseVertex);
}

void ID3D11DeviceContext::DrawInstanced(UINT aVertexCountPerInstance, UINT anInstanceCount, UINT aStartVertex, UINT aStartInstance)
{
	if (aVertexCountPerInstance == 0 || anInstanceCount == 0 || !PrepareDraw(std::uint64_t(aStartVertex) + aVertexCountPerInstance, std::uint64_t(aStartInstance) + anInstanceCount, false))
		return;
	glDrawArraysInstancedBaseInstance(ToGlTopology(myTopology), static_cast<GLint>(aStartVertex), static_cast<GLsizei>(aVertexCountPerInstance),
		static_cast<GLsizei>(anInstanceCount), aStartInstance);
}

// ---------------------------------------------------------------------------
// Resource contents
// ---------------------------------------------------------------------------

HRESULT ID3D11DeviceContext::Map(ID3D11Resource* aResource, UINT aSubresource, D3D11_MAP aType, UINT, D3D11_MAPPED_SUBRESOURCE* aMapped)
{
	if (!aResource || !aMapped)
		return E_INVALIDARG;
	*aMapped = {};
	if (ShouldMapFail())
		return E_FAIL;
	MakeDeviceCurrent();
	if (IsBuffer(aResource))
	{
		auto* someBuffer = static_cast<ID3D11Buffer*>(aResource);
		const UINT someSize = someBuffer->myDesc.ByteWidth;
		if (someBuffer->myIsMapped || aSubresource != 0)
			return E_INVALIDARG;
		if (someBuffer->myDesc.Usage == D3D11_USAGE_STAGING)
			aMapped->pData = someBuffer->myCpuData.data();
		else if (someBuffer->myDesc.Usage == D3D11_USAGE_DYNAMIC && aType == D3D11_MAP_WRITE_DISCARD)
		{
			// Written in memory and uploaded by the draws that read it, as far as they
			// read (see UploadMapped); the GL driver keeps what queued draws read.
			// The memory stays from map to map, so nothing is allocated or cleared per map.
			someBuffer->myCpuData.resize(someSize);
			aMapped->pData = someBuffer->myCpuData.data();
		}
		else if (someBuffer->myDesc.Usage == D3D11_USAGE_DYNAMIC && aType == D3D11_MAP_WRITE_NO_OVERWRITE)
		{
			UploadMapped(someBuffer);
			aMapped->pData = glMapNamedBufferRange(someBuffer->myGlName, 0, someSize, GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
			someBuffer->myIsMappedInGl = aMapped->pData != nullptr;
		}
		if (!aMapped->pData)
			return E_INVALIDARG;
		someBuffer->myIsMapped = true;
		aMapped->RowPitch = someSize;
		aMapped->DepthPitch = someSize;
		return S_OK;
	}

	auto* someTexture = static_cast<ID3D11Texture2D*>(aResource);
	const D3D11_TEXTURE2D_DESC& someDesc = someTexture->myDesc;
	if (aSubresource >= someDesc.MipLevels * someDesc.ArraySize || someTexture->myMappedSubresource >= 0)
		return E_INVALIDARG;
	const SubresourceInfo someInfo = DescribeSubresource(someDesc, someTexture->myGlName, someTexture->myGlTarget, aSubresource);
	if (someDesc.Usage == D3D11_USAGE_STAGING)
		aMapped->pData = someTexture->myCpuData[aSubresource].data();
	else if (someDesc.Usage == D3D11_USAGE_DYNAMIC && aType == D3D11_MAP_WRITE_DISCARD)
	{
		someTexture->myCpuData.resize(1);
		someTexture->myCpuData[0].resize(someInfo.mySize);
		aMapped->pData = someTexture->myCpuData[0].data();
	}
	else
		return E_INVALIDARG;
	someTexture->myMappedSubresource = static_cast<int>(aSubresource);
	aMapped->RowPitch = someInfo.myRowPitch;
	aMapped->DepthPitch = static_cast<UINT>(someInfo.mySize);
	return S_OK;
}

void ID3D11DeviceContext::Unmap(ID3D11Resource* aResource, UINT aSubresource)
{
	if (!aResource)
		return;
	MakeDeviceCurrent();
	if (IsBuffer(aResource))
	{
		auto* someBuffer = static_cast<ID3D11Buffer*>(aResource);
		if (!someBuffer->myIsMapped)
			return;
		someBuffer->myIsMapped = false;
		if (someBuffer->myDesc.Usage == D3D11_USAGE_STAGING)
			return;
		if (someBuffer->myIsMappedInGl)
			glUnmapNamedBuffer(someBuffer->myGlName);
		else
			someBuffer->myUploadedBytes = 0;
		someBuffer->myIsMappedInGl = false;
		return;
	}
	auto* someTexture = static_cast<ID3D11Texture2D*>(aResource);
	if (someTexture->myMappedSubresource != static_cast<int>(aSubresource))
		return;
	someTexture->myMappedSubresource = -1;
	if (someTexture->myDesc.Usage == D3D11_USAGE_DYNAMIC)
		UploadMappedTexture(someTexture, aSubresource);
}

void ID3D11DeviceContext::UploadMappedTexture(ID3D11Texture2D* aTexture, UINT aSubresource)
{
	const SubresourceInfo someInfo = DescribeSubresource(aTexture->myDesc, aTexture->myGlName, aTexture->myGlTarget, aSubresource);
	UploadTexture(someInfo.myRegion, someInfo.myFormat, aTexture->myCpuData[0].data(), someInfo.myRowPitch);
}

void ID3D11DeviceContext::UpdateSubresource(ID3D11Resource* aResource, UINT aSubresource, const D3D11_BOX* aBox, const void* aData, UINT aRowPitch, UINT)
{
	if (!aResource || !aData)
		return;
	MakeDeviceCurrent();
	if (IsBuffer(aResource))
	{
		auto* someBuffer = static_cast<ID3D11Buffer*>(aResource);
		const UINT someSize = someBuffer->myDesc.ByteWidth;
		const UINT someStart = aBox ? std::min(aBox->left, someSize) : 0;
		const UINT someEnd = aBox ? std::clamp(aBox->right, someStart, someSize) : someSize;
		if (someBuffer->myDesc.Usage == D3D11_USAGE_STAGING)
			std::memcpy(someBuffer->myCpuData.data() + someStart, aData, someEnd - someStart);
		else
		{
			UploadMapped(someBuffer);
			glNamedBufferSubData(someBuffer->myGlName, someStart, someEnd - someStart, aData);
		}
		return;
	}
	auto* someTexture = static_cast<ID3D11Texture2D*>(aResource);
	const D3D11_TEXTURE2D_DESC& someDesc = someTexture->myDesc;
	if (aSubresource >= someDesc.MipLevels * someDesc.ArraySize || someTexture->myGlName == 0)
		return;
	SubresourceInfo someInfo = DescribeSubresource(someDesc, someTexture->myGlName, someTexture->myGlTarget, aSubresource);
	if (aBox)
	{
		if (aBox->right <= aBox->left || aBox->bottom <= aBox->top || aBox->right > someInfo.myRegion.myWidth || aBox->bottom > someInfo.myRegion.myHeight)
			return;
		someInfo.myRegion.myX = aBox->left;
		someInfo.myRegion.myY = aBox->top;
		someInfo.myRegion.myWidth = aBox->right - aBox->left;
		someInfo.myRegion.myHeight = aBox->bottom - aBox->top;
	}
	UploadTexture(someInfo.myRegion, someInfo.myFormat, aData, aRowPitch);
}

void ID3D11DeviceContext::CopyResource(ID3D11Resource* aDestination, ID3D11Resource* aSource)
{
	if (!aDestination || !aSource || aDestination == aSource)
		return;
	MakeDeviceCurrent();
	D3D11_RESOURCE_DIMENSION someDestinationType, someSourceType;
	aDestination->GetType(&someDestinationType);
	aSource->GetType(&someSourceType);
	if (someDestinationType != someSourceType)
		return;
	if (someDestinationType == D3D11_RESOURCE_DIMENSION_BUFFER)
	{
		auto* someTo = static_cast<ID3D11Buffer*>(aDestination);
		auto* someFrom = static_cast<ID3D11Buffer*>(aSource);
		const UINT someSize = std::min(someTo->myDesc.ByteWidth, someFrom->myDesc.ByteWidth);
		UploadMapped(someFrom);
		UploadMapped(someTo);
		if (someFrom->myGlName && someTo->myGlName)
			glCopyNamedBufferSubData(someFrom->myGlName, someTo->myGlName, 0, 0, someSize);
		else if (someFrom->myGlName)
			glGetNamedBufferSubData(someFrom->myGlName, 0, someSize, someTo->myCpuData.data());
		else if (someTo->myGlName)
			glNamedBufferSubData(someTo->myGlName, 0, someSize, someFrom->myCpuData.data());
		else
			std::memcpy(someTo->myCpuData.data(), someFrom->myCpuData.data(), someSize);
		return;
	}
	auto* someTo = static_cast<ID3D11Texture2D*>(aDestination);
	auto* someFrom = static_cast<ID3D11Texture2D*>(aSource);
	const D3D11_TEXTURE2D_DESC& someDesc = someTo->myDesc;
	const D3D11_TEXTURE2D_DESC& someFromDesc = someFrom->myDesc;
	if (someDesc.Width != someFromDesc.Width || someDesc.Height != someFromDesc.Height || someDesc.MipLevels != someFromDesc.MipLevels
		|| someDesc.ArraySize != someFromDesc.ArraySize || !AreViewCompatible(someDesc.Format, someFromDesc.Format))
		return;
	const UINT someSubresources = someDesc.MipLevels * someDesc.ArraySize;
	for (UINT i = 0; i < someSubresources; ++i)
	{
		// Read through the destination's format: a staging copy keeps its own channel order.
		const SubresourceInfo someToInfo = DescribeSubresource(someDesc, someTo->myGlName, someTo->myGlTarget, i);
		const SubresourceInfo someFromInfo = DescribeSubresource(someFromDesc, someFrom->myGlName, someFrom->myGlTarget, i);
		if (someFrom->myGlName && !someTo->myGlName)
		{
			GlFormat someReadFormat = someToInfo.myFormat;
			if (someFromInfo.myFormat.myIsDepth)
				someReadFormat = someFromInfo.myFormat;
			DownloadTexture(someFromInfo.myRegion, someReadFormat, someTo->myCpuData[i].data(), someTo->myCpuData[i].size());
		}
		else if (!someFrom->myGlName && someTo->myGlName)
			UploadTexture(someToInfo.myRegion, someToInfo.myFormat, someFrom->myCpuData[i].data(), someToInfo.myRowPitch);
		else if (!someFrom->myGlName && !someTo->myGlName)
			someTo->myCpuData[i] = someFrom->myCpuData[i];
		else
			glCopyImageSubData(someFrom->myGlName, someFrom->myGlTarget, static_cast<GLint>(someFromInfo.myRegion.myMip), 0, 0, static_cast<GLint>(someFromInfo.myRegion.mySlice),
				someTo->myGlName, someTo->myGlTarget, static_cast<GLint>(someToInfo.myRegion.myMip), 0, 0, static_cast<GLint>(someToInfo.myRegion.mySlice),
				static_cast<GLsizei>(someToInfo.myRegion.myWidth), static_cast<GLsizei>(someToInfo.myRegion.myHeight), 1);
	}
}

void ID3D11DeviceContext::GenerateMips(ID3D11ShaderResourceView* aView)
{
	if (!aView)
		return;
	MakeDeviceCurrent();
	glGenerateTextureMipmap(aView->myGlName);
}
