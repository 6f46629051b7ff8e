#pragma once
// The importer: Initialize reads the whole file once and parses it (binary or
// ASCII is detected), Import builds the scene's objects from the parsed tree.
#include "fbxsdk/FbxParseTree.h"
#include "fbxsdk/FbxScene.h"

namespace fbxsdk
{
	class FbxImporter : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxImporter, FbxObject)
		static FbxImporter* Create(FbxManager* aManager, const char* aName);

		// aFileFormat -1 detects the format. True when the file was read and parsed.
		bool Initialize(const char* aPath, int aFileFormat = -1, FbxIOSettings* aSettings = nullptr);
		bool IsFBX() const { return myIsFbx; }
		// Builds the parsed file into aScene (once per Initialize).
		bool Import(FbxScene* aScene);
		int GetAnimStackCount() const { return myAnimStackCount; }
		FbxStatus& GetStatus() { return myStatus; }

	private:
		using FbxObject::FbxObject;

		impl::ParseTree myTree;
		FbxStatus myStatus;
		bool myIsFbx = false;
		bool myParsed = false;
		int myAnimStackCount = 0;
	};

	namespace impl
	{
		// Makes the scene's objects from a parsed file; false with a reason when the
		// file's content is inconsistent (bad references, indices out of range).
		bool ReadScene(ParseTree& aTree, FbxScene& aScene, std::string& aError);
	}
}
