#include "ImporterInternal.h"

using namespace fbxsdk;

namespace NorvFbx::impl
{
	namespace
	{
		// The file texture connected to one material channel; layered textures are not read.
		TextureSlot ReadTextureSlot(FbxSurfaceMaterial* aMaterial, const char* aProperty)
		{
			TextureSlot someSlot;
			const FbxProperty someProperty = aMaterial->FindProperty(aProperty);
			if (!someProperty.IsValid() || someProperty.GetSrcObjectCount<FbxLayeredTexture>() > 0 || someProperty.GetSrcObjectCount<FbxTexture>() == 0)
				return someSlot;
			FbxTexture* someTexture = someProperty.GetSrcObject<FbxTexture>(0);
			if (!someTexture->GetClassId().Is(FbxFileTexture::ClassId))
				return someSlot;
			const FbxFileTexture* someFile = FbxCast<FbxFileTexture>(someTexture);
			someSlot.absolutePath = someFile->GetFileName();
			someSlot.relativePath = someFile->GetRelativeFileName();
			const size_t someSeparator = someSlot.relativePath.find_last_of('\\');
			someSlot.fileName = someSeparator == std::string::npos ? someSlot.relativePath : someSlot.relativePath.substr(someSeparator + 1);
			return someSlot;
		}
	}

	void ReadMaterial(FbxSurfaceMaterial* aMaterial, Material& aOut)
	{
		aOut.name = aMaterial->GetName();
		aOut.ambient = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sAmbient);
		aOut.bump = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sBump);
		aOut.diffuse = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sDiffuse);
		aOut.displacementColor = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sDisplacementColor);
		aOut.emissive = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sEmissive);
		aOut.normalMap = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sNormalMap);
		aOut.reflection = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sReflection);
		aOut.specular = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sSpecular);
		aOut.transparentColor = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sTransparentColor);
		aOut.vectorDisplacementColor = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sVectorDisplacementColor);
		aOut.shininess = ReadTextureSlot(aMaterial, FbxSurfaceMaterial::sShininess);
	}
}
