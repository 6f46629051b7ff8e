#include "model/ModelInstance.h"

#include "graphics/GraphicsStateStack.h"
#include "graphics/ViewVolume.h"
#include "model/ModelShader.h"

#include <algorithm>

namespace Norv
{
	namespace
	{
		void CopyTextures(const std::shared_ptr<Model>& aModel, ModelTextureTable& aOut)
		{
			if (aModel)
				std::copy(&aModel->GetTextures()[0][0], &aModel->GetTextures()[0][0] + MAX_MESHES_PER_MODEL * MODEL_TEXTURE_KIND_COUNT, &aOut[0][0]);
			else
				std::fill(&aOut[0][0], &aOut[0][0] + MAX_MESHES_PER_MODEL * MODEL_TEXTURE_KIND_COUNT, nullptr);
		}

		void RenderMeshes(const Model* aModel, const ModelTextureTable& aTextures, ModelShader& aShader, const Matrix4x4& aTransform,
			const Matrix4x4* aBones, const Vector4<float>& aColor, const Vector4<float>& aColorAdjust)
		{
			if (!aModel)
				return;
			const std::vector<MeshData>& someMeshes = aModel->GetMeshes();
			const std::size_t someCount = std::min(someMeshes.size(), MAX_MESHES_PER_MODEL);
			for (std::size_t i = 0; i < someCount; ++i)
				aShader.Render(aTextures[i], someMeshes[i], aTransform, aBones, aColor, aColorAdjust);
		}
	}

	void ModelInstance::Init(std::shared_ptr<Model> aModel)
	{
		myModel = std::move(aModel);
		CopyTextures(myModel, myTextures);
	}

	void ModelInstance::Render(ModelShader& aShader) const
	{
		RenderMeshes(myModel.get(), myTextures, aShader, myTransform, nullptr, myColor, myColorAdjust);
	}

	bool ModelInstance::MayShow(const GraphicsStateStack& aStack) const
	{
		if (!myModel)
			return false;
		const RenderState& someTop = aStack.GetTop();
		const ViewVolume someVolume = ViewVolume::ForMesh(myTransform * someTop.myTransform, someTop.myCamera);
		const std::vector<MeshData>& someMeshes = myModel->GetMeshes();
		const auto someEnd = someMeshes.begin() + static_cast<std::ptrdiff_t>(std::min(someMeshes.size(), MAX_MESHES_PER_MODEL));
		return std::any_of(someMeshes.begin(), someEnd, [&](const MeshData& aMesh) { return ModelShader::MayShow(aMesh, someVolume); });
	}

	void AnimatedModelInstance::Init(std::shared_ptr<Model> aModel)
	{
		myModel = std::move(aModel);
		CopyTextures(myModel, myTextures);
	}

	void AnimatedModelInstance::Render(ModelShader& aShader) const
	{
		RenderMeshes(myModel.get(), myTextures, aShader, myTransform, myBones, myColor, myColorAdjust);
	}

	void AnimatedModelInstance::UpdatePose(const SkeletonPose& aPose)
	{
		if (!myModel)
			return;
		JointMatrices someWorld; // on the stack: nothing allocated per frame
		const Skeleton& someSkeleton = myModel->GetSkeleton();
		someSkeleton.CalculateJointWorldMatrices(aPose, someWorld);
		someSkeleton.CalculateBoneMatrices(someWorld, myBones);
	}
}
