#pragma once
// The FBX importer: turns FBX files into plain records for the model factory.
// Missing files and set-up failures return false with the last error set (and
// printed on standard error); faults in a file's content throw std::exception
// with the message.
#include "NorvFbxRecords.h"

#include "fbxsdk/FbxMath.h"

#include <string>

namespace NorvFbx
{
	// Creates the SDK manager, IO settings, shared importer and geometry converter; a second call does nothing.
	void InitImporter();
	// Frees everything InitImporter made.
	void ShutdownImporter();

	// Fills aOutModel (only on success) with the file's skeleton, meshes split per
	// material, materials, LOD groups and bounds, in centimetres and DirectX axes.
	bool LoadModel(const std::string& aPath, ModelRecord* aOutModel, bool aRegenerateTangents, bool aMergeVertices);
	// Samples the file's first animation stack frame by frame into aOutAnimation.
	bool LoadAnimation(const std::string& aPath, AnimationRecord* aOutAnimation);

	// Element (r, c) of the result is component c of the FBX matrix's row r, as float.
	Norv::Matrix4x4 ToMatrix(fbxsdk::FbxAMatrix aMatrix);

	// The text of the most recent load failure.
	const std::string& GetLastError();
}
