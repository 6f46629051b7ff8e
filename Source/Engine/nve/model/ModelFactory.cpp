#include "model/ModelFactory.h"

#include "Importer.h"
#include "debug/Assert.h"
#include "engine/Engine.h"
#include "filewatcher/FileWatcher.h"
#include "graphics/DX11.h"
#include "kernel/Kernel.h"
#include "settings/settings.h"

#include <algorithm>
#include <cfloat>
#include <exception>
#include <iostream>

namespace Norv
{
	namespace
	{
		bool IsZeroColor(const Vector4<float>& aColor)
		{
			return aColor.x + aColor.y + aColor.z + aColor.w == 0.0f;
		}

		ModelVertex ToGpuVertex(const NorvFbx::Vertex& aVertex)
		{
			ModelVertex someVertex;
			someVertex.myPosition = aVertex.position;
			for (int i = 0; i < 4; ++i)
			{
				someVertex.myColors[i] = IsZeroColor(aVertex.color[i]) ? Vector4<float>{ 1.0f, 1.0f, 1.0f, 1.0f } : aVertex.color[i];
				someVertex.myUvs[i] = aVertex.uv[i];
				// The bone buffer holds 128 matrices: no index may reach past it.
				someVertex.myBones[i] = static_cast<float>(std::min<std::uint32_t>(aVertex.bones[i], MAX_ANIMATION_BONES - 1));
				someVertex.myWeights[i] = aVertex.weights[i];
			}
			someVertex.myNormal = aVertex.normal;
			someVertex.myTangent = aVertex.tangent;
			someVertex.myBinormal = aVertex.binormal;
			return someVertex;
		}

		std::wstring ToWide(const std::string& aText)
		{
			if (aText.empty())
				return {};
			const int someLength = MultiByteToWideChar(0, 0, aText.data(), static_cast<int>(aText.size()), nullptr, 0);
			std::wstring someWide(static_cast<std::size_t>(std::max(someLength, 0)), L'\0');
			if (someLength > 0)
				MultiByteToWideChar(0, 0, aText.data(), static_cast<int>(aText.size()), someWide.data(), someLength);
			return someWide;
		}

		bool BuildSkeleton(const NorvFbx::Skeleton& aRecord, Skeleton& aOut)
		{
			const std::size_t someCount = aRecord.bones.size();
			NV_ASSERT(MAX_ANIMATION_BONES >= someCount && "More joints in animation than defined in EngingeDefines.h");
			if (someCount > MAX_ANIMATION_BONES)
				return false;
			for (std::size_t i = 0; i < someCount; ++i)
			{
				const NorvFbx::Bone& someBone = aRecord.bones[i];
				Joint& someJoint = aOut.Joints.emplace_back();
				someJoint.myMatrix = Matrix4x4::Transpose(someBone.bindPose);
				someJoint.myParent = someBone.parent;
				for (std::int32_t someChild : someBone.children)
					if (someChild >= 0)
						someJoint.myChildren.push_back(static_cast<std::uint32_t>(someChild));
				const std::size_t someColon = someBone.name.find(':');
				someJoint.myName = someColon == std::string::npos ? someBone.name : someBone.name.substr(someColon + 1);
				JointTransform& someBind = aOut.myBindPose.myJoints[i];
				DecomposeMatrix(Matrix4x4::GetInverse(someJoint.myMatrix), someBind.myTranslation, someBind.myRotation, someBind.myScale);
				aOut.myJointNameToIndex[someJoint.myName] = i;
				aOut.myJointNames.push_back(someJoint.myName);
			}
			aOut.myBindPose.myJointCount = someCount;
			return true;
		}
	}

	// ---------------------------------------------------------------- lifetime

	ModelFactory* ModelFactory::GetInstance()
	{
		if (!ourInstance)
			new ModelFactory(); // the constructor publishes itself last
		return ourInstance;
	}

	void ModelFactory::DestroyInstance()
	{
		delete ourInstance;
	}

	ModelFactory::ModelFactory()
	{
		NorvFbx::InitImporter();
		if (CreateCubeModel())
			CreatePlaneModel();
		ourInstance = this;
	}

	ModelFactory::~ModelFactory()
	{
		ourInstance = nullptr;
		// The watcher outlives a factory: its callbacks must not point at this one.
		if (FileWatcher* someWatcher = GetFileWatcher())
			someWatcher->RemoveCallbacks(this);
		NorvFbx::ShutdownImporter();
		myAnimatedModelShaders.clear();
		myModelShaders.clear();
		myAnimations.clear();
		myModels.clear();
		myWatchedPaths.clear();
	}

	// ---------------------------------------------------------------- models

	std::shared_ptr<Model> ModelFactory::GetModel(const std::string& aPath)
	{
		if (const auto someFound = myModels.find(aPath); someFound != myModels.end())
			return someFound->second;
		return LoadModel(aPath);
	}

	ModelInstance ModelFactory::GetModelInstance(const std::string& aPath)
	{
		ModelInstance someInstance;
		someInstance.myFlag = 1;
		if (std::shared_ptr<Model> someModel = GetModel(aPath))
			someInstance.Init(std::move(someModel));
		return someInstance;
	}

	AnimatedModelInstance ModelFactory::GetAnimatedModelInstance(const std::string& aPath)
	{
		AnimatedModelInstance someInstance;
		std::shared_ptr<Model> someModel = GetModel(aPath);
		if (someModel && !someModel->GetSkeleton().Joints.empty())
			someInstance.Init(std::move(someModel));
		return someInstance;
	}

	FileWatcher* ModelFactory::GetFileWatcher()
	{
		const Engine* someEngine = Engine::GetInstance();
		return someEngine ? someEngine->GetFileWatcher() : nullptr;
	}

	void ModelFactory::WatchModelFile(const std::string& aPath, const std::string& aResolvedPath)
	{
		FileWatcher* someWatcher = GetFileWatcher();
		if (!someWatcher || !myWatchedPaths.insert(aPath).second)
			return;
		someWatcher->WatchFileChange(aResolvedPath, [this, aPath](const std::string&) { OnModelFileChanged(aPath); }, this);
	}

	std::shared_ptr<Model> ModelFactory::LoadModel(const std::string& aPath)
	{
		const std::string someResolved = Settings::ResolveAssetPath(aPath);
		if (someResolved.empty())
		{
			// An empty path asks for no model; any other names a file that should be there.
			if (!aPath.empty())
				std::cerr << "The model \"" << aPath << "\" is in no asset folder\n";
			return {};
		}
		WatchModelFile(aPath, someResolved);

		NorvFbx::ModelRecord someRecord;
		try
		{
			if (!NorvFbx::LoadModel(someResolved, &someRecord, false, true))
			{
				std::cerr << "Failed to load the model " << someResolved << '\n';
				return {};
			}
		}
		catch (const std::exception& anError)
		{
			std::cerr << "Failed to load the model " << someResolved << ": " << anError.what() << '\n';
			return {};
		}
		std::shared_ptr<Model> someModel = BuildModel(someRecord, someResolved);
		if (someModel)
			myModels[aPath] = someModel;
		return someModel;
	}

	std::shared_ptr<Model> ModelFactory::BuildModel(const NorvFbx::ModelRecord& aRecord, const std::string& aResolvedPath)
	{
		if (aRecord.meshes.size() > MAX_MESHES_PER_MODEL)
		{
			std::cerr << "The model " << aResolvedPath << " has " << aRecord.meshes.size() << " meshes; at most " << MAX_MESHES_PER_MODEL << " are drawn\n";
			return {};
		}
		Skeleton someSkeleton;
		if (!BuildSkeleton(aRecord.skeleton, someSkeleton))
		{
			std::cerr << "The model " << aResolvedPath << " has " << aRecord.skeleton.bones.size() << " joints; at most " << MAX_ANIMATION_BONES << " are supported\n";
			return {};
		}

		std::vector<MeshData> someMeshes;
		someMeshes.reserve(aRecord.meshes.size());
		for (const NorvFbx::Mesh& someRecordMesh : aRecord.meshes)
		{
			MeshData& someMesh = someMeshes.emplace_back();
			someMesh.myVertices.reserve(someRecordMesh.vertices.size());
			for (const NorvFbx::Vertex& someVertex : someRecordMesh.vertices)
				someMesh.myVertices.push_back(ToGpuVertex(someVertex));
			someMesh.myIndices = someRecordMesh.indices;
			if (!CreateMeshBuffers(someMesh))
			{
				std::cerr << "Failed to create the GPU buffers of the model " << aResolvedPath << '\n';
				return {};
			}
			someMesh.myName = someRecordMesh.name;
			// A mesh without material (index -1) or with an index past the list has none.
			const std::int32_t someMaterial = someRecordMesh.materialIndex;
			if (someMaterial >= 0 && static_cast<std::size_t>(someMaterial) < aRecord.materials.size())
				someMesh.myMaterialName = aRecord.materials[static_cast<std::size_t>(someMaterial)].name;
			someMesh.myBounds = CalculateBounds(someMesh.myVertices);
		}

		std::shared_ptr<Model> someModel = std::make_shared<Model>();
		if (!someModel->Init(someMeshes, aResolvedPath))
			return {};
		if (!someSkeleton.Joints.empty())
			someModel->GetSkeleton() = std::move(someSkeleton);
		LoadModelTextures(aResolvedPath, *someModel);
		return someModel;
	}

	bool ModelFactory::CreateMeshBuffers(MeshData& aMesh)
	{
		aMesh.myVertexCount = static_cast<std::uint32_t>(aMesh.myVertices.size());
		aMesh.myIndexCount = static_cast<std::uint32_t>(aMesh.myIndices.size());
		aMesh.myStride = sizeof(ModelVertex);
		if (!DX11::ourDevice || aMesh.myVertices.empty() || aMesh.myIndices.empty())
			return false;
		const D3D11_BUFFER_DESC someVertexDesc{ static_cast<UINT>(aMesh.myVertices.size() * sizeof(ModelVertex)), D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0 };
		const D3D11_SUBRESOURCE_DATA someVertexData{ aMesh.myVertices.data(), 0, 0 };
		if (FAILED(DX11::ourDevice->CreateBuffer(&someVertexDesc, &someVertexData, aMesh.myVertexBuffer.ReleaseAndGetAddressOf())))
			return false;
		const D3D11_BUFFER_DESC someIndexDesc{ static_cast<UINT>(aMesh.myIndices.size() * sizeof(std::uint32_t)), D3D11_USAGE_IMMUTABLE, D3D11_BIND_INDEX_BUFFER, 0, 0, 0 };
		const D3D11_SUBRESOURCE_DATA someIndexData{ aMesh.myIndices.data(), 0, 0 };
		return SUCCEEDED(DX11::ourDevice->CreateBuffer(&someIndexDesc, &someIndexData, aMesh.myIndexBuffer.ReleaseAndGetAddressOf()));
	}

	MeshBounds ModelFactory::CalculateBounds(std::vector<ModelVertex> someVertices)
	{
		Vector3<float> someMin{ FLT_MAX, FLT_MAX, FLT_MAX };
		Vector3<float> someMax{ -FLT_MAX, -FLT_MAX, -FLT_MAX };
		for (const ModelVertex& someVertex : someVertices)
		{
			const Vector4<float>& p = someVertex.myPosition;
			someMin = { std::min(someMin.x, p.x), std::min(someMin.y, p.y), std::min(someMin.z, p.z) };
			someMax = { std::max(someMax.x, p.x), std::max(someMax.y, p.y), std::max(someMax.z, p.z) };
		}
		MeshBounds someBounds;
		if (someVertices.empty())
			return someBounds; // no vertices: a point at the origin, not infinite extents
		someBounds.myHalfExtents = (someMax - someMin) * 0.5f;
		someBounds.myRadius = someBounds.myHalfExtents.Length();
		someBounds.myCenter = (someMax + someMin) * 0.5f;
		return someBounds;
	}

	void ModelFactory::OnModelFileChanged(const std::string& aPath)
	{
		const auto someFound = myModels.find(aPath);
		if (someFound == myModels.end())
			return;
		// Clips are laid out for the model they were loaded for: the old model's are stale.
		const std::uint64_t someStaleId = someFound->second->GetId();
		std::erase_if(myAnimations, [someStaleId](const auto& anEntry) { return anEntry.first.second == someStaleId; });
		myModels.erase(someFound);
	}

	// ---------------------------------------------------------------- animations

	AnimationPlayer ModelFactory::GetAnimationPlayer(const std::string& aPath, std::shared_ptr<Model> aModel)
	{
		AnimationPlayer somePlayer;
		const std::string someResolved = Settings::ResolveAssetPath(aPath);
		if (someResolved.empty())
			return somePlayer;
		if (std::shared_ptr<Animation> someClip = LoadAnimation(someResolved, std::move(aModel)))
			somePlayer.SetAnimation(std::move(someClip));
		return somePlayer;
	}

	std::shared_ptr<Animation> ModelFactory::LoadAnimation(const std::string& aResolvedPath, std::shared_ptr<Model> aModel)
	{
		if (!aModel)
			return {};
		const auto someKey = std::make_pair(aResolvedPath, aModel->GetId());
		if (const auto someFound = myAnimations.find(someKey); someFound != myAnimations.end())
			return someFound->second;

		NorvFbx::AnimationRecord someRecord;
		try
		{
			if (!NorvFbx::LoadAnimation(aResolvedPath, &someRecord))
			{
				std::cerr << "Failed to load the animation " << aResolvedPath << '\n';
				return {};
			}
		}
		catch (const std::exception& anError)
		{
			std::cerr << "Failed to load the animation " << aResolvedPath << ": " << anError.what() << '\n';
			return {};
		}

		const Skeleton& someSkeleton = aModel->GetSkeleton();
		std::shared_ptr<Animation> someClip = std::make_shared<Animation>();
		someClip->myName = ToWide(someRecord.name);
		someClip->myFrameCount = static_cast<std::uint32_t>(someRecord.frames.size());
		someClip->myFrameRate = static_cast<float>(someRecord.frameRate);
		someClip->myDuration = static_cast<float>(someRecord.duration);
		someClip->myFrames.resize(someRecord.frames.size());
		const std::uint64_t someJointCount = std::min<std::uint64_t>(someSkeleton.Joints.size(), MAX_ANIMATION_BONES);
		for (std::size_t f = 0; f < someRecord.frames.size(); ++f)
		{
			SkeletonPose& somePose = someClip->myFrames[f];
			somePose.myJointCount = someJointCount;
			const NorvFbx::AnimationFrame& someFrame = someRecord.frames[f];
			for (const auto& [someName, someLocal] : someFrame.local)
			{
				const auto someJoint = someSkeleton.myJointNameToIndex.find(someName);
				if (someJoint == someSkeleton.myJointNameToIndex.end() || someJoint->second >= someJointCount)
					continue;
				// A root joint's parent is no joint (an armature node, say): its local
				// matrix would drop that node's transform, which the bind matrices
				// hold, so the root takes its global matrix.
				const Matrix4x4* someMatrix = &someLocal;
				if (someSkeleton.Joints[someJoint->second].myParent < 0)
					if (const auto someGlobal = someFrame.global.find(someName); someGlobal != someFrame.global.end())
						someMatrix = &someGlobal->second;
				JointTransform& someTransform = somePose.myJoints[someJoint->second];
				DecomposeMatrix(*someMatrix, someTransform.myTranslation, someTransform.myRotation, someTransform.myScale);
			}
		}
		myAnimations[someKey] = someClip;
		return someClip;
	}

	// ---------------------------------------------------------------- shaders

	std::shared_ptr<ModelShader> ModelFactory::GetShader(std::unordered_map<std::string, std::shared_ptr<ModelShader>>& aCache, const char* aVertexShader, const std::string& aPixelShader)
	{
		if (const auto someFound = aCache.find(aPixelShader); someFound != aCache.end())
			return someFound->second;
		std::string someName = aPixelShader;
		std::replace(someName.begin(), someName.end(), '\\', '/');
		someName = someName.substr(0, someName.find('.'));
		std::shared_ptr<ModelShader> someShader = std::make_shared<ModelShader>();
		if (!someShader->Init(aVertexShader, someName))
			return {};
		aCache[aPixelShader] = someShader;
		return someShader;
	}

	std::shared_ptr<ModelShader> ModelFactory::GetModelShader(const std::string& aPixelShader)
	{
		return GetShader(myModelShaders, "shaders/model_shader_VS", aPixelShader);
	}

	std::shared_ptr<ModelShader> ModelFactory::GetAnimatedModelShader(const std::string& aPixelShader)
	{
		return GetShader(myAnimatedModelShaders, "shaders/animated_model_shader_VS", aPixelShader);
	}
}
