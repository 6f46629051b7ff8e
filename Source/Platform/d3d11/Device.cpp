#include "d3d11/d3d11.h"

#include "d3d11/DeviceCreation.h"
#include "d3d11/Formats.h"
#include "d3d11/GlContext.h"
#include "d3d11/GlEnums.h"
#include "d3d11/SpirvSamplers.h"
#include "d3d11/TextureTransfer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <string>

using Microsoft::WRL::ComPtr;
using namespace Platform::impl;

namespace
{
	// The 2D texture behind a resource; null for any other resource or none.
	ID3D11Texture2D* AsTexture2D(ID3D11Resource* aResource)
	{
		D3D11_RESOURCE_DIMENSION someDimension = D3D11_RESOURCE_DIMENSION_UNKNOWN;
		if (aResource)
			aResource->GetType(&someDimension);
		return someDimension == D3D11_RESOURCE_DIMENSION_TEXTURE2D ? static_cast<ID3D11Texture2D*>(aResource) : nullptr;
	}

	constexpr UINT CONSTANT_BUFFER_ALIGNMENT_BYTES = 16;
	constexpr UINT ALL_MIPS = static_cast<UINT>(-1);
	constexpr float MAX_SUPPORTED_ANISOTROPY = 16.0f;

	template <typename T>
	HRESULT Hand(T* anObject, T** anOut)
	{
		*anOut = anObject;
		return S_OK;
	}

	UINT FullMipCount(UINT aWidth, UINT aHeight)
	{
		return static_cast<UINT>(std::bit_width(std::max(aWidth, aHeight)));
	}

	std::string GetShaderLog(GLuint aShader)
	{
		GLint someLength = 0;
		glGetShaderiv(aShader, GL_INFO_LOG_LENGTH, &someLength);
		std::string someLog(static_cast<size_t>(std::max(someLength, 1)), '\0');
		glGetShaderInfoLog(aShader, someLength, nullptr, someLog.data());
		return someLog;
	}

	std::string GetProgramLog(GLuint aProgram)
	{
		GLint someLength = 0;
		glGetProgramiv(aProgram, GL_INFO_LOG_LENGTH, &someLength);
		std::string someLog(static_cast<size_t>(std::max(someLength, 1)), '\0');
		glGetProgramInfoLog(aProgram, someLength, nullptr, someLog.data());
		return someLog;
	}

	// A separable program of one stage from SPIR-V; 0 (with the driver's log) on failure.
	GLuint CreateStageProgram(GLenum aStage, const void* aBytecode, SIZE_T aLength)
	{
		if (!IsSpirv(aBytecode, aLength))
		{
			std::fprintf(stderr, "d3d11: shader code is not SPIR-V (%zu bytes)\n", aLength);
			return 0;
		}
		const GLuint someShader = glCreateShader(aStage);
		glShaderBinary(1, &someShader, GL_SHADER_BINARY_FORMAT_SPIR_V, aBytecode, static_cast<GLsizei>(aLength));
		glSpecializeShader(someShader, "main", 0, nullptr, nullptr);
		GLint someIsCompiled = GL_FALSE;
		glGetShaderiv(someShader, GL_COMPILE_STATUS, &someIsCompiled);
		if (!someIsCompiled)
		{
			std::fprintf(stderr, "d3d11: shader rejected: %s\n", GetShaderLog(someShader).c_str());
			glDeleteShader(someShader);
			return 0;
		}
		const GLuint someProgram = glCreateProgram();
		glProgramParameteri(someProgram, GL_PROGRAM_SEPARABLE, GL_TRUE);
		glAttachShader(someProgram, someShader);
		glLinkProgram(someProgram);
		glDetachShader(someProgram, someShader);
		glDeleteShader(someShader);
		GLint someIsLinked = GL_FALSE;
		glGetProgramiv(someProgram, GL_LINK_STATUS, &someIsLinked);
		if (!someIsLinked)
		{
			std::fprintf(stderr, "d3d11: shader stage does not link: %s\n", GetProgramLog(someProgram).c_str());
			glDeleteProgram(someProgram);
			return 0;
		}
		return someProgram;
	}

	GLenum TextureTarget(const D3D11_TEXTURE2D_DESC& aDesc)
	{
		if ((aDesc.MiscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE) && aDesc.ArraySize % 6 == 0)
			return aDesc.ArraySize == 6 ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_CUBE_MAP_ARRAY;
		return aDesc.ArraySize > 1 ? GL_TEXTURE_2D_ARRAY : GL_TEXTURE_2D;
	}

	GLenum ViewTarget(D3D11_SRV_DIMENSION aDimension, GLenum aTextureTarget)
	{
		switch (aDimension)
		{
		case D3D11_SRV_DIMENSION_TEXTURE2D: return GL_TEXTURE_2D;
		case D3D11_SRV_DIMENSION_TEXTURE2DARRAY: return GL_TEXTURE_2D_ARRAY;
		case D3D11_SRV_DIMENSION_TEXTURECUBE: return GL_TEXTURE_CUBE_MAP;
		}
		return aTextureTarget;
	}
}

// ---------------------------------------------------------------------------
// Reference counting and device children
// ---------------------------------------------------------------------------

ULONG IUnknown::AddRef()
{
	return ++myReferenceCount;
}

ULONG IUnknown::Release()
{
	const ULONG someCount = --myReferenceCount;
	if (someCount == 0)
		delete this;
	return someCount;
}

ID3D11DeviceChild::ID3D11DeviceChild(ID3D11Device* aDevice) : myDevice(aDevice)
{
	myDevice->AddRef();
}

ID3D11DeviceChild::~ID3D11DeviceChild()
{
	myDevice->Release();
}

void ID3D11DeviceChild::GetDevice(ID3D11Device** aDevice)
{
	myDevice->AddRef();
	*aDevice = myDevice;
}

void ID3D11DeviceChild::MakeDeviceCurrent()
{
	myDevice->MakeCurrent();
}

ID3D11Buffer::~ID3D11Buffer()
{
	MakeDeviceCurrent();
	glDeleteBuffers(1, &myGlName);
}

ID3D11Texture2D::~ID3D11Texture2D()
{
	MakeDeviceCurrent();
	glDeleteTextures(1, &myGlName);
}

ID3D11View::~ID3D11View()
{
	MakeDeviceCurrent();
	if (myOwnsGlName)
		glDeleteTextures(1, &myGlName);
}

void ID3D11View::GetResource(ID3D11Resource** aResource)
{
	myResource->AddRef();
	*aResource = myResource.Get();
}

ID3D11ShaderStage::~ID3D11ShaderStage()
{
	MakeDeviceCurrent();
	glDeleteProgram(myGlProgram);
}

ID3D11InputLayout::~ID3D11InputLayout()
{
	MakeDeviceCurrent();
	glDeleteVertexArrays(1, &myGlVertexArray);
}

ID3D11SamplerState::~ID3D11SamplerState()
{
	MakeDeviceCurrent();
	glDeleteSamplers(1, &myGlName);
}

// ---------------------------------------------------------------------------
// Device
// ---------------------------------------------------------------------------

ID3D11Device::ID3D11Device(std::unique_ptr<GlContext> aContext) : myGlContext(std::move(aContext))
{
}

ID3D11Device::~ID3D11Device()
{
	MakeCurrent();
	myGlContext.reset();
}

void ID3D11Device::MakeCurrent()
{
	myGlContext->MakeCurrent();
}

void ID3D11Device::GetImmediateContext(ID3D11DeviceContext** aContext)
{
	if (myImmediateContext)
		myImmediateContext->AddRef();
	*aContext = myImmediateContext;
}

HRESULT ID3D11Device::CreateBuffer(const D3D11_BUFFER_DESC* aDesc, const D3D11_SUBRESOURCE_DATA* anInitialData, ID3D11Buffer** aBuffer)
{
	if (!aDesc || !aBuffer || aDesc->ByteWidth == 0)
		return E_INVALIDARG;
	if ((aDesc->BindFlags & D3D11_BIND_CONSTANT_BUFFER) && aDesc->ByteWidth % CONSTANT_BUFFER_ALIGNMENT_BYTES != 0)
		return E_INVALIDARG;
	if (aDesc->Usage == D3D11_USAGE_IMMUTABLE && (!anInitialData || !anInitialData->pSysMem))
		return E_INVALIDARG;
	MakeCurrent();
	ComPtr<ID3D11Buffer> someBuffer;
	someBuffer.Attach(new ID3D11Buffer(this, *aDesc));
	const void* someData = anInitialData ? anInitialData->pSysMem : nullptr;
	if (aDesc->Usage == D3D11_USAGE_STAGING)
	{
		someBuffer->myCpuData.resize(aDesc->ByteWidth);
		if (someData)
			std::memcpy(someBuffer->myCpuData.data(), someData, aDesc->ByteWidth);
		return Hand(someBuffer.Detach(), aBuffer);
	}
	glCreateBuffers(1, &someBuffer->myGlName);
	glNamedBufferData(someBuffer->myGlName, aDesc->ByteWidth, someData, aDesc->Usage == D3D11_USAGE_DYNAMIC ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
	return Hand(someBuffer.Detach(), aBuffer);
}

HRESULT ID3D11Device::CreateTexture2D(const D3D11_TEXTURE2D_DESC* aDesc, const D3D11_SUBRESOURCE_DATA* anInitialData, ID3D11Texture2D** aTexture)
{
	if (!aDesc || !aTexture || aDesc->Width == 0 || aDesc->Height == 0 || aDesc->ArraySize == 0 || aDesc->SampleDesc.Count != 1)
		return E_INVALIDARG;
	const GlFormat someFormat = GetTextureFormat(aDesc->Format, aDesc->BindFlags);
	if (someFormat.myInternalFormat == 0)
	{
		std::fprintf(stderr, "d3d11: texture format %u is not supported\n", static_cast<unsigned>(aDesc->Format));
		return E_INVALIDARG;
	}
	D3D11_TEXTURE2D_DESC someDesc = *aDesc;
	const UINT someFullChain = FullMipCount(someDesc.Width, someDesc.Height);
	if (someDesc.MipLevels == 0)
		someDesc.MipLevels = someFullChain;
	if (someDesc.MipLevels > someFullChain || (someDesc.Usage == D3D11_USAGE_IMMUTABLE && !anInitialData))
		return E_INVALIDARG;

	MakeCurrent();
	ComPtr<ID3D11Texture2D> someTexture;
	someTexture.Attach(new ID3D11Texture2D(this, someDesc));
	const UINT someSubresources = someDesc.MipLevels * someDesc.ArraySize;
	if (someDesc.Usage == D3D11_USAGE_STAGING)
	{
		someTexture->myCpuData.resize(someSubresources);
		for (UINT i = 0; i < someSubresources; ++i)
		{
			const UINT someMip = i % someDesc.MipLevels;
			const UINT someWidth = std::max(1u, someDesc.Width >> someMip);
			const UINT someHeight = std::max(1u, someDesc.Height >> someMip);
			const UINT somePitch = RowPitch(someFormat, someWidth);
			const UINT someRows = RowCount(someFormat, someHeight);
			someTexture->myCpuData[i].resize(static_cast<size_t>(somePitch) * someRows);
			if (anInitialData && anInitialData[i].pSysMem)
				for (UINT someRow = 0; someRow < someRows; ++someRow)
					std::memcpy(someTexture->myCpuData[i].data() + static_cast<size_t>(someRow) * somePitch,
						static_cast<const std::byte*>(anInitialData[i].pSysMem) + static_cast<size_t>(someRow) * anInitialData[i].SysMemPitch, somePitch);
		}
		return Hand(someTexture.Detach(), aTexture);
	}

	const GLenum someTarget = TextureTarget(someDesc);
	someTexture->myGlTarget = someTarget;
	glCreateTextures(someTarget, 1, &someTexture->myGlName);
	const GLuint someName = someTexture->myGlName;
	DrainGlErrors();
	if (someTarget == GL_TEXTURE_2D || someTarget == GL_TEXTURE_CUBE_MAP)
		glTextureStorage2D(someName, static_cast<GLsizei>(someDesc.MipLevels), someFormat.myInternalFormat, someDesc.Width, someDesc.Height);
	else
		glTextureStorage3D(someName, static_cast<GLsizei>(someDesc.MipLevels), someFormat.myInternalFormat, someDesc.Width, someDesc.Height, someDesc.ArraySize);
	if (glGetError() != GL_NO_ERROR)
		return E_OUTOFMEMORY;
	// Direct3D's sampling when no sampler is bound: trilinear, clamped.
	glTextureParameteri(someName, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
	glTextureParameteri(someName, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
	glTextureParameteri(someName, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
	if (someFormat.myIsOpaque)
		glTextureParameteri(someName, GL_TEXTURE_SWIZZLE_A, GL_ONE);
	if (someFormat.myIsAlphaOnly)
	{
		const GLint someSwizzle[] = { GL_ZERO, GL_ZERO, GL_ZERO, GL_RED };
		glTextureParameteriv(someName, GL_TEXTURE_SWIZZLE_RGBA, someSwizzle);
	}
	if (anInitialData)
	{
		for (UINT i = 0; i < someSubresources; ++i)
		{
			if (!anInitialData[i].pSysMem)
				continue;
			const UINT someMip = i % someDesc.MipLevels;
			TextureRegion someRegion{ someName, someTarget, someMip, i / someDesc.MipLevels, 0, 0,
				std::max(1u, someDesc.Width >> someMip), std::max(1u, someDesc.Height >> someMip) };
			UploadTexture(someRegion, someFormat, anInitialData[i].pSysMem, anInitialData[i].SysMemPitch);
		}
	}
	return Hand(someTexture.Detach(), aTexture);
}

HRESULT ID3D11Device::CreateShaderResourceView(ID3D11Resource* aResource, const D3D11_SHADER_RESOURCE_VIEW_DESC* aDesc, ID3D11ShaderResourceView** aView)
{
	ID3D11Texture2D* someTexture = AsTexture2D(aResource);
	if (!aView || !someTexture)
		return E_INVALIDARG;
	const D3D11_TEXTURE2D_DESC& someTextureDesc = someTexture->myDesc;
	if (!(someTextureDesc.BindFlags & D3D11_BIND_SHADER_RESOURCE) || someTexture->myGlName == 0)
		return E_INVALIDARG;

	D3D11_SHADER_RESOURCE_VIEW_DESC someDesc{};
	if (aDesc)
		someDesc = *aDesc;
	else
	{
		someDesc.Format = someTextureDesc.Format;
		someDesc.ViewDimension = someTexture->myGlTarget == GL_TEXTURE_CUBE_MAP ? D3D11_SRV_DIMENSION_TEXTURECUBE
			: someTexture->myGlTarget == GL_TEXTURE_2D_ARRAY ? D3D11_SRV_DIMENSION_TEXTURE2DARRAY : D3D11_SRV_DIMENSION_TEXTURE2D;
		someDesc.Texture2DArray = { 0, ALL_MIPS, 0, someTextureDesc.ArraySize };
	}
	const GlFormat someStorage = GetTextureFormat(someTextureDesc.Format, someTextureDesc.BindFlags);
	if (!AreViewCompatible(someTextureDesc.Format, someDesc.Format))
		return E_INVALIDARG;

	// Texture2D, Texture2DArray and TextureCube all start with the mip range.
	const UINT someFirstMip = someDesc.Texture2D.MostDetailedMip;
	if (someFirstMip >= someTextureDesc.MipLevels)
		return E_INVALIDARG;
	const UINT someMipCount = std::min(someDesc.Texture2D.MipLevels, someTextureDesc.MipLevels - someFirstMip);
	UINT someFirstSlice = 0;
	UINT someSliceCount = someTextureDesc.ArraySize;
	if (someDesc.ViewDimension == D3D11_SRV_DIMENSION_TEXTURE2DARRAY)
	{
		someFirstSlice = someDesc.Texture2DArray.FirstArraySlice;
		someSliceCount = std::min(someDesc.Texture2DArray.ArraySize, someTextureDesc.ArraySize - std::min(someFirstSlice, someTextureDesc.ArraySize));
	}
	else if (someDesc.ViewDimension == D3D11_SRV_DIMENSION_TEXTURE2D)
		someSliceCount = 1;
	if (someSliceCount == 0)
		return E_INVALIDARG;

	MakeCurrent();
	ComPtr<ID3D11ShaderResourceView> someView;
	someView.Attach(new ID3D11ShaderResourceView(this, aResource));
	someView->myDesc = someDesc;
	const GlFormat someViewFormat = GetViewFormat(someDesc.Format);
	const GLenum someTarget = ViewTarget(someDesc.ViewDimension, someTexture->myGlTarget);
	const bool someIsWhole = someFirstMip == 0 && someMipCount == someTextureDesc.MipLevels && someFirstSlice == 0
		&& someSliceCount == someTextureDesc.ArraySize && someTarget == someTexture->myGlTarget;
	// Depth storage is sampled as it is: its one channel reads as red.
	if (someStorage.myIsDepth || (someIsWhole && someViewFormat.myInternalFormat == someStorage.myInternalFormat))
	{
		someView->myGlName = someTexture->myGlName;
		return Hand(someView.Detach(), aView);
	}
	DrainGlErrors();
	glGenTextures(1, &someView->myGlName);
	someView->myOwnsGlName = true;
	glTextureView(someView->myGlName, someTarget, someTexture->myGlName, someViewFormat.myInternalFormat, someFirstMip, someMipCount, someFirstSlice, someSliceCount);
	if (glGetError() != GL_NO_ERROR)
		return E_INVALIDARG;
	return Hand(someView.Detach(), aView);
}

HRESULT ID3D11Device::CreateRenderTargetView(ID3D11Resource* aResource, const D3D11_RENDER_TARGET_VIEW_DESC* aDesc, ID3D11RenderTargetView** aView)
{
	ID3D11Texture2D* someTexture = AsTexture2D(aResource);
	if (!aView || !someTexture)
		return E_INVALIDARG;
	const D3D11_TEXTURE2D_DESC& someTextureDesc = someTexture->myDesc;
	const DXGI_FORMAT someFormat = aDesc ? aDesc->Format : someTextureDesc.Format;
	const UINT someMip = aDesc ? aDesc->Texture2D.MipSlice : 0;
	if (!(someTextureDesc.BindFlags & D3D11_BIND_RENDER_TARGET) || !AreViewCompatible(someTextureDesc.Format, someFormat) || someMip >= someTextureDesc.MipLevels)
		return E_INVALIDARG;
	ComPtr<ID3D11RenderTargetView> someView;
	someView.Attach(new ID3D11RenderTargetView(this, aResource));
	someView->myGlName = someTexture->myGlName;
	someView->myMipSlice = someMip;
	someView->myIsSrgb = GetViewFormat(someFormat).myIsSrgb;
	return Hand(someView.Detach(), aView);
}

HRESULT ID3D11Device::CreateDepthStencilView(ID3D11Resource* aResource, const D3D11_DEPTH_STENCIL_VIEW_DESC* aDesc, ID3D11DepthStencilView** aView)
{
	ID3D11Texture2D* someTexture = AsTexture2D(aResource);
	if (!aView || !someTexture)
		return E_INVALIDARG;
	const D3D11_TEXTURE2D_DESC& someTextureDesc = someTexture->myDesc;
	const GlFormat someStorage = GetTextureFormat(someTextureDesc.Format, someTextureDesc.BindFlags);
	const UINT someMip = aDesc ? aDesc->Texture2D.MipSlice : 0;
	if (!(someTextureDesc.BindFlags & D3D11_BIND_DEPTH_STENCIL) || !someStorage.myIsDepth || someMip >= someTextureDesc.MipLevels)
		return E_INVALIDARG;
	ComPtr<ID3D11DepthStencilView> someView;
	someView.Attach(new ID3D11DepthStencilView(this, aResource));
	someView->myGlName = someTexture->myGlName;
	someView->myMipSlice = someMip;
	someView->myHasStencil = someStorage.myHasStencil;
	return Hand(someView.Detach(), aView);
}

HRESULT ID3D11Device::CreateVertexShader(const void* aBytecode, SIZE_T aLength, ID3D11ClassLinkage*, ID3D11VertexShader** aShader)
{
	if (!aShader)
		return E_INVALIDARG;
	MakeCurrent();
	const GLuint someProgram = CreateStageProgram(GL_VERTEX_SHADER, aBytecode, aLength);
	if (someProgram == 0)
		return E_INVALIDARG;
	auto* someShader = new ID3D11VertexShader(this);
	someShader->myGlProgram = someProgram;
	someShader->mySamplerUses = FindSamplerUses(aBytecode, aLength);
	return Hand(someShader, aShader);
}

HRESULT ID3D11Device::CreatePixelShader(const void* aBytecode, SIZE_T aLength, ID3D11ClassLinkage*, ID3D11PixelShader** aShader)
{
	if (!aShader)
		return E_INVALIDARG;
	MakeCurrent();
	const GLuint someProgram = CreateStageProgram(GL_FRAGMENT_SHADER, aBytecode, aLength);
	if (someProgram == 0)
		return E_INVALIDARG;
	auto* someShader = new ID3D11PixelShader(this);
	someShader->myGlProgram = someProgram;
	someShader->mySamplerUses = FindSamplerUses(aBytecode, aLength);
	return Hand(someShader, aShader);
}

HRESULT ID3D11Device::CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* anElements, UINT aCount, const void* aBytecode, SIZE_T aLength, ID3D11InputLayout** aLayout)
{
	if (!anElements || aCount == 0 || !aLayout || !IsSpirv(aBytecode, aLength))
		return E_INVALIDARG;
	MakeCurrent();
	ComPtr<ID3D11InputLayout> someLayout;
	someLayout.Attach(new ID3D11InputLayout(this));
	glCreateVertexArrays(1, &someLayout->myGlVertexArray);
	const GLuint someArray = someLayout->myGlVertexArray;
	UINT someNextOffsets[ID3D11DeviceContext::VERTEX_BUFFER_SLOTS] = {};
	for (UINT i = 0; i < aCount; ++i)
	{
		const D3D11_INPUT_ELEMENT_DESC& someElement = anElements[i];
		const GlAttributeFormat someFormat = GetAttributeFormat(someElement.Format);
		if (someFormat.myComponentCount == 0 || someElement.InputSlot >= ID3D11DeviceContext::VERTEX_BUFFER_SLOTS)
			return E_INVALIDARG;
		const UINT someOffset = someElement.AlignedByteOffset == D3D11_APPEND_ALIGNED_ELEMENT ? someNextOffsets[someElement.InputSlot] : someElement.AlignedByteOffset;
		someNextOffsets[someElement.InputSlot] = someOffset + someFormat.mySize;
		glEnableVertexArrayAttrib(someArray, i);
		if (someFormat.myIsInteger)
			glVertexArrayAttribIFormat(someArray, i, someFormat.myComponentCount, someFormat.myType, someOffset);
		else
			glVertexArrayAttribFormat(someArray, i, someFormat.myComponentCount, someFormat.myType, someFormat.myIsNormalized, someOffset);
		glVertexArrayAttribBinding(someArray, i, someElement.InputSlot);
		if (someElement.InputSlotClass == D3D11_INPUT_PER_INSTANCE_DATA)
		{
			glVertexArrayBindingDivisor(someArray, someElement.InputSlot, someElement.InstanceDataStepRate);
			someLayout->myPerInstanceSlotMask |= 1u << someElement.InputSlot;
		}
		someLayout->myUsedSlotMask |= 1u << someElement.InputSlot;
	}
	return Hand(someLayout.Detach(), aLayout);
}

HRESULT ID3D11Device::CreateBlendState(const D3D11_BLEND_DESC* aDesc, ID3D11BlendState** aState)
{
	if (!aDesc || !aState)
		return E_INVALIDARG;
	auto* someState = new ID3D11BlendState(this);
	someState->myDesc = *aDesc;
	return Hand(someState, aState);
}

HRESULT ID3D11Device::CreateDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* aDesc, ID3D11DepthStencilState** aState)
{
	if (!aDesc || !aState)
		return E_INVALIDARG;
	auto* someState = new ID3D11DepthStencilState(this);
	someState->myDesc = *aDesc;
	return Hand(someState, aState);
}

HRESULT ID3D11Device::CreateRasterizerState(const D3D11_RASTERIZER_DESC* aDesc, ID3D11RasterizerState** aState)
{
	if (!aDesc || !aState || (aDesc->FillMode != D3D11_FILL_SOLID && aDesc->FillMode != D3D11_FILL_WIREFRAME))
		return E_INVALIDARG;
	auto* someState = new ID3D11RasterizerState(this);
	someState->myDesc = *aDesc;
	return Hand(someState, aState);
}

HRESULT ID3D11Device::CreateSamplerState(const D3D11_SAMPLER_DESC* aDesc, ID3D11SamplerState** aState)
{
	if (!aDesc || !aState)
		return E_INVALIDARG;
	MakeCurrent();
	auto* someState = new ID3D11SamplerState(this);
	someState->myDesc = *aDesc;
	glCreateSamplers(1, &someState->myGlName);
	const GLuint someName = someState->myGlName;
	// Filter bits as Direct3D packs them: mip 0x1, mag 0x4, min 0x10, anisotropic 0x40, comparison 0x80.
	const UINT someFilter = aDesc->Filter;
	const bool someIsAnisotropic = someFilter & 0x40;
	const bool someMipLinear = someIsAnisotropic || (someFilter & 0x1);
	const bool someMagLinear = someIsAnisotropic || (someFilter & 0x4);
	const bool someMinLinear = someIsAnisotropic || (someFilter & 0x10);
	const GLenum someMin = someMinLinear ? (someMipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST)
		: (someMipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
	glSamplerParameteri(someName, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(someMin));
	glSamplerParameteri(someName, GL_TEXTURE_MAG_FILTER, someMagLinear ? GL_LINEAR : GL_NEAREST);
	glSamplerParameteri(someName, GL_TEXTURE_WRAP_S, static_cast<GLint>(ToGlAddress(aDesc->AddressU)));
	glSamplerParameteri(someName, GL_TEXTURE_WRAP_T, static_cast<GLint>(ToGlAddress(aDesc->AddressV)));
	glSamplerParameteri(someName, GL_TEXTURE_WRAP_R, static_cast<GLint>(ToGlAddress(aDesc->AddressW)));
	glSamplerParameterf(someName, GL_TEXTURE_LOD_BIAS, aDesc->MipLODBias);
	glSamplerParameterf(someName, GL_TEXTURE_MIN_LOD, aDesc->MinLOD);
	glSamplerParameterf(someName, GL_TEXTURE_MAX_LOD, aDesc->MaxLOD);
	glSamplerParameterfv(someName, GL_TEXTURE_BORDER_COLOR, aDesc->BorderColor);
	if (someIsAnisotropic && (epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic") || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic")))
		glSamplerParameterf(someName, GL_TEXTURE_MAX_ANISOTROPY_EXT, std::clamp(static_cast<float>(aDesc->MaxAnisotropy), 1.0f, MAX_SUPPORTED_ANISOTROPY));
	if (someFilter & 0x80)
	{
		glSamplerParameteri(someName, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
		glSamplerParameteri(someName, GL_TEXTURE_COMPARE_FUNC, static_cast<GLint>(ToGlComparison(aDesc->ComparisonFunc)));
	}
	return Hand(someState, aState);
}
