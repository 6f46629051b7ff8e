#include "fbxwriter/FbxSceneWriter.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace NorvTools
{
	namespace
	{
		using Vec3 = std::array<double, 3>;

		void P(FbxRecord& aProperties, const std::string& aName, const std::string& aType, const std::string& aLabel, const std::string& aFlags, std::vector<FbxValue> aValues)
		{
			std::vector<FbxValue> someValues{ aName, aType, aLabel, aFlags };
			for (FbxValue& someValue : aValues)
				someValues.push_back(std::move(someValue));
			aProperties.Add("P", std::move(someValues));
		}

		void PVector(FbxRecord& aProperties, const std::string& aName, const std::string& aType, const Vec3& aValue)
		{
			P(aProperties, aName, aType, "", "A", { aValue[0], aValue[1], aValue[2] });
		}

		// Row-vector matrices: aLeft * aRight applies aLeft first.
		FbxMatrix Multiply(const FbxMatrix& aLeft, const FbxMatrix& aRight)
		{
			FbxMatrix someProduct{};
			for (int r = 0; r < 4; ++r)
				for (int c = 0; c < 4; ++c)
					for (int k = 0; k < 4; ++k)
						someProduct[static_cast<size_t>(r * 4 + c)] += aLeft[static_cast<size_t>(r * 4 + k)] * aRight[static_cast<size_t>(k * 4 + c)];
			return someProduct;
		}

		FbxMatrix Inverse(const FbxMatrix& aMatrix)
		{
			double a[4][8];
			for (int r = 0; r < 4; ++r)
				for (int c = 0; c < 4; ++c)
				{
					a[r][c] = aMatrix[static_cast<size_t>(r * 4 + c)];
					a[r][c + 4] = r == c ? 1.0 : 0.0;
				}
			for (int c = 0; c < 4; ++c)
			{
				int somePivot = c;
				for (int r = c + 1; r < 4; ++r)
					if (std::fabs(a[r][c]) > std::fabs(a[somePivot][c]))
						somePivot = r;
				if (a[somePivot][c] == 0.0)
					throw std::invalid_argument("singular bone matrix");
				for (int k = 0; k < 8; ++k)
					std::swap(a[c][k], a[somePivot][k]);
				const double someScale = 1.0 / a[c][c];
				for (int k = 0; k < 8; ++k)
					a[c][k] *= someScale;
				for (int r = 0; r < 4; ++r)
					if (r != c)
					{
						const double someFactor = a[r][c];
						for (int k = 0; k < 8; ++k)
							a[r][k] -= someFactor * a[c][k];
					}
			}
			FbxMatrix someInverse{};
			for (int r = 0; r < 4; ++r)
				for (int c = 0; c < 4; ++c)
					someInverse[static_cast<size_t>(r * 4 + c)] = a[r][c + 4];
			return someInverse;
		}

		void AddLayerElement(FbxRecord& aGeometry, const std::string& aKind, int aIndex, const FbxLayerData& aData, const std::string& aValues, const std::string& aIndices)
		{
			FbxRecord& someElement = aGeometry.Add(aKind, { std::int32_t{ aIndex } });
			someElement.Add("Version", { std::int32_t{ 101 } });
			someElement.Add("Name", { std::string() });
			someElement.Add("MappingInformationType", { aData.mapping == "ByControlPoint" ? std::string("ByVertice") : aData.mapping });
			someElement.Add("ReferenceInformationType", { aData.reference });
			if (!aValues.empty())
				someElement.Add(aValues, { aData.values });
			if (aData.reference != "Direct" || aValues.empty())
				someElement.Add(aIndices, { aData.indices });
		}
	}

	FbxSceneWriter::FbxSceneWriter(double aCentimetresPerUnit, int aTimeMode) : myUnitScale(aCentimetresPerUnit), myTimeMode(aTimeMode) {}

	void FbxSceneWriter::SetAxes(int aUp, int aUpSign, int aFront, int aFrontSign, int aCoord, int aCoordSign)
	{
		myAxes = { aUp, aUpSign, aFront, aFrontSign, aCoord, aCoordSign };
	}

	FbxRecord& FbxSceneWriter::AddObject(const std::string& aKind, std::int64_t aId, const std::string& aName, const std::string& aClass, const std::string& aObjectClass)
	{
		myObjects.push_back(FbxRecord{ aKind, { aId, FbxObjectName{ aName, aObjectClass }, aClass }, {} });
		return myObjects.back();
	}

	void FbxSceneWriter::Connect(std::int64_t aSource, std::int64_t aTarget, const std::string& aProperty)
	{
		myConnections.push_back({ aSource, aTarget, aProperty });
	}

	std::int64_t FbxSceneWriter::AddNode(const std::string& aName, const std::string& aClass, std::int64_t aParent, const FbxNodeTransform& aTransform)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someModel = AddObject("Model", someId, aName, aClass, "Model");
		someModel.Add("Version", { std::int32_t{ 232 } });
		FbxRecord& someProperties = someModel.Add("Properties70");
		PVector(someProperties, "Lcl Translation", "Lcl Translation", aTransform.translation);
		PVector(someProperties, "Lcl Rotation", "Lcl Rotation", aTransform.rotation);
		PVector(someProperties, "Lcl Scaling", "Lcl Scaling", aTransform.scaling);
		PVector(someProperties, "PreRotation", "Vector3D", aTransform.preRotation);
		PVector(someProperties, "RotationPivot", "Vector3D", aTransform.rotationPivot);
		PVector(someProperties, "GeometricTranslation", "Vector3D", aTransform.geometricTranslation);
		PVector(someProperties, "GeometricRotation", "Vector3D", aTransform.geometricRotation);
		// GeometricScaling comes from the template unless it differs.
		if (aTransform.geometricScaling != Vec3{ 1, 1, 1 })
			PVector(someProperties, "GeometricScaling", "Vector3D", aTransform.geometricScaling);
		P(someProperties, "RotationOrder", "enum", "", "", { std::int32_t{ aTransform.rotationOrder } });
		P(someProperties, "InheritType", "enum", "", "", { std::int32_t{ aTransform.inheritType } });
		P(someProperties, "RotationActive", "bool", "", "", { std::int32_t{ aTransform.rotationActive ? 1 : 0 } });
		someModel.Add("Shading", { true });
		someModel.Add("Culling", { std::string("CullingOff") });
		myTransforms[someId] = aTransform;
		Connect(someId, aParent);
		return someId;
	}

	void FbxSceneWriter::AddSkeletonAttribute(std::int64_t aNode)
	{
		const std::int64_t someId = NextId();
		AddObject("NodeAttribute", someId, "", "LimbNode", "NodeAttribute").Add("TypeFlags", { std::string("Skeleton") });
		Connect(someId, aNode);
	}

	void FbxSceneWriter::AddNullAttribute(std::int64_t aNode)
	{
		const std::int64_t someId = NextId();
		AddObject("NodeAttribute", someId, "", "Null", "NodeAttribute").Add("TypeFlags", { std::string("Null") });
		Connect(someId, aNode);
	}

	void FbxSceneWriter::AddLodGroupAttribute(std::int64_t aNode, const std::vector<double>& aThresholds)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someAttribute = AddObject("NodeAttribute", someId, "", "LodGroup", "NodeAttribute");
		FbxRecord& someProperties = someAttribute.Add("Properties70");
		for (size_t i = 0; i < aThresholds.size(); ++i)
			P(someProperties, "Thresholds|Level" + std::to_string(i), "Distance", "", "", { aThresholds[i], std::string("cm") });
		Connect(someId, aNode);
	}

	std::int64_t FbxSceneWriter::AddMesh(std::int64_t aNode, FbxMeshData aMesh)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someGeometry = AddObject("Geometry", someId, "", "Mesh", "Geometry");
		someGeometry.Add("GeometryVersion", { std::int32_t{ 124 } });
		someGeometry.Add("Vertices", { std::move(aMesh.controlPoints) });
		std::vector<std::int32_t> someIndices;
		for (const std::vector<std::int32_t>& somePolygon : aMesh.polygons)
			for (size_t k = 0; k < somePolygon.size(); ++k)
				someIndices.push_back(k + 1 == somePolygon.size() ? -somePolygon[k] - 1 : somePolygon[k]);
		aMesh.polygons.clear();
		someGeometry.Add("PolygonVertexIndex", { std::move(someIndices) });
		FbxRecord someLayer0{ "Layer", { std::int32_t{ 0 } }, {} };
		someLayer0.Add("Version", { std::int32_t{ 100 } });
		const auto addToLayer = [](FbxRecord& aLayer, const std::string& aType, int aIndex) {
			FbxRecord& someEntry = aLayer.Add("LayerElement");
			someEntry.Add("Type", { aType });
			someEntry.Add("TypedIndex", { std::int32_t{ aIndex } });
		};
		if (aMesh.normals)
		{
			AddLayerElement(someGeometry, "LayerElementNormal", 0, *aMesh.normals, "Normals", "NormalsIndex");
			addToLayer(someLayer0, "LayerElementNormal", 0);
		}
		if (aMesh.tangents)
		{
			AddLayerElement(someGeometry, "LayerElementTangent", 0, *aMesh.tangents, "Tangents", "TangentsIndex");
			addToLayer(someLayer0, "LayerElementTangent", 0);
		}
		if (aMesh.binormals)
		{
			AddLayerElement(someGeometry, "LayerElementBinormal", 0, *aMesh.binormals, "Binormals", "BinormalsIndex");
			addToLayer(someLayer0, "LayerElementBinormal", 0);
		}
		std::vector<FbxRecord> someLayers;
		const auto layer = [&](size_t aIndex) -> FbxRecord& {
			if (aIndex == 0)
				return someLayer0;
			while (someLayers.size() < aIndex)
			{
				someLayers.push_back(FbxRecord{ "Layer", { static_cast<std::int32_t>(someLayers.size() + 1) }, {} });
				someLayers.back().Add("Version", { std::int32_t{ 100 } });
			}
			return someLayers[aIndex - 1];
		};
		for (size_t i = 0; i < aMesh.uvSets.size(); ++i)
		{
			AddLayerElement(someGeometry, "LayerElementUV", static_cast<int>(i), aMesh.uvSets[i], "UV", "UVIndex");
			addToLayer(layer(i), "LayerElementUV", static_cast<int>(i));
		}
		for (size_t i = 0; i < aMesh.colorSets.size(); ++i)
		{
			AddLayerElement(someGeometry, "LayerElementColor", static_cast<int>(i), aMesh.colorSets[i], "Colors", "ColorIndex");
			addToLayer(layer(i), "LayerElementColor", static_cast<int>(i));
		}
		if (aMesh.materials)
		{
			AddLayerElement(someGeometry, "LayerElementMaterial", 0, *aMesh.materials, "", "Materials");
			addToLayer(someLayer0, "LayerElementMaterial", 0);
		}
		someGeometry.children.push_back(std::move(someLayer0));
		for (FbxRecord& someLayer : someLayers)
			someGeometry.children.push_back(std::move(someLayer));
		Connect(someId, aNode);
		return someId;
	}

	std::int64_t FbxSceneWriter::AddMaterial(const std::string& aName)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someMaterial = AddObject("Material", someId, aName, "", "Material");
		someMaterial.Add("Version", { std::int32_t{ 102 } });
		someMaterial.Add("ShadingModel", { std::string("phong") });
		someMaterial.Add("Properties70");
		return someId;
	}

	void FbxSceneWriter::ConnectMaterial(std::int64_t aMaterial, std::int64_t aNode)
	{
		Connect(aMaterial, aNode);
	}

	std::int64_t FbxSceneWriter::AddFileTexture(const std::string& aName, const std::string& aFileName, const std::string& aRelativeFileName)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someTexture = AddObject("Texture", someId, aName, "", "Texture");
		someTexture.Add("Type", { std::string("TextureVideoClip") });
		someTexture.Add("Version", { std::int32_t{ 202 } });
		someTexture.Add("TextureName", { FbxObjectName{ aName, "Texture" } });
		someTexture.Add("FileName", { aFileName });
		someTexture.Add("RelativeFilename", { aRelativeFileName });
		return someId;
	}

	std::int64_t FbxSceneWriter::AddLayeredTexture(const std::string& aName)
	{
		const std::int64_t someId = NextId();
		AddObject("LayeredTexture", someId, aName, "", "LayeredTexture").Add("LayeredTexture", { std::int32_t{ 101 } });
		return someId;
	}

	void FbxSceneWriter::ConnectTexture(std::int64_t aTexture, std::int64_t aTarget, const std::string& aProperty)
	{
		Connect(aTexture, aTarget, aProperty);
	}

	std::int64_t FbxSceneWriter::AddSkin(std::int64_t aGeometry)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someSkin = AddObject("Deformer", someId, "", "Skin", "Deformer");
		someSkin.Add("Version", { std::int32_t{ 101 } });
		Connect(someId, aGeometry);
		return someId;
	}

	void FbxSceneWriter::AddCluster(std::int64_t aSkin, std::int64_t aBone, std::vector<std::int32_t> aIndices, std::vector<double> aWeights,
		const FbxMatrix& aMeshGlobal, const FbxMatrix& aBoneGlobal)
	{
		const std::int64_t someId = NextId();
		FbxRecord& someCluster = AddObject("Deformer", someId, "", "Cluster", "SubDeformer");
		someCluster.Add("Version", { std::int32_t{ 100 } });
		someCluster.Add("Indexes", { std::move(aIndices) });
		someCluster.Add("Weights", { std::move(aWeights) });
		// Files keep the mesh's bind transform relative to the bone's.
		const FbxMatrix someRelative = Multiply(aMeshGlobal, Inverse(aBoneGlobal));
		someCluster.Add("Transform", { std::vector<double>(someRelative.begin(), someRelative.end()) });
		someCluster.Add("TransformLink", { std::vector<double>(aBoneGlobal.begin(), aBoneGlobal.end()) });
		Connect(someId, aSkin);
		Connect(aBone, someId);
	}

	void FbxSceneWriter::AddAnimStack(const std::string& aName, std::int64_t aStart, std::int64_t aStop)
	{
		const std::int64_t someStack = NextId();
		FbxRecord& someProperties = AddObject("AnimationStack", someStack, aName, "", "AnimStack").Add("Properties70");
		P(someProperties, "LocalStart", "KTime", "Time", "", { aStart });
		P(someProperties, "LocalStop", "KTime", "Time", "", { aStop });
		const std::int64_t someLayer = NextId();
		AddObject("AnimationLayer", someLayer, "BaseLayer", "", "AnimLayer");
		Connect(someLayer, someStack);
		if (myLayer == 0)
			myLayer = someLayer;
		myTakes.push_back({ aName, aStart, aStop });
	}

	void FbxSceneWriter::AddCurve(std::int64_t aNode, const std::string& aProperty, int aChannel, std::vector<std::int64_t> aTimes, std::vector<float> aValues, int aInterpolation)
	{
		if (myLayer == 0)
			throw std::logic_error("AddAnimStack before AddCurve");
		std::int64_t& someCurveNode = myCurveNodes[{ aNode, aProperty }];
		if (someCurveNode == 0)
		{
			someCurveNode = NextId();
			const FbxNodeTransform& someTransform = myTransforms.at(aNode);
			const Vec3& someDefaults = aProperty == "Lcl Translation" ? someTransform.translation : aProperty == "Lcl Rotation" ? someTransform.rotation : someTransform.scaling;
			FbxRecord& someProperties = AddObject("AnimationCurveNode", someCurveNode, aProperty.substr(4, 1), "", "AnimCurveNode").Add("Properties70");
			P(someProperties, "d|X", "Number", "", "A", { someDefaults[0] });
			P(someProperties, "d|Y", "Number", "", "A", { someDefaults[1] });
			P(someProperties, "d|Z", "Number", "", "A", { someDefaults[2] });
			Connect(someCurveNode, myLayer);
			Connect(someCurveNode, aNode, aProperty);
		}
		const std::int64_t someId = NextId();
		FbxRecord& someCurve = AddObject("AnimationCurve", someId, "", "", "AnimCurve");
		someCurve.Add("Default", { aValues.empty() ? 0.0 : static_cast<double>(aValues.front()) });
		someCurve.Add("KeyVer", { std::int32_t{ 4008 } });
		const std::int32_t someKeys = static_cast<std::int32_t>(aTimes.size());
		someCurve.Add("KeyTime", { std::move(aTimes) });
		someCurve.Add("KeyValueFloat", { std::move(aValues) });
		someCurve.Add("KeyAttrFlags", { std::vector<std::int32_t>{ aInterpolation } });
		someCurve.Add("KeyAttrDataFloat", { std::vector<float>{ 0.0f, 0.0f, 0.0f, 0.0f } });
		someCurve.Add("KeyAttrRefCount", { std::vector<std::int32_t>{ someKeys } });
		Connect(someId, someCurveNode, std::string("d|") + static_cast<char>('X' + aChannel));
	}

	FbxRecord FbxSceneWriter::Build() const
	{
		FbxRecord someRoot;
		FbxRecord& someHeader = someRoot.Add("FBXHeaderExtension");
		someHeader.Add("FBXHeaderVersion", { std::int32_t{ 1003 } });
		someHeader.Add("FBXVersion", { std::int32_t{ 7400 } });
		someHeader.Add("Creator", { std::string("Norv FBX writer") });

		FbxRecord& someSettings = someRoot.Add("GlobalSettings");
		someSettings.Add("Version", { std::int32_t{ 1000 } });
		FbxRecord& someSettingsProperties = someSettings.Add("Properties70");
		const char* AXIS_NAMES[6] = { "UpAxis", "UpAxisSign", "FrontAxis", "FrontAxisSign", "CoordAxis", "CoordAxisSign" };
		for (int i = 0; i < 6; ++i)
			P(someSettingsProperties, AXIS_NAMES[i], "int", "Integer", "", { std::int32_t{ myAxes[static_cast<size_t>(i)] } });
		P(someSettingsProperties, "UnitScaleFactor", "double", "Number", "", { myUnitScale });
		P(someSettingsProperties, "TimeMode", "enum", "", "", { std::int32_t{ myTimeMode } });

		FbxRecord& someDefinitions = someRoot.Add("Definitions");
		someDefinitions.Add("Version", { std::int32_t{ 100 } });
		FbxRecord& someModelProperties = someDefinitions.Add("ObjectType", { std::string("Model") }).Add("PropertyTemplate", { std::string("FbxNode") }).Add("Properties70");
		P(someModelProperties, "InheritType", "enum", "", "", { std::int32_t{ 0 } });
		P(someModelProperties, "GeometricScaling", "Vector3D", "Vector", "", { 1.0, 1.0, 1.0 });
		FbxRecord& someMaterialProperties = someDefinitions.Add("ObjectType", { std::string("Material") }).Add("PropertyTemplate", { std::string("FbxSurfacePhong") }).Add("Properties70");
		for (const char* someChannel : { "EmissiveColor", "AmbientColor", "DiffuseColor", "SpecularColor", "ShininessExponent", "Bump", "NormalMap", "TransparentColor", "ReflectionColor", "DisplacementColor", "VectorDisplacementColor" })
			P(someMaterialProperties, someChannel, "Color", "", "A", { 0.0, 0.0, 0.0 });

		FbxRecord& someObjects = someRoot.Add("Objects");
		someObjects.children.assign(myObjects.begin(), myObjects.end());

		FbxRecord& someConnections = someRoot.Add("Connections");
		for (const Connection& c : myConnections)
		{
			if (c.property.empty())
				someConnections.Add("C", { std::string("OO"), c.source, c.target });
			else
				someConnections.Add("C", { std::string("OP"), c.source, c.target, c.property });
		}

		FbxRecord& someTakes = someRoot.Add("Takes");
		someTakes.Add("Current", { std::string(myTakes.empty() ? "" : myTakes.front().name) });
		for (const Take& someTake : myTakes)
		{
			FbxRecord& someRecord = someTakes.Add("Take", { someTake.name });
			someRecord.Add("LocalTime", { someTake.start, someTake.stop });
			someRecord.Add("ReferenceTime", { someTake.start, someTake.stop });
		}
		return someRoot;
	}
}
