#pragma once
// Direct3D 11 stand-in over OpenGL 4.5 core (libepoxy).
//
// Keeps: the device and immediate context calls the engine and its texture
// loaders make, with their Windows names, values and reference counting:
// buffers (vertex, index, constant; default, dynamic, immutable, staging),
// 2D textures (arrays, cube maps, mips, block-compressed and sRGB formats),
// shader-resource, render-target and depth-stencil views, SPIR-V vertex and
// pixel shaders (the ".cso" bytes), input layouts, blend / depth / rasterizer /
// sampler states, Map/Unmap, UpdateSubresource, CopyResource, GenerateMips,
// draws and clears. Conventions as Direct3D: depth 0..1, top-left origin (row 0
// of every image is its top), clockwise front faces, row-major matrices.
// Creating a device also tells the C library's allocator to keep freed memory
// rather than return it to the kernel: the GL driver's per-frame allocations
// would otherwise fault their pages in again every frame.
//
// Does not keep: stencil operations, scissor rects, multisampled resources,
// more than one render target at a time (only the first is bound, with target
// 0's blend), blend factors, geometry shaders (only null may be set), deferred
// contexts, queries, 1D/3D textures, QueryInterface, debug layers. Vertex and pixel stages share one
// table of constant-buffer and texture slots (OpenGL has one): the last binding
// to a slot wins for both stages.
//
// Built on: OpenGL 4.5 with ARB_gl_spirv. Constant-buffer slot b is uniform
// binding b; shader-resource slot t is texture unit t; a shader's texture unit
// reads through the sampler slot named by the "_sN" suffix of its sampler
// variable (slot 0 without one). Input element i feeds attribute location i.
// Every object holds a reference to its device; the GL context goes with the
// device's last reference. Map(WRITE_DISCARD) of a dynamic resource hands out
// memory of the resource's own. A texture's is copied into the GL object at
// Unmap; a buffer's only as far as the next draws read it, and the rest before
// any other use of the buffer.
#include "d3d11/ComPtr.h"
#include "d3d11/dxgiformat.h"
#include "kernel/WindowsTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

using SIZE_T = std::size_t;
using FLOAT = float;
using UINT8 = std::uint8_t;

namespace Platform::impl
{
	class GlContext;
	struct ShaderSamplerUse;
}

// ---------------------------------------------------------------------------
// Constants and descriptions
// ---------------------------------------------------------------------------

enum D3D_DRIVER_TYPE : UINT { D3D_DRIVER_TYPE_UNKNOWN = 0, D3D_DRIVER_TYPE_HARDWARE = 1 };
enum D3D_FEATURE_LEVEL : UINT { D3D_FEATURE_LEVEL_11_0 = 0xb000 };
constexpr UINT D3D11_SDK_VERSION = 7;

enum D3D11_USAGE : UINT { D3D11_USAGE_DEFAULT = 0, D3D11_USAGE_IMMUTABLE = 1, D3D11_USAGE_DYNAMIC = 2, D3D11_USAGE_STAGING = 3 };
enum D3D11_BIND_FLAG : UINT
{
	D3D11_BIND_VERTEX_BUFFER = 0x1,
	D3D11_BIND_INDEX_BUFFER = 0x2,
	D3D11_BIND_CONSTANT_BUFFER = 0x4,
	D3D11_BIND_SHADER_RESOURCE = 0x8,
	D3D11_BIND_RENDER_TARGET = 0x20,
	D3D11_BIND_DEPTH_STENCIL = 0x40,
	D3D11_BIND_UNORDERED_ACCESS = 0x80,
};
enum D3D11_CPU_ACCESS_FLAG : UINT { D3D11_CPU_ACCESS_WRITE = 0x10000, D3D11_CPU_ACCESS_READ = 0x20000 };
enum D3D11_RESOURCE_MISC_FLAG : UINT { D3D11_RESOURCE_MISC_GENERATE_MIPS = 0x1, D3D11_RESOURCE_MISC_TEXTURECUBE = 0x4 };
enum D3D11_MAP : UINT { D3D11_MAP_READ = 1, D3D11_MAP_WRITE = 2, D3D11_MAP_READ_WRITE = 3, D3D11_MAP_WRITE_DISCARD = 4, D3D11_MAP_WRITE_NO_OVERWRITE = 5 };
enum D3D11_CLEAR_FLAG : UINT { D3D11_CLEAR_DEPTH = 0x1, D3D11_CLEAR_STENCIL = 0x2 };
enum D3D11_RESOURCE_DIMENSION : UINT { D3D11_RESOURCE_DIMENSION_UNKNOWN = 0, D3D11_RESOURCE_DIMENSION_BUFFER = 1, D3D11_RESOURCE_DIMENSION_TEXTURE2D = 3 };
enum D3D11_SRV_DIMENSION : UINT { D3D11_SRV_DIMENSION_TEXTURE2D = 4, D3D11_SRV_DIMENSION_TEXTURE2DARRAY = 5, D3D11_SRV_DIMENSION_TEXTURECUBE = 9 };
enum D3D11_RTV_DIMENSION : UINT { D3D11_RTV_DIMENSION_TEXTURE2D = 4 };
enum D3D11_DSV_DIMENSION : UINT { D3D11_DSV_DIMENSION_TEXTURE2D = 3 };
enum D3D11_INPUT_CLASSIFICATION : UINT { D3D11_INPUT_PER_VERTEX_DATA = 0, D3D11_INPUT_PER_INSTANCE_DATA = 1 };
constexpr UINT D3D11_APPEND_ALIGNED_ELEMENT = 0xffffffff;
enum D3D11_PRIMITIVE_TOPOLOGY : UINT
{
	D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED = 0,
	D3D11_PRIMITIVE_TOPOLOGY_POINTLIST = 1,
	D3D11_PRIMITIVE_TOPOLOGY_LINELIST = 2,
	D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP = 3,
	D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST = 4,
	D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP = 5,
};

enum D3D11_BLEND : UINT
{
	D3D11_BLEND_ZERO = 1, D3D11_BLEND_ONE = 2, D3D11_BLEND_SRC_COLOR = 3, D3D11_BLEND_INV_SRC_COLOR = 4,
	D3D11_BLEND_SRC_ALPHA = 5, D3D11_BLEND_INV_SRC_ALPHA = 6, D3D11_BLEND_DEST_ALPHA = 7, D3D11_BLEND_INV_DEST_ALPHA = 8,
	D3D11_BLEND_DEST_COLOR = 9, D3D11_BLEND_INV_DEST_COLOR = 10,
};
enum D3D11_BLEND_OP : UINT { D3D11_BLEND_OP_ADD = 1, D3D11_BLEND_OP_SUBTRACT = 2, D3D11_BLEND_OP_REV_SUBTRACT = 3, D3D11_BLEND_OP_MIN = 4, D3D11_BLEND_OP_MAX = 5 };
enum D3D11_COLOR_WRITE_ENABLE : UINT8 { D3D11_COLOR_WRITE_ENABLE_RED = 1, D3D11_COLOR_WRITE_ENABLE_GREEN = 2, D3D11_COLOR_WRITE_ENABLE_BLUE = 4, D3D11_COLOR_WRITE_ENABLE_ALPHA = 8, D3D11_COLOR_WRITE_ENABLE_ALL = 15 };
enum D3D11_COMPARISON_FUNC : UINT
{
	D3D11_COMPARISON_NEVER = 1, D3D11_COMPARISON_LESS = 2, D3D11_COMPARISON_EQUAL = 3, D3D11_COMPARISON_LESS_EQUAL = 4,
	D3D11_COMPARISON_GREATER = 5, D3D11_COMPARISON_NOT_EQUAL = 6, D3D11_COMPARISON_GREATER_EQUAL = 7, D3D11_COMPARISON_ALWAYS = 8,
};
enum D3D11_DEPTH_WRITE_MASK : UINT { D3D11_DEPTH_WRITE_MASK_ZERO = 0, D3D11_DEPTH_WRITE_MASK_ALL = 1 };
enum D3D11_FILL_MODE : UINT { D3D11_FILL_WIREFRAME = 2, D3D11_FILL_SOLID = 3 };
enum D3D11_CULL_MODE : UINT { D3D11_CULL_NONE = 1, D3D11_CULL_FRONT = 2, D3D11_CULL_BACK = 3 };
enum D3D11_FILTER : UINT
{
	D3D11_FILTER_MIN_MAG_MIP_POINT = 0,
	D3D11_FILTER_MIN_MAG_MIP_LINEAR = 0x15,
	D3D11_FILTER_ANISOTROPIC = 0x55,
	D3D11_FILTER_COMPARISON_MIN_MAG_MIP_LINEAR = 0x95,
};
enum D3D11_TEXTURE_ADDRESS_MODE : UINT { D3D11_TEXTURE_ADDRESS_WRAP = 1, D3D11_TEXTURE_ADDRESS_MIRROR = 2, D3D11_TEXTURE_ADDRESS_CLAMP = 3, D3D11_TEXTURE_ADDRESS_BORDER = 4 };
constexpr float D3D11_FLOAT32_MAX = 3.402823466e+38f;

struct DXGI_SAMPLE_DESC { UINT Count = 1; UINT Quality = 0; };

struct D3D11_BUFFER_DESC
{
	UINT ByteWidth;
	D3D11_USAGE Usage;
	UINT BindFlags;
	UINT CPUAccessFlags;
	UINT MiscFlags;
	UINT StructureByteStride;
};

struct D3D11_TEXTURE2D_DESC
{
	UINT Width;
	UINT Height;
	UINT MipLevels; // 0: the full chain
	UINT ArraySize;
	DXGI_FORMAT Format;
	DXGI_SAMPLE_DESC SampleDesc;
	D3D11_USAGE Usage;
	UINT BindFlags;
	UINT CPUAccessFlags;
	UINT MiscFlags;
};

struct D3D11_SUBRESOURCE_DATA
{
	const void* pSysMem;
	UINT SysMemPitch;
	UINT SysMemSlicePitch;
};

struct D3D11_MAPPED_SUBRESOURCE
{
	void* pData;
	UINT RowPitch;
	UINT DepthPitch;
};

struct D3D11_BOX { UINT left, top, front, right, bottom, back; };

struct D3D11_TEX2D_SRV { UINT MostDetailedMip; UINT MipLevels; };
struct D3D11_TEX2D_ARRAY_SRV { UINT MostDetailedMip; UINT MipLevels; UINT FirstArraySlice; UINT ArraySize; };
struct D3D11_TEXCUBE_SRV { UINT MostDetailedMip; UINT MipLevels; };
struct D3D11_SHADER_RESOURCE_VIEW_DESC
{
	DXGI_FORMAT Format;
	D3D11_SRV_DIMENSION ViewDimension;
	union
	{
		D3D11_TEX2D_SRV Texture2D;
		D3D11_TEX2D_ARRAY_SRV Texture2DArray;
		D3D11_TEXCUBE_SRV TextureCube;
	};
};

struct D3D11_TEX2D_RTV { UINT MipSlice; };
struct D3D11_RENDER_TARGET_VIEW_DESC
{
	DXGI_FORMAT Format;
	D3D11_RTV_DIMENSION ViewDimension;
	D3D11_TEX2D_RTV Texture2D;
};

struct D3D11_TEX2D_DSV { UINT MipSlice; };
struct D3D11_DEPTH_STENCIL_VIEW_DESC
{
	DXGI_FORMAT Format;
	D3D11_DSV_DIMENSION ViewDimension;
	UINT Flags;
	D3D11_TEX2D_DSV Texture2D;
};

struct D3D11_VIEWPORT { FLOAT TopLeftX, TopLeftY, Width, Height, MinDepth, MaxDepth; };

struct D3D11_INPUT_ELEMENT_DESC
{
	LPCSTR SemanticName;
	UINT SemanticIndex;
	DXGI_FORMAT Format;
	UINT InputSlot;
	UINT AlignedByteOffset;
	D3D11_INPUT_CLASSIFICATION InputSlotClass;
	UINT InstanceDataStepRate;
};

struct D3D11_RENDER_TARGET_BLEND_DESC
{
	BOOL BlendEnable;
	D3D11_BLEND SrcBlend;
	D3D11_BLEND DestBlend;
	D3D11_BLEND_OP BlendOp;
	D3D11_BLEND SrcBlendAlpha;
	D3D11_BLEND DestBlendAlpha;
	D3D11_BLEND_OP BlendOpAlpha;
	UINT8 RenderTargetWriteMask;
};
struct D3D11_BLEND_DESC
{
	BOOL AlphaToCoverageEnable;
	BOOL IndependentBlendEnable; // only target 0's blend is applied, to every target
	D3D11_RENDER_TARGET_BLEND_DESC RenderTarget[8];
};

struct D3D11_DEPTH_STENCIL_DESC
{
	BOOL DepthEnable;
	D3D11_DEPTH_WRITE_MASK DepthWriteMask;
	D3D11_COMPARISON_FUNC DepthFunc;
	BOOL StencilEnable; // stencil is not kept
};

struct D3D11_RASTERIZER_DESC
{
	D3D11_FILL_MODE FillMode;
	D3D11_CULL_MODE CullMode;
	BOOL FrontCounterClockwise;
	INT DepthBias;
	FLOAT DepthBiasClamp;
	FLOAT SlopeScaledDepthBias;
	BOOL DepthClipEnable;
	BOOL ScissorEnable;
	BOOL MultisampleEnable;
	BOOL AntialiasedLineEnable;
};

struct D3D11_SAMPLER_DESC
{
	D3D11_FILTER Filter;
	D3D11_TEXTURE_ADDRESS_MODE AddressU;
	D3D11_TEXTURE_ADDRESS_MODE AddressV;
	D3D11_TEXTURE_ADDRESS_MODE AddressW;
	FLOAT MipLODBias;
	UINT MaxAnisotropy;
	D3D11_COMPARISON_FUNC ComparisonFunc;
	FLOAT BorderColor[4];
	FLOAT MinLOD;
	FLOAT MaxLOD;
};

// ---------------------------------------------------------------------------
// Objects
// ---------------------------------------------------------------------------

class IUnknown
{
public:
	ULONG AddRef();
	// Deletes the object when the count reaches 0; returns the new count.
	ULONG Release();

protected:
	IUnknown() = default;
	virtual ~IUnknown() = default;
	IUnknown(const IUnknown&) = delete;
	IUnknown& operator=(const IUnknown&) = delete;

private:
	ULONG myReferenceCount = 1;
};

class ID3D11Device;
class ID3D11DeviceContext;
class IDXGISwapChain;
HRESULT CreateDeviceOnContext(std::unique_ptr<Platform::impl::GlContext> aContext, ID3D11Device** aDevice, ID3D11DeviceContext** anImmediateContext);

class ID3D11DeviceChild : public IUnknown
{
public:
	void GetDevice(ID3D11Device** aDevice);

protected:
	explicit ID3D11DeviceChild(ID3D11Device* aDevice);
	~ID3D11DeviceChild() override;
	// Makes the device's GL context current before GL objects are deleted.
	void MakeDeviceCurrent();

	ID3D11Device* myDevice;
};

class ID3D11Resource : public ID3D11DeviceChild
{
public:
	void GetType(D3D11_RESOURCE_DIMENSION* aDimension) const { *aDimension = myDimension; }

protected:
	ID3D11Resource(ID3D11Device* aDevice, D3D11_RESOURCE_DIMENSION aDimension) : ID3D11DeviceChild(aDevice), myDimension(aDimension) {}

private:
	D3D11_RESOURCE_DIMENSION myDimension;
};

class ID3D11Buffer final : public ID3D11Resource
{
public:
	void GetDesc(D3D11_BUFFER_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	ID3D11Buffer(ID3D11Device* aDevice, const D3D11_BUFFER_DESC& aDesc)
		: ID3D11Resource(aDevice, D3D11_RESOURCE_DIMENSION_BUFFER), myDesc(aDesc), myUploadedBytes(aDesc.ByteWidth) {}
	~ID3D11Buffer() override;

	D3D11_BUFFER_DESC myDesc;
	unsigned int myGlName = 0;
	// Staging buffers: their contents; dynamic buffers: what a discarding Map hands out for Unmap to upload.
	std::vector<std::byte> myCpuData;
	bool myIsMapped = false;
	bool myIsMappedInGl = false; // a NO_OVERWRITE map of the GL buffer itself
	// After a discarding map the contents are myCpuData, of which the GL buffer
	// holds the first myUploadedBytes: a draw uploads as far as it reads, any
	// other use of the buffer all the rest first.
	UINT myUploadedBytes;
};

class ID3D11Texture2D final : public ID3D11Resource
{
public:
	void GetDesc(D3D11_TEXTURE2D_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	friend class IDXGISwapChain;
	ID3D11Texture2D(ID3D11Device* aDevice, const D3D11_TEXTURE2D_DESC& aDesc) : ID3D11Resource(aDevice, D3D11_RESOURCE_DIMENSION_TEXTURE2D), myDesc(aDesc) {}
	~ID3D11Texture2D() override;

	D3D11_TEXTURE2D_DESC myDesc; // MipLevels resolved
	unsigned int myGlName = 0;
	unsigned int myGlTarget = 0;
	// Staging textures: every subresource's bytes; dynamic textures: the mapped mip.
	std::vector<std::vector<std::byte>> myCpuData;
	int myMappedSubresource = -1;
};

class ID3D11View : public ID3D11DeviceChild
{
public:
	void GetResource(ID3D11Resource** aResource);

protected:
	ID3D11View(ID3D11Device* aDevice, ID3D11Resource* aResource) : ID3D11DeviceChild(aDevice), myResource(aResource) {}
	~ID3D11View() override;

	Microsoft::WRL::ComPtr<ID3D11Resource> myResource;
	unsigned int myGlName = 0;   // the texture, or a texture view of it
	bool myOwnsGlName = false; // a texture view made for this view
};

class ID3D11ShaderResourceView final : public ID3D11View
{
public:
	void GetDesc(D3D11_SHADER_RESOURCE_VIEW_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11View::ID3D11View;
	D3D11_SHADER_RESOURCE_VIEW_DESC myDesc{};
};

class ID3D11RenderTargetView final : public ID3D11View
{
private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11View::ID3D11View;
	UINT myMipSlice = 0;
	bool myIsSrgb = false;
};

class ID3D11DepthStencilView final : public ID3D11View
{
private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11View::ID3D11View;
	UINT myMipSlice = 0;
	bool myHasStencil = false;
};

// A compiled stage: a separable GL program made from SPIR-V.
class ID3D11ShaderStage : public ID3D11DeviceChild
{
protected:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11DeviceChild::ID3D11DeviceChild;
	~ID3D11ShaderStage() override;

	unsigned int myGlProgram = 0;
	// (texture unit, sampler slot) for every sampler variable of the stage.
	std::vector<std::pair<UINT, UINT>> mySamplerUses;
};

class ID3D11VertexShader final : public ID3D11ShaderStage
{
	friend class ID3D11Device;
	using ID3D11ShaderStage::ID3D11ShaderStage;
};
class ID3D11PixelShader final : public ID3D11ShaderStage
{
	friend class ID3D11Device;
	using ID3D11ShaderStage::ID3D11ShaderStage;
};
class ID3D11GeometryShader; // never created: GSSetShader takes only null
class ID3D11ClassLinkage;   // never created: pass null

class ID3D11InputLayout final : public ID3D11DeviceChild
{
private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11DeviceChild::ID3D11DeviceChild;
	~ID3D11InputLayout() override;

	unsigned int myGlVertexArray = 0;
	UINT myUsedSlotMask = 0;
	UINT myPerInstanceSlotMask = 0;
};

class ID3D11BlendState final : public ID3D11DeviceChild
{
public:
	void GetDesc(D3D11_BLEND_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11DeviceChild::ID3D11DeviceChild;
	D3D11_BLEND_DESC myDesc{};
};

class ID3D11DepthStencilState final : public ID3D11DeviceChild
{
public:
	void GetDesc(D3D11_DEPTH_STENCIL_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11DeviceChild::ID3D11DeviceChild;
	D3D11_DEPTH_STENCIL_DESC myDesc{};
};

class ID3D11RasterizerState final : public ID3D11DeviceChild
{
public:
	void GetDesc(D3D11_RASTERIZER_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11DeviceChild::ID3D11DeviceChild;
	D3D11_RASTERIZER_DESC myDesc{};
};

class ID3D11SamplerState final : public ID3D11DeviceChild
{
public:
	void GetDesc(D3D11_SAMPLER_DESC* aDesc) const { *aDesc = myDesc; }

private:
	friend class ID3D11Device;
	friend class ID3D11DeviceContext;
	using ID3D11DeviceChild::ID3D11DeviceChild;
	~ID3D11SamplerState() override;
	D3D11_SAMPLER_DESC myDesc{};
	unsigned int myGlName = 0;
};

// ---------------------------------------------------------------------------
// Device
// ---------------------------------------------------------------------------

class ID3D11Device final : public IUnknown
{
public:
	HRESULT CreateBuffer(const D3D11_BUFFER_DESC* aDesc, const D3D11_SUBRESOURCE_DATA* anInitialData, ID3D11Buffer** aBuffer);
	// anInitialData: one entry per subresource (mip + slice * mip count) or null.
	HRESULT CreateTexture2D(const D3D11_TEXTURE2D_DESC* aDesc, const D3D11_SUBRESOURCE_DATA* anInitialData, ID3D11Texture2D** aTexture);
	// aDesc null: the whole resource in its own format.
	HRESULT CreateShaderResourceView(ID3D11Resource* aResource, const D3D11_SHADER_RESOURCE_VIEW_DESC* aDesc, ID3D11ShaderResourceView** aView);
	HRESULT CreateRenderTargetView(ID3D11Resource* aResource, const D3D11_RENDER_TARGET_VIEW_DESC* aDesc, ID3D11RenderTargetView** aView);
	HRESULT CreateDepthStencilView(ID3D11Resource* aResource, const D3D11_DEPTH_STENCIL_VIEW_DESC* aDesc, ID3D11DepthStencilView** aView);
	// aBytecode: SPIR-V words (a ".cso" file as the build writes it).
	HRESULT CreateVertexShader(const void* aBytecode, SIZE_T aLength, ID3D11ClassLinkage* aLinkage, ID3D11VertexShader** aShader);
	HRESULT CreatePixelShader(const void* aBytecode, SIZE_T aLength, ID3D11ClassLinkage* aLinkage, ID3D11PixelShader** aShader);
	HRESULT CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* anElements, UINT aCount, const void* aBytecode, SIZE_T aLength, ID3D11InputLayout** aLayout);
	HRESULT CreateBlendState(const D3D11_BLEND_DESC* aDesc, ID3D11BlendState** aState);
	HRESULT CreateDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* aDesc, ID3D11DepthStencilState** aState);
	HRESULT CreateRasterizerState(const D3D11_RASTERIZER_DESC* aDesc, ID3D11RasterizerState** aState);
	HRESULT CreateSamplerState(const D3D11_SAMPLER_DESC* aDesc, ID3D11SamplerState** aState);
	void GetImmediateContext(ID3D11DeviceContext** aContext);

	// Stand-in internal: makes this device's GL context current on the calling thread.
	void MakeCurrent();

private:
	friend HRESULT CreateDeviceOnContext(std::unique_ptr<Platform::impl::GlContext>, ID3D11Device**, ID3D11DeviceContext**);
	friend class ID3D11DeviceContext;
	friend class IDXGISwapChain;
	explicit ID3D11Device(std::unique_ptr<Platform::impl::GlContext> aContext);
	~ID3D11Device() override;

	std::unique_ptr<Platform::impl::GlContext> myGlContext;
	ID3D11DeviceContext* myImmediateContext = nullptr; // not owned: a child like any other
};

// ---------------------------------------------------------------------------
// Immediate context
// ---------------------------------------------------------------------------

class ID3D11DeviceContext final : public ID3D11DeviceChild
{
public:
	static constexpr UINT VERTEX_BUFFER_SLOTS = 16;
	static constexpr UINT RESOURCE_SLOTS = 32;
	static constexpr UINT CONSTANT_BUFFER_SLOTS = 16;
	static constexpr UINT SAMPLER_SLOTS = 16;

	void IASetInputLayout(ID3D11InputLayout* aLayout);
	void IASetVertexBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers, const UINT* aStrides, const UINT* anOffsets);
	void IASetIndexBuffer(ID3D11Buffer* aBuffer, DXGI_FORMAT aFormat, UINT anOffset);
	void IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY aTopology);

	void VSSetShader(ID3D11VertexShader* aShader, ID3D11ClassLinkage* const* aLinkages, UINT aCount);
	void PSSetShader(ID3D11PixelShader* aShader, ID3D11ClassLinkage* const* aLinkages, UINT aCount);
	void GSSetShader(ID3D11GeometryShader* aShader, ID3D11ClassLinkage* const* aLinkages, UINT aCount);
	void VSSetConstantBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers);
	void PSSetConstantBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers);
	void VSSetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView* const* aViews);
	void PSSetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView* const* aViews);
	// The views bound at the slots, each with a reference added (null where none is).
	void PSGetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView** aViews);
	void PSSetSamplers(UINT aStartSlot, UINT aCount, ID3D11SamplerState* const* aSamplers);

	void OMSetRenderTargets(UINT aCount, ID3D11RenderTargetView* const* aViews, ID3D11DepthStencilView* aDepthView);
	void OMSetBlendState(ID3D11BlendState* aState, const FLOAT aBlendFactor[4], UINT aSampleMask);
	void OMSetDepthStencilState(ID3D11DepthStencilState* aState, UINT aStencilRef);
	void RSSetState(ID3D11RasterizerState* aState);
	void RSSetViewports(UINT aCount, const D3D11_VIEWPORT* aViewports);

	// Buffers: WRITE_DISCARD (dynamic), READ/WRITE (staging). Textures: WRITE_DISCARD
	// (dynamic, one mip at a time), READ/WRITE/READ_WRITE (staging).
	HRESULT Map(ID3D11Resource* aResource, UINT aSubresource, D3D11_MAP aType, UINT aFlags, D3D11_MAPPED_SUBRESOURCE* aMapped);
	void Unmap(ID3D11Resource* aResource, UINT aSubresource);
	void UpdateSubresource(ID3D11Resource* aResource, UINT aSubresource, const D3D11_BOX* aBox, const void* aData, UINT aRowPitch, UINT aDepthPitch);
	// Same size and compatible formats; into a staging resource this is the read-back path.
	void CopyResource(ID3D11Resource* aDestination, ID3D11Resource* aSource);
	void GenerateMips(ID3D11ShaderResourceView* aView);

	void Draw(UINT aVertexCount, UINT aStartVertex);
	void DrawIndexed(UINT anIndexCount, UINT aStartIndex, INT aBaseVertex);
	void DrawInstanced(UINT aVertexCountPerInstance, UINT anInstanceCount, UINT aStartVertex, UINT aStartInstance);

	void ClearRenderTargetView(ID3D11RenderTargetView* aView, const FLOAT aColor[4]);
	void ClearDepthStencilView(ID3D11DepthStencilView* aView, UINT aFlags, FLOAT aDepth, UINT8 aStencil);
	// Unbinds everything and restores every state to its default.
	void ClearState();
	void Flush();

private:
	friend HRESULT CreateDeviceOnContext(std::unique_ptr<Platform::impl::GlContext>, ID3D11Device**, ID3D11DeviceContext**);
	friend class IDXGISwapChain;
	explicit ID3D11DeviceContext(ID3D11Device* aDevice);
	~ID3D11DeviceContext() override;

	struct VertexBufferBinding
	{
		Microsoft::WRL::ComPtr<ID3D11Buffer> myBuffer;
		UINT myStride = 0;
		UINT myOffset = 0;
	};

	// What the draw framebuffer has attached, so that unchanged targets are not
	// re-attached (a change makes the GL driver finish the work queued so far).
	struct Attachments
	{
		unsigned int myColor = 0;
		UINT myColorMip = 0;
		unsigned int myDepth = 0;
		UINT myDepthMip = 0;
		bool myHasStencil = false;
		bool operator==(const Attachments&) const = default;
	};

	void SetConstantBuffers(UINT aStartSlot, UINT aCount, ID3D11Buffer* const* aBuffers);
	void SetShaderResources(UINT aStartSlot, UINT aCount, ID3D11ShaderResourceView* const* aViews);
	void ApplyFramebuffer();
	void SetSrgbWrites(bool anIsOn);
	void ApplyBlendState();
	void ApplyDepthStencilState();
	void ApplyRasterizerState();
	// Vertex-array bindings, sampler-to-unit assignments and the mapped memory the
	// draw reads: vertices below aVertexEnd (any when indexed), instances below anInstanceEnd.
	bool PrepareDraw(std::uint64_t aVertexEnd, std::uint64_t anInstanceEnd, bool anIsIndexed);
	// Uploads a discarding map's memory as far as aEnd bytes (clamped to the buffer).
	static void UploadMapped(ID3D11Buffer* aBuffer, std::uint64_t aEnd = ~0ull);
	void UploadMappedTexture(ID3D11Texture2D* aTexture, UINT aSubresource);

	unsigned int myGlPipeline = 0;
	unsigned int myGlFramebuffer = 0;
	unsigned int myGlClearFramebuffer = 0;
	unsigned int myGlEmptyVertexArray = 0;
	Attachments myAttachments;
	int myIsSrgbWriting = -1; // -1: not known (someone else changed it)

	Microsoft::WRL::ComPtr<ID3D11InputLayout> myInputLayout;
	std::array<VertexBufferBinding, VERTEX_BUFFER_SLOTS> myVertexBuffers;
	Microsoft::WRL::ComPtr<ID3D11Buffer> myIndexBuffer;
	DXGI_FORMAT myIndexFormat = DXGI_FORMAT_UNKNOWN;
	UINT myIndexOffset = 0;
	D3D11_PRIMITIVE_TOPOLOGY myTopology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
	bool myAreVertexBindingsDirty = true;

	Microsoft::WRL::ComPtr<ID3D11VertexShader> myVertexShader;
	Microsoft::WRL::ComPtr<ID3D11PixelShader> myPixelShader;
	std::array<Microsoft::WRL::ComPtr<ID3D11Buffer>, CONSTANT_BUFFER_SLOTS> myConstantBuffers;
	std::array<Microsoft::WRL::ComPtr<ID3D11ShaderResourceView>, RESOURCE_SLOTS> myShaderResources;
	std::array<Microsoft::WRL::ComPtr<ID3D11SamplerState>, SAMPLER_SLOTS> mySamplers;
	bool myAreSamplersDirty = true;

	Microsoft::WRL::ComPtr<ID3D11RenderTargetView> myRenderTarget;
	Microsoft::WRL::ComPtr<ID3D11DepthStencilView> myDepthStencil;
	Microsoft::WRL::ComPtr<ID3D11BlendState> myBlendState;
	Microsoft::WRL::ComPtr<ID3D11DepthStencilState> myDepthStencilState;
	Microsoft::WRL::ComPtr<ID3D11RasterizerState> myRasterizerState;
};

// A device and its immediate context without a window, on an EGL surfaceless
// GL context. Adapter, driver type and feature levels are accepted and ignored.
class IDXGIAdapter;
HRESULT D3D11CreateDevice(IDXGIAdapter* anAdapter, D3D_DRIVER_TYPE aDriverType, HMODULE aSoftware, UINT aFlags,
	const D3D_FEATURE_LEVEL* aFeatureLevels, UINT aFeatureLevelCount, UINT anSdkVersion,
	ID3D11Device** aDevice, D3D_FEATURE_LEVEL* aFeatureLevel, ID3D11DeviceContext** aContext);
