#pragma once
// The plain records the FBX importer fills and the model factory reads.
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"
#include "stringRegistry/Fnv1a.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace NorvFbx
{
	// Hash maps keyed by text hash it with 64-bit FNV-1a.
	template <typename T>
	using TextMap = std::unordered_map<std::string, T, Norv::Fnv1aHash, std::equal_to<>>;

	// Bones a skeleton may hold: the size of an animation pose.
	inline constexpr size_t MAX_SKELETON_BONES = 128;
	inline constexpr int MAX_UV_SETS = 4;
	inline constexpr int MAX_COLOR_SETS = 4;
	inline constexpr int MAX_INFLUENCES = 4;

	struct Bounds
	{
		Norv::Vector3<float> halfExtents;
		Norv::Vector3<float> center;
		float radius = 0.0f;
	};

	struct Box
	{
		Norv::Vector3<float> min;
		Norv::Vector3<float> max;
		std::int32_t valid = 0;
	};

	struct Vertex
	{
		Norv::Vector4<float> position;
		Norv::Vector4<float> color[MAX_COLOR_SETS];
		Norv::Vector2<float> uv[MAX_UV_SETS];
		Norv::Vector3<float> normal;
		Norv::Vector3<float> tangent;
		Norv::Vector3<float> binormal;
		std::uint32_t bones[MAX_INFLUENCES] = {};
		float weights[MAX_INFLUENCES] = {};
	};
	static_assert(sizeof(Vertex) == 180, "the vertex layout is shared with the model factory");

	struct Mesh
	{
		std::vector<Vertex> vertices;
		std::vector<std::uint32_t> indices;
		// Index into the model's materials; -1 when the mesh node has no material.
		std::int32_t materialIndex = -1;
		std::string name;
		Bounds bounds;
		Box box;
	};

	struct LodLevel
	{
		std::int32_t level = 0;
		float distance = 0.0f;
		std::vector<Mesh> meshes;
	};

	struct LodGroup
	{
		std::vector<LodLevel> levels;
	};

	struct Bone
	{
		Norv::Matrix4x4 bindPose;
		std::int32_t parent = -1;
		std::string name;
		std::string shortName;
		std::vector<std::int32_t> children;
	};

	struct Socket
	{
		Norv::Matrix4x4 transform;
		std::int32_t bone = -1;
		std::string name;
	};

	struct Skeleton
	{
		std::string name;
		std::vector<Bone> bones;
		TextMap<Socket> sockets;
		TextMap<std::int32_t> boneIndices;
	};

	struct TextureSlot
	{
		std::string fileName;
		std::string absolutePath;
		std::string relativePath;
	};

	struct Material
	{
		std::string name;
		TextureSlot emissive;
		TextureSlot ambient;
		TextureSlot diffuse;
		TextureSlot specular;
		TextureSlot shininess;
		TextureSlot bump;
		TextureSlot normalMap;
		TextureSlot transparentColor;
		TextureSlot reflection;
		TextureSlot displacementColor;
		TextureSlot vectorDisplacementColor;
	};

	struct ModelRecord
	{
		Skeleton skeleton;
		std::vector<Mesh> meshes;
		std::vector<Material> materials;
		std::vector<LodGroup> lodGroups;
		std::string path;
		Bounds bounds;
		Box box;
	};

	struct AnimationFrame
	{
		TextMap<Norv::Matrix4x4> global;
		TextMap<Norv::Matrix4x4> local;
		TextMap<bool> events;
		TextMap<Norv::Matrix4x4> sockets;
	};

	struct AnimationRecord
	{
		std::vector<AnimationFrame> frames;
		std::vector<std::string> boneNames;
		std::uint64_t frameCount = 0;
		double duration = 0.0;
		double frameRate = 0.0;
		std::string name;
	};
}
