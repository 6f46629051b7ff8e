#pragma once
// Surface materials and textures: file textures with their absolute and
// relative file names, and layered textures (recognised, not read).
#include "fbxsdk/FbxObject.h"

namespace fbxsdk
{
	class FbxSurfaceMaterial : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxSurfaceMaterial, FbxObject)
		FbxSurfaceMaterial(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}

		static constexpr const char* sEmissive = "EmissiveColor";
		static constexpr const char* sAmbient = "AmbientColor";
		static constexpr const char* sDiffuse = "DiffuseColor";
		static constexpr const char* sSpecular = "SpecularColor";
		static constexpr const char* sShininess = "ShininessExponent";
		static constexpr const char* sBump = "Bump";
		static constexpr const char* sNormalMap = "NormalMap";
		static constexpr const char* sTransparentColor = "TransparentColor";
		static constexpr const char* sReflection = "ReflectionColor";
		static constexpr const char* sDisplacementColor = "DisplacementColor";
		static constexpr const char* sVectorDisplacementColor = "VectorDisplacementColor";
	};

	class FbxTexture : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxTexture, FbxObject)
		FbxTexture(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}
	};

	class FbxFileTexture : public FbxTexture
	{
	public:
		NORV_FBX_CLASS(FbxFileTexture, FbxTexture)
		FbxFileTexture(std::string aName, FbxUInt64 aId, std::string aFileName, std::string aRelativeFileName)
			: FbxTexture(std::move(aName), aId), myFileName(std::move(aFileName)), myRelativeFileName(std::move(aRelativeFileName)) {}

		const char* GetFileName() const { return myFileName.c_str(); }
		const char* GetRelativeFileName() const { return myRelativeFileName.c_str(); }

	private:
		std::string myFileName;
		std::string myRelativeFileName;
	};

	class FbxLayeredTexture : public FbxTexture
	{
	public:
		NORV_FBX_CLASS(FbxLayeredTexture, FbxTexture)
		FbxLayeredTexture(std::string aName, FbxUInt64 aId) : FbxTexture(std::move(aName), aId) {}
	};
}
