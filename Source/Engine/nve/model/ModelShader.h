#pragma once
// The shader of 3D meshes: the 180-byte model vertex layout, a bone buffer of
// 128 matrices (vertex-shader slot 5) and an object buffer {world, colour,
// colour adjust} (slot 4 of both stages). Render draws one mesh.
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"
#include "graphics/Shader.h"
#include "model/Model.h"

#include <string>

namespace Norv
{
	struct Texture;
	class ViewVolume;

	class ModelShader : public Shader
	{
	public:
		static constexpr UINT BONE_BUFFER_BYTES = sizeof(Matrix4x4) * MAX_ANIMATION_BONES;
		static constexpr UINT OBJECT_BUFFER_BYTES = 96;
		static constexpr UINT BONE_BUFFER_SLOT = 5;
		static constexpr UINT OBJECT_BUFFER_SLOT = 4;
		static constexpr UINT FIRST_TEXTURE_SLOT = 1;

		~ModelShader() override;

		// Creates both constant buffers (false when either fails) and loads the pair;
		// anAmbientPixelShader, when given, is aPixelShader's form for a state without
		// lights and with the white environment map, drawn in such states instead, and
		// aDefaultSurfacePixelShader, when given, its form for a mesh whose normal,
		// material and effects textures are the defaults (constants, not sampled).
		bool Init(const std::string& aVertexShader, const std::string& aPixelShader, const std::string& anAmbientPixelShader = {},
			const std::string& aDefaultSurfacePixelShader = {});
		// "shaders/model_shader_VS" with "shaders/model_shader_PS".
		bool Init() override;

		// Binds the mesh's four textures (a null one as its kind's default), then,
		// when loaded, the shaders and states, the bones (neither written nor bound
		// when aBones is null) and the object data with aWorld x the stack's transform, and draws.
		void Render(Texture* const (&aTextures)[MODEL_TEXTURE_KIND_COUNT], const MeshData& aMesh, const Matrix4x4& aWorld,
			const Matrix4x4* aBones, const Vector4<float>& aColor, const Vector4<float>& aColorAdjust);

		// False when aMesh, placed by the transform aVolume was made from, lies wholly
		// beside the view and so puts no pixel on screen; a mesh without bounds may always show.
		static bool MayShow(const MeshData& aMesh, const ViewVolume& aVolume);

		// The texture bound for a null entry of each kind.
		Texture* GetDefaultTexture(std::uint32_t aKind) const { return myDefaultTextures[aKind]; }

	protected:
		bool CreateInputLayout(const std::string& aBytecode) override;

	private:
		Microsoft::WRL::ComPtr<ID3D11Buffer> myBoneBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myObjectBuffer;
		Texture* myDefaultTextures[MODEL_TEXTURE_KIND_COUNT] = {};
		Microsoft::WRL::ComPtr<ID3D11PixelShader>* myLitPixelShader = nullptr;
		Microsoft::WRL::ComPtr<ID3D11PixelShader>* myAmbientPixelShader = nullptr;
		Microsoft::WRL::ComPtr<ID3D11PixelShader>* myDefaultSurfacePixelShader = nullptr;
	};
}
