#include "ModelFiles.h"

#include "DdsWriter.h"

#include <cmath>


namespace NorvArt
{
	namespace
	{
		constexpr double PI = 3.14159265358979323846;
		constexpr std::uint32_t PALETTE_MIPS = 4; // down to one texel per swatch

		std::string Stem(const std::string& aRelative)
		{
			const size_t someSlash = aRelative.find_last_of('/');
			const std::string someName = aRelative.substr(someSlash == std::string::npos ? 0 : someSlash + 1);
			return someName.substr(0, someName.find_last_of('.'));
		}

		std::string Folder(const std::string& aRelative)
		{
			const size_t someSlash = aRelative.find_last_of('/');
			return someSlash == std::string::npos ? std::string() : aRelative.substr(0, someSlash + 1);
		}

		std::uint32_t SeedOf(const std::string& aText)
		{
			std::uint32_t h = 2166136261u;
			for (char c : aText)
				h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
			return h;
		}

		std::string Encode(const NorvTools::FbxSceneWriter& aWriter)
		{
			return NorvTools::WriteBinaryFbx(aWriter.Build());
		}

		// The mesh node named after the file, with its material, and the palette beside the file.
		std::int64_t AddMeshWithMaterial(NorvTools::FbxSceneWriter& aWriter, const std::filesystem::path& aRoot, const std::string& aRelative,
			NorvTools::FbxMeshData aMesh, const Palette& aPalette)
		{
			const std::string someName = Stem(aRelative);
			const std::int64_t someNode = aWriter.AddNode(someName, "Mesh");
			const std::int64_t someGeometry = aWriter.AddMesh(someNode, std::move(aMesh));
			aWriter.ConnectMaterial(aWriter.AddMaterial(someName), someNode);
			WriteOutputFile(aRoot, Folder(aRelative) + someName + "_C.dds", WriteDds(aPalette.Paint(SeedOf(someName)), PALETTE_MIPS));
			return someGeometry;
		}

		Vec3 Stored(const Rig& aRig, const Vec3& aDesign)
		{
			const Vec3 v = Apply(aRig.frame, aDesign);
			return { v[0] * aRig.scale, v[1] * aRig.scale, v[2] * aRig.scale };
		}

		// The bone's rest translation from its parent, in stored axes.
		Vec3 LocalPosition(const Rig& aRig, size_t aBone)
		{
			const RigBone& someBone = aRig.bones[aBone];
			const Vec3 someParent = someBone.parent < 0 ? Vec3{ 0, 0, 0 } : aRig.bones[static_cast<size_t>(someBone.parent)].position;
			return Stored(aRig, { someBone.position[0] - someParent[0], someBone.position[1] - someParent[1], someBone.position[2] - someParent[2] });
		}

		// A design-axes rotation seen in the stored axes: frame * R * frame^T, as Euler angles.
		Vec3 StoredEuler(const Frame& f, const Vec3& aDesignDegrees)
		{
			const Frame r = EulerFrame(aDesignDegrees);
			Frame fr{}, m{};
			for (int i = 0; i < 3; ++i)
				for (int j = 0; j < 3; ++j)
					for (int k = 0; k < 3; ++k)
						fr[static_cast<size_t>(3 * i + j)] += f[static_cast<size_t>(3 * i + k)] * r[static_cast<size_t>(3 * k + j)];
			for (int i = 0; i < 3; ++i)
				for (int j = 0; j < 3; ++j)
					for (int k = 0; k < 3; ++k)
						m[static_cast<size_t>(3 * i + j)] += fr[static_cast<size_t>(3 * i + k)] * f[static_cast<size_t>(3 * j + k)];
			return FrameEuler(m);
		}

		std::vector<std::int64_t> AddBones(NorvTools::FbxSceneWriter& aWriter, const Rig& aRig)
		{
			std::vector<std::int64_t> someNodes;
			for (size_t b = 0; b < aRig.bones.size(); ++b)
			{
				const RigBone& someBone = aRig.bones[b];
				NorvTools::FbxNodeTransform someTransform;
				someTransform.translation = LocalPosition(aRig, b);
				const std::int64_t someNode = aWriter.AddNode(someBone.name, "LimbNode", someBone.parent < 0 ? 0 : someNodes[static_cast<size_t>(someBone.parent)], someTransform);
				aWriter.AddSkeletonAttribute(someNode);
				someNodes.push_back(someNode);
			}
			return someNodes;
		}
	}

	void WriteStaticModel(const std::filesystem::path& aRoot, const std::string& aRelative, const MeshBuilder& aMesh, const Palette& aPalette)
	{
		NorvTools::FbxSceneWriter someWriter;
		AddMeshWithMaterial(someWriter, aRoot, aRelative, aMesh.Finish(), aPalette);
		WriteOutputFile(aRoot, aRelative, Encode(someWriter));
	}

	void WriteSkinnedModel(const std::filesystem::path& aRoot, const std::string& aRelative, const Rig& aRig, const MeshBuilder& aMesh, const Palette& aPalette)
	{
		NorvTools::FbxSceneWriter someWriter;
		const std::vector<std::int64_t> someBones = AddBones(someWriter, aRig);
		std::vector<int> someBoneOfPoint;
		const std::int64_t someGeometry = AddMeshWithMaterial(someWriter, aRoot, aRelative, aMesh.Finish(&someBoneOfPoint), aPalette);
		const std::int64_t someSkin = someWriter.AddSkin(someGeometry);
		for (size_t b = 0; b < aRig.bones.size(); ++b)
		{
			std::vector<std::int32_t> someIndices;
			for (size_t p = 0; p < someBoneOfPoint.size(); ++p)
				if (someBoneOfPoint[p] == static_cast<int>(b))
					someIndices.push_back(static_cast<std::int32_t>(p));
			NorvTools::FbxMatrix someBoneGlobal = NorvTools::FBX_IDENTITY;
			const Vec3 someStored = Stored(aRig, aRig.bones[b].position);
			for (size_t a = 0; a < 3; ++a)
				someBoneGlobal[12 + a] = someStored[a];
			const std::vector<double> someWeights(someIndices.size(), 1.0);
			someWriter.AddCluster(someSkin, someBones[b], std::move(someIndices), someWeights, NorvTools::FBX_IDENTITY, someBoneGlobal);
		}
		WriteOutputFile(aRoot, aRelative, Encode(someWriter));
	}

	void WriteClip(const std::filesystem::path& aRoot, const std::string& aRelative, const Rig& aRig, double aDuration, const Motion& aMotion)
	{
		NorvTools::FbxSceneWriter someWriter;
		const std::vector<std::int64_t> someBones = AddBones(someWriter, aRig);
		const auto someFrames = static_cast<std::int64_t>(std::ceil(aDuration * CLIP_FRAMES_PER_SECOND - 1e-9));
		const std::int64_t someTicksPerFrame = NorvTools::FBX_TICKS_PER_SECOND / CLIP_FRAMES_PER_SECOND;
		someWriter.AddAnimStack(Stem(aRelative), 0, someFrames * someTicksPerFrame);

		std::vector<std::int64_t> someTimes;
		std::vector<std::vector<BoneMotion>> someSamples;
		for (std::int64_t f = 0; f <= someFrames; ++f)
		{
			someTimes.push_back(f * someTicksPerFrame);
			std::vector<BoneMotion> somePose(aRig.bones.size());
			aMotion(static_cast<double>(f) / CLIP_FRAMES_PER_SECOND, somePose);
			someSamples.push_back(std::move(somePose));
		}
		for (size_t b = 0; b < aRig.bones.size(); ++b)
		{
			const Vec3 someRest = LocalPosition(aRig, b);
			for (int channel = 0; channel < 3; ++channel)
			{
				const size_t c = static_cast<size_t>(channel);
				std::vector<float> someRotations, someTranslations, someScales;
				for (const std::vector<BoneMotion>& somePose : someSamples)
				{
					const BoneMotion& m = somePose[b];
					someRotations.push_back(static_cast<float>(StoredEuler(aRig.frame, m.rotation)[c]));
					someTranslations.push_back(static_cast<float>(someRest[c] + Stored(aRig, m.offset)[c]));
					// Scaling stays per stored axis: the frames only swap and mirror axes.
					const Vec3 someScale = Apply(aRig.frame, m.scale);
					someScales.push_back(static_cast<float>(std::fabs(someScale[c])));
				}
				someWriter.AddCurve(someBones[b], "Lcl Rotation", channel, someTimes, std::move(someRotations));
				someWriter.AddCurve(someBones[b], "Lcl Translation", channel, someTimes, std::move(someTranslations));
				someWriter.AddCurve(someBones[b], "Lcl Scaling", channel, someTimes, std::move(someScales));
			}
		}
		WriteOutputFile(aRoot, aRelative, Encode(someWriter));
	}
}
