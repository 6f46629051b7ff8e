#include "ImporterInternal.h"

#include <algorithm>

using namespace fbxsdk;

namespace NorvFbx::impl
{
	namespace
	{
		bool EndsWith(std::string_view aText, std::string_view aEnd)
		{
			return aText.size() >= aEnd.size() && aText.substr(aText.size() - aEnd.size()) == aEnd;
		}

		constexpr size_t EXTENSION_LENGTH = 4; // ".fbx"
		// About an hour at 30 frames per second: longer takes are taken for damage.
		constexpr FbxLongLong MAX_ANIMATION_FRAMES = 100000;
	}

	bool BuildSkeleton(FbxNode* aNode, Skeleton& aSkeleton, std::vector<Bone>& aEvents, std::vector<Socket>& aSockets, std::int32_t aParent)
	{
		std::int32_t someChildParent = aParent;
		const FbxNodeAttribute* someAttribute = aNode->GetNodeAttribute();
		const std::string_view someName = aNode->GetName();
		if (someAttribute && someAttribute->GetAttributeType() == FbxNodeAttribute::eSkeleton)
		{
			if (aSkeleton.bones.size() == MAX_SKELETON_BONES)
				throw ImportError("The skeleton has more than " + std::to_string(MAX_SKELETON_BONES) + " bones!");
			const std::int32_t someIndex = static_cast<std::int32_t>(aSkeleton.bones.size());
			Bone& someBone = aSkeleton.bones.emplace_back();
			someBone.parent = aParent;
			someBone.name = someName;
			someBone.shortName = ShortName(someName);
			if (!aSkeleton.boneIndices.emplace(someBone.shortName, someIndex).second)
				throw ImportError("Found more than one bone with the same name [" + someBone.name + "]!");
			if (aParent >= 0)
				aSkeleton.bones[static_cast<size_t>(aParent)].children.push_back(someIndex);
			someChildParent = someIndex;
		}
		else if (someAttribute && someAttribute->GetAttributeType() == FbxNodeAttribute::eNull)
		{
			if (EndsWith(someName, "_evt") || EndsWith(someName, "_event"))
			{
				Bone& someEvent = aEvents.emplace_back();
				someEvent.parent = aParent;
				someEvent.name = someName;
			}
			else if (EndsWith(someName, "_skt") || EndsWith(someName, "_socket"))
				aSockets.push_back(Socket{ ToMatrix(aNode->EvaluateGlobalTransform(FbxTime(0))), aParent, std::string(someName) });
		}
		for (int i = 0; i < aNode->GetChildCount(); ++i)
			BuildSkeleton(aNode->GetChild(i), aSkeleton, aEvents, aSockets, someChildParent);
		return !aSkeleton.bones.empty();
	}

	std::string SkeletonName(const Skeleton& aSkeleton, const std::string& aPath)
	{
		const std::string& someFirst = aSkeleton.bones.front().name;
		const size_t someColon = someFirst.find(':');
		if (someColon != std::string::npos)
			return someFirst.substr(0, someColon);
		std::string someFile = aPath;
		std::replace(someFile.begin(), someFile.end(), '/', '\\');
		const size_t someSeparator = someFile.find_last_of('\\');
		if (someSeparator != std::string::npos)
			someFile = someFile.substr(someSeparator + 1);
		return someFile.size() >= EXTENSION_LENGTH ? someFile.substr(0, someFile.size() - EXTENSION_LENGTH) : someFile;
	}
}

namespace NorvFbx
{
	bool LoadAnimation(const std::string& aPath, AnimationRecord* aOutAnimation)
	{
		impl::SceneGuard someGuard;
		if (!impl::OpenScene(aPath, someGuard, "Failed to create the FBX Importer! Error was: no importer state (InitImporter was not called)."))
			return false;
		FbxScene* someScene = someGuard.myScene;
		if (!someGuard.myImporter->Import(someScene))
		{
			const std::string someStatus = someGuard.myImporter->GetStatus().GetErrorString();
			if (someGuard.myImporter->GetStatus().GetCode() != FbxStatus::eSuccess)
				throw impl::ImportError("Failed to import the animation. " + someStatus);
			// A failed import is a failed load, whatever the status reads.
			impl::SetLastError("Failed to import the animation " + aPath + ".");
			return false;
		}
		// The same units as the models the animation plays on.
		if (!impl::ConvertToCentimetres(someScene))
			return false;
		FbxAxisSystem(FbxAxisSystem::eDirectX).DeepConvertScene(someScene);

		Skeleton someSkeleton;
		std::vector<Bone> someEvents;
		std::vector<Socket> someSockets;
		if (!impl::BuildSkeleton(someScene->GetRootNode(), someSkeleton, someEvents, someSockets, -1))
			throw impl::ImportError("The file [" + aPath + "] has no skeleton!");

		AnimationRecord someRecord;
		for (const Bone& someBone : someSkeleton.bones)
			someRecord.boneNames.push_back(someBone.name);
		if (someGuard.myImporter->GetAnimStackCount() == 0)
			throw impl::ImportError("The file [" + aPath + "] has no animation stack!");

		const FbxAnimStack* someStack = someScene->GetSrcObject<FbxAnimStack>(0);
		const FbxTakeInfo* someTake = someStack ? someScene->GetTakeInfo(someStack->GetName()) : nullptr;
		if (!someTake)
			throw impl::ImportError("The file [" + aPath + "] has no take for its animation stack!");
		const FbxTime someStart = someTake->mLocalTimeSpan.GetStart();
		const FbxTime someStop = someTake->mLocalTimeSpan.GetStop();
		const FbxTime::EMode someMode = someScene->GetGlobalSettings().GetTimeMode();
		const FbxLongLong someFirst = someStart.GetFrameCount(someMode);
		const FbxLongLong someLast = someStop.GetFrameCount(someMode);
		if (someLast < someFirst)
		{
			impl::SetLastError("The animation in [" + aPath + "] has no frames.");
			return false;
		}
		if (someLast - someFirst >= impl::MAX_ANIMATION_FRAMES)
			throw impl::ImportError("The animation in [" + aPath + "] has " + std::to_string(someLast - someFirst + 1) + " frames, more than " + std::to_string(impl::MAX_ANIMATION_FRAMES) + "!");
		someRecord.name = aPath;
		someRecord.frameRate = FbxTime::GetFrameRate(someMode);
		someRecord.frameCount = static_cast<std::uint64_t>(someLast - someFirst + 1);
		someRecord.duration = someStop.GetSecondDouble() - someStart.GetSecondDouble();
		someRecord.frames.resize(someRecord.frameCount);

		// Nodes are looked up once; a missing bone samples as identity.
		std::vector<FbxNode*> someBoneNodes, someSocketNodes, someEventNodes;
		for (const Bone& someBone : someSkeleton.bones)
			someBoneNodes.push_back(someScene->FindNodeByName(someBone.name));
		for (const Socket& someSocket : someSockets)
			someSocketNodes.push_back(someScene->FindNodeByName(someSocket.name));
		for (const Bone& someEvent : someEvents)
			someEventNodes.push_back(someScene->FindNodeByName(someEvent.name));

		for (FbxLongLong f = someFirst; f <= someLast; ++f)
		{
			AnimationFrame& someFrame = someRecord.frames[static_cast<size_t>(f - someFirst)];
			FbxTime someTime;
			someTime.SetFrame(f, someMode);
			for (size_t b = 0; b < someSkeleton.bones.size(); ++b)
			{
				FbxNode* someNode = someBoneNodes[b];
				const std::string& someKey = someSkeleton.bones[b].shortName;
				const Norv::Matrix4x4& someLocal = someFrame.local[someKey] = someNode ? ToMatrix(someNode->EvaluateLocalTransform(someTime)) : Norv::Matrix4x4();
				const Norv::Matrix4x4& someGlobal = someFrame.global[someKey] = someNode ? ToMatrix(someNode->EvaluateGlobalTransform(someTime)) : Norv::Matrix4x4();
				if (!impl::IsFiniteMatrix(someLocal) || !impl::IsFiniteMatrix(someGlobal))
					throw impl::ImportError("The animation puts the bone [" + someSkeleton.bones[b].name + "] nowhere finite in frame " + std::to_string(f) + "!");
			}
			for (size_t s = 0; s < someSockets.size(); ++s)
			{
				if (!someSocketNodes[s])
					continue;
				const Norv::Matrix4x4& someSocket = someFrame.sockets[someSockets[s].name] = ToMatrix(someSocketNodes[s]->EvaluateGlobalTransform(someTime));
				if (!impl::IsFiniteMatrix(someSocket))
					throw impl::ImportError("The animation puts the socket [" + someSockets[s].name + "] nowhere finite in frame " + std::to_string(f) + "!");
			}
			for (size_t e = 0; e < someEvents.size(); ++e)
			{
				if (!someEventNodes[e])
					continue;
				const Norv::Matrix4x4 someLocal = ToMatrix(someEventNodes[e]->EvaluateLocalTransform(someTime));
				const float someSum = someLocal(4, 1) + someLocal(4, 2) + someLocal(4, 3);
				if (someSum * someSum > 0.0f)
					someFrame.events[someEvents[e].name] = true;
			}
		}
		*aOutAnimation = std::move(someRecord);
		return true;
	}
}
