#include "fbxsdk/FbxNode.h"
#include "fbxsdk/FbxScene.h"

namespace fbxsdk
{
	namespace
	{
		enum Channel { TRANSLATION, ROTATION, SCALING };

		FbxVector4 ChannelValue(const FbxNode::Transform& aTransform, Channel aChannel, const FbxDouble3& aStatic, FbxTime aTime)
		{
			const FbxAnimCurveNode* someCurves = aTransform.animated[aChannel];
			if (!someCurves)
				return FbxVector4(aStatic);
			return { someCurves->EvaluateChannel(0, aTime), someCurves->EvaluateChannel(1, aTime), someCurves->EvaluateChannel(2, aTime), 0.0 };
		}

		FbxAMatrix Translation(const FbxDouble3& aValue) { return FbxAMatrix::FromTranslation(FbxVector4(aValue)); }

		FbxAMatrix Conjugate(const FbxScene& aScene, const FbxAMatrix& aMatrix)
		{
			return aScene.Conversion() * aMatrix * aScene.ConversionInverse();
		}

		// The local rotation with its pre- and post-rotation, no pivots.
		FbxAMatrix LocalRotation(const FbxNode::Transform& aTransform, FbxTime aTime)
		{
			const FbxVector4 someRotation = ChannelValue(aTransform, ROTATION, aTransform.rotation, aTime);
			if (!aTransform.rotationActive)
				return FbxAMatrix::FromRotation(someRotation);
			return FbxAMatrix::FromRotation(FbxVector4(aTransform.preRotation)) * FbxAMatrix::FromRotation(someRotation, aTransform.rotationOrder)
				* FbxAMatrix::FromRotation(FbxVector4(aTransform.postRotation)).Inverse();
		}
	}

	FbxAMatrix FbxNode::FileLocal(FbxTime aTime) const
	{
		const Transform& t = myTransform;
		const FbxVector4 someTranslation = ChannelValue(t, TRANSLATION, t.translation, aTime);
		const FbxVector4 someScaling = ChannelValue(t, SCALING, t.scaling, aTime);
		// T * Roff * Rp * (Rpre * R * Rpost^-1) * Rp^-1 * Soff * Sp * S * Sp^-1
		return FbxAMatrix::FromTranslation(someTranslation) * Translation(t.rotationOffset) * Translation(t.rotationPivot)
			* LocalRotation(t, aTime) * Translation(t.rotationPivot).Inverse() * Translation(t.scalingOffset)
			* Translation(t.scalingPivot) * FbxAMatrix::FromScaling(someScaling) * Translation(t.scalingPivot).Inverse();
	}

	FbxAMatrix FbxNode::FileGlobal(FbxTime aTime) const
	{
		const FbxAMatrix someLocal = FileLocal(aTime);
		if (!myParent)
			return someLocal;
		const FbxAMatrix someParent = myParent->FileGlobal(aTime);
		switch (myTransform.inheritType)
		{
		case EFbxInheritType::eInheritRSrs:
			return someParent * someLocal;
		case EFbxInheritType::eInheritRrs:
		{
			// The parent's own scaling does not reach its children.
			const FbxVector4 someParentScaling = ChannelValue(myParent->myTransform, SCALING, myParent->myTransform.scaling, aTime);
			const FbxVector4 someInverse(someParentScaling[0] != 0.0 ? 1.0 / someParentScaling[0] : 0.0, someParentScaling[1] != 0.0 ? 1.0 / someParentScaling[1] : 0.0,
				someParentScaling[2] != 0.0 ? 1.0 / someParentScaling[2] : 0.0, 0.0);
			return someParent * FbxAMatrix::FromScaling(someInverse) * someLocal;
		}
		default:
		{
			// The parent's scaling applies after the child's rotation, so it never shears.
			const FbxVector4 someTranslation = (someParent * someLocal).GetT();
			const FbxAMatrix someRotation = someParent.GetRotationOnly() * LocalRotation(myTransform, aTime);
			const FbxVector4 someParentScale = someParent.GetS();
			const FbxVector4 someLocalScale = ChannelValue(myTransform, SCALING, myTransform.scaling, aTime);
			const FbxVector4 someScale(someParentScale[0] * someLocalScale[0], someParentScale[1] * someLocalScale[1], someParentScale[2] * someLocalScale[2], 0.0);
			return FbxAMatrix::FromTranslation(someTranslation) * someRotation * FbxAMatrix::FromScaling(someScale);
		}
		}
	}

	FbxAMatrix FbxNode::FileGeometric() const
	{
		const Transform& t = myTransform;
		return FbxAMatrix(FbxVector4(t.geometricTranslation), FbxVector4(t.geometricRotation), FbxVector4(t.geometricScaling));
	}

	FbxAMatrix FbxNode::EvaluateLocalTransform(FbxTime aTime)
	{
		return Conjugate(*myScene, FileLocal(aTime));
	}

	FbxAMatrix FbxNode::EvaluateGlobalTransform(FbxTime aTime)
	{
		return Conjugate(*myScene, FileGlobal(aTime));
	}

	FbxVector4 FbxNode::GetGeometricTranslation() const
	{
		return Conjugate(*myScene, FileGeometric()).GetT();
	}

	FbxVector4 FbxNode::GetGeometricRotation() const
	{
		return Conjugate(*myScene, FileGeometric()).GetR();
	}

	FbxVector4 FbxNode::GetGeometricScaling() const
	{
		return Conjugate(*myScene, FileGeometric()).GetS();
	}
}
