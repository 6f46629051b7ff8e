#pragma once
// Placements of a shared model: their own transform, copy of the per-mesh
// texture table, tint colour and colour adjust {brightness, saturation, hue, -}.
// The animated kind adds 128 bone matrices made from a skeleton pose.
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"
#include "model/Model.h"

#include <cstdint>
#include <memory>

namespace Norv
{
	class GraphicsStateStack;
	class ModelShader;

	class ModelInstance
	{
	public:
		// Binds the model (replacing any earlier one) and copies its texture table.
		void Init(std::shared_ptr<Model> aModel);
		std::shared_ptr<Model> GetModel() const { return myModel; }
		// Draws every mesh with aShader, without bones; nothing without a model.
		void Render(ModelShader& aShader) const;
		// False when every mesh, placed by this transform and aStack's, lies wholly
		// beside the view of aStack's camera (Render would draw nothing).
		bool MayShow(const GraphicsStateStack& aStack) const;

		const Matrix4x4& GetTransform() const { return myTransform; }
		void SetTransform(const Matrix4x4& aTransform) { myTransform = aTransform; }
		const Vector4<float>& GetColor() const { return myColor; }
		void SetColor(const Vector4<float>& aColor) { myColor = aColor; }
		const ModelTextureTable& GetTextures() const { return myTextures; }
		ModelTextureTable& GetTextures() { return myTextures; }

		std::uint64_t myFlag = 0;                // the game's own use
		std::shared_ptr<ModelShader> myShader;   // the game's own shader; the engine only keeps it
		Vector4<float> myColorAdjust{ 1.0f, 1.0f, 0.0f, 0.0f };

	private:
		std::shared_ptr<Model> myModel;
		ModelTextureTable myTextures = {};
		Matrix4x4 myTransform;
		Vector4<float> myColor;
	};

	class AnimatedModelInstance
	{
	public:
		void Init(std::shared_ptr<Model> aModel);
		std::shared_ptr<Model> GetModel() const { return myModel; }
		// Draws every mesh with aShader and the 128 bone matrices.
		void Render(ModelShader& aShader) const;
		// Bone matrices from a pose; nothing without a model.
		void UpdatePose(const SkeletonPose& aPose);

		const Matrix4x4& GetTransform() const { return myTransform; }
		void SetTransform(const Matrix4x4& aTransform) { myTransform = aTransform; }
		const Vector4<float>& GetColor() const { return myColor; }
		void SetColor(const Vector4<float>& aColor) { myColor = aColor; }
		const ModelTextureTable& GetTextures() const { return myTextures; }
		ModelTextureTable& GetTextures() { return myTextures; }
		const Matrix4x4 (&GetBones() const)[MAX_ANIMATION_BONES] { return myBones; }

		std::shared_ptr<ModelShader> myShader;
		Vector4<float> myColorAdjust{ 1.0f, 1.0f, 0.0f, 0.0f };

	private:
		Matrix4x4 myTransform;
		std::shared_ptr<Model> myModel;
		ModelTextureTable myTextures = {};
		Matrix4x4 myBones[MAX_ANIMATION_BONES];
		Vector4<float> myColor;
	};
}
