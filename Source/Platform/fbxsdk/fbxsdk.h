#pragma once
// Stand-in for the FBX SDK (libfbxsdk, namespace fbxsdk): the subset the FBX
// importer calls, with the SDK's class and function names.
//
// Keeps: binary FBX 7.x (32- and 64-bit record offsets, zlib-compressed arrays)
// and ASCII FBX 7.x; objects, connections, property templates and Properties70;
// nodes with mesh, skeleton, null and LOD group attributes; the full transform
// chain (offsets, pivots, pre/post rotation, rotation order, inherit type,
// geometric transform) evaluated at a time from the first animation stack's
// first layer; meshes with normal, tangent, binormal, UV, colour and material
// elements in every mapping and reference mode; triangulation; tangent
// generation; skins and clusters; materials with file and layered textures;
// takes and time modes; unit and axis conversion of the whole scene.
//
// Does not keep: writing files, cameras, lights, NURBS, blend shapes, more than
// one animation layer, embedded media, password-protected files, FBX 6 and older.
//
// Built on: our own readers (one read of the file, arrays decoded straight into
// typed buffers) and zlib.
#include "fbxsdk/FbxAnimation.h"
#include "fbxsdk/FbxImporter.h"
#include "fbxsdk/FbxMaterial.h"
#include "fbxsdk/FbxMath.h"
#include "fbxsdk/FbxMesh.h"
#include "fbxsdk/FbxNode.h"
#include "fbxsdk/FbxNodeAttribute.h"
#include "fbxsdk/FbxObject.h"
#include "fbxsdk/FbxScene.h"
