#pragma once
// The engine's one loader and cache of 3D assets: models read from FBX files
// through the importer, the built-in "Cube" and "Plane", animation clips per
// (file, model) and model shaders per pixel shader. Made on first use; main
// thread only. A changed model file is dropped from the cache by its watcher
// callback, so the next request loads it anew while instances keep the old one.
#include "model/Animation.h"
#include "model/AnimationPlayer.h"
#include "model/Model.h"
#include "model/ModelInstance.h"
#include "model/ModelShader.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace NorvFbx
{
	struct ModelRecord;
}

namespace Norv
{
	class FileWatcher;

	class ModelFactory
	{
	public:
		static ModelFactory* GetInstance();
		// Destroys the factory (the engine does, before its own services go).
		static void DestroyInstance();

		// The cached model of exactly this path string, loading it on a miss; empty
		// when the file is missing or cannot be loaded (nothing cached then).
		std::shared_ptr<Model> GetModel(const std::string& aPath);
		ModelInstance GetModelInstance(const std::string& aPath);
		// Bound only to a model with at least one joint.
		AnimatedModelInstance GetAnimatedModelInstance(const std::string& aPath);
		// A default player with the clip of aPath for aModel when it loads.
		AnimationPlayer GetAnimationPlayer(const std::string& aPath, std::shared_ptr<Model> aModel);
		// Cached per (file, model); empty for a null model or a failed load.
		std::shared_ptr<Animation> LoadAnimation(const std::string& aResolvedPath, std::shared_ptr<Model> aModel);
		std::shared_ptr<ModelShader> GetModelShader(const std::string& aPixelShader);
		std::shared_ptr<ModelShader> GetAnimatedModelShader(const std::string& aPixelShader);

		std::shared_ptr<Model> LoadModel(const std::string& aPath);
		// Hot reload: drops the cache's model of aPath and the clips loaded for it.
		void OnModelFileChanged(const std::string& aPath);

		// Texture lookups by file-name suffix (model textures).
		static void LoadModelTextures(const std::string& aPath, Model& aModel);
		static Texture* LoadColorTexture(const std::string& aModelBase, const std::string& aMeshBase);
		static Texture* LoadNormalTexture(const std::string& aModelBase, const std::string& aMeshBase);
		static Texture* LoadMaterialTexture(const std::string& aModelBase, const std::string& aMeshBase);
		static Texture* LoadEffectsTexture(const std::string& aModelBase, const std::string& aMeshBase);
		// aPath without its file's extension (a dot in a folder name is kept).
		static std::string GetModelBase(const std::string& aPath);
		static MeshBounds CalculateBounds(std::vector<ModelVertex> someVertices);
		// The GPU buffers of aMesh from its CPU copies; false when either fails.
		static bool CreateMeshBuffers(MeshData& aMesh);

	private:
		ModelFactory();
		~ModelFactory();

		bool CreateCubeModel();
		bool CreatePlaneModel();
		bool StoreBuiltInModel(MeshData& aMesh, const std::string& aName);
		static FileWatcher* GetFileWatcher();
		void WatchModelFile(const std::string& aPath, const std::string& aResolvedPath);
		std::shared_ptr<Model> BuildModel(const NorvFbx::ModelRecord& aRecord, const std::string& aResolvedPath);
		std::shared_ptr<ModelShader> GetShader(std::unordered_map<std::string, std::shared_ptr<ModelShader>>& aCache, const char* aVertexShader, const std::string& aPixelShader);

		std::unordered_set<std::string> myWatchedPaths;
		std::unordered_map<std::string, std::shared_ptr<Model>> myModels;
		// Keyed by the model's load id, which is never reused (an address could be).
		std::map<std::pair<std::string, std::uint64_t>, std::shared_ptr<Animation>> myAnimations;
		std::unordered_map<std::string, std::shared_ptr<ModelShader>> myModelShaders;
		std::unordered_map<std::string, std::shared_ptr<ModelShader>> myAnimatedModelShaders;

		inline static ModelFactory* ourInstance = nullptr;
	};
}
