// Makes the scene's objects from a parsed file: Objects (with their property
// templates from Definitions), then Connections, then takes and settings.
#include "fbxsdk/FbxImporter.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace fbxsdk::impl
{
	namespace
	{
		constexpr int MATRIX_ELEMENTS = 16;
		// Node chains deeper than this are refused (transform evaluation recurses along them).
		constexpr int MAX_HIERARCHY_DEPTH = 1000;

		struct AnimatedProperty
		{
			const FbxAnimCurveNode* curves;
			FbxNode* node;
			std::string_view property;
		};

		class SceneReader
		{
		public:
			SceneReader(ParseTree& aTree, FbxScene& aScene, std::string& aError) : myTree(aTree), myScene(aScene), myError(aError) {}

			bool Read()
			{
				ReadTemplates();
				ReadGlobalSettings();
				const std::uint32_t someObjects = myTree.FindChild(0, "Objects");
				if (someObjects != NO_NODE)
				{
					bool someOk = true;
					myTree.ForEachChild(someObjects, [&](std::uint32_t aRecord) { someOk = someOk && ReadObject(aRecord); });
					if (!someOk)
						return false;
				}
				const std::uint32_t someConnections = myTree.FindChild(0, "Connections");
				if (someConnections != NO_NODE)
				{
					bool someOk = true;
					myTree.ForEachChild(someConnections, [&](std::uint32_t aRecord) { someOk = someOk && Connect(aRecord); });
					if (!someOk)
						return false;
				}
				if (!CheckDepth())
					return false;
				BindAnimation();
				ReadTakes();
				for (FbxNode* someNode : myScene.myNodes)
					myScene.myNodesByName.emplace(std::string_view(someNode->GetName()), someNode);
				return CheckClusters();
			}

		private:
			bool Fail(std::string aWhat)
			{
				myError = std::move(aWhat);
				return false;
			}

			// "Name\0\1Class" in binary files, "Class::Name" in ASCII ones.
			std::string ObjectName(std::string_view aRaw) const
			{
				if (myTree.isBinary)
				{
					const size_t someSeparator = aRaw.find(std::string_view("\0\1", 2));
					return std::string(someSeparator == std::string_view::npos ? aRaw : aRaw.substr(0, someSeparator));
				}
				const size_t someSeparator = aRaw.find("::");
				return std::string(someSeparator == std::string_view::npos ? aRaw : aRaw.substr(someSeparator + 2));
			}

			std::string_view Text(std::uint32_t aRecord, std::uint32_t aIndex) const
			{
				const ParsedProperty* someProperty = myTree.Property(aRecord, aIndex);
				return someProperty ? someProperty->text : std::string_view();
			}

			double Real(std::uint32_t aRecord, std::uint32_t aIndex, double aFallback) const
			{
				const ParsedProperty* someProperty = myTree.Property(aRecord, aIndex);
				return someProperty ? ParseTree::AsReal(*someProperty) : aFallback;
			}

			std::int64_t Integer(std::uint32_t aRecord, std::uint32_t aIndex, std::int64_t aFallback) const
			{
				const ParsedProperty* someProperty = myTree.Property(aRecord, aIndex);
				return someProperty ? ParseTree::AsInteger(*someProperty) : aFallback;
			}

			// ---- property templates and Properties70 ------------------------------

			void ReadTemplates()
			{
				const std::uint32_t someDefinitions = myTree.FindChild(0, "Definitions");
				if (someDefinitions == NO_NODE)
					return;
				myTree.ForEachChild(someDefinitions, [&](std::uint32_t aType) {
					if (myTree.nodes[aType].name != "ObjectType")
						return;
					const std::uint32_t someTemplate = myTree.FindChild(aType, "PropertyTemplate");
					const std::uint32_t someProperties = someTemplate == NO_NODE ? NO_NODE : myTree.FindChild(someTemplate, "Properties70");
					if (someProperties != NO_NODE)
						myTemplates.emplace(Text(aType, 0), someProperties);
				});
			}

			// Every "P" record of the type's template, then of the object's own Properties70.
			template <typename Visit>
			void ForEachProperty(std::uint32_t aRecord, Visit&& aVisit) const
			{
				const auto someTemplate = myTemplates.find(myTree.nodes[aRecord].name);
				const std::uint32_t someOwn = myTree.FindChild(aRecord, "Properties70");
				for (std::uint32_t someList : { someTemplate == myTemplates.end() ? NO_NODE : someTemplate->second, someOwn })
					if (someList != NO_NODE)
						myTree.ForEachChild(someList, [&](std::uint32_t aProperty) {
							if (myTree.nodes[aProperty].name == "P")
								aVisit(Text(aProperty, 0), aProperty);
						});
			}

			FbxDouble3 Vector(std::uint32_t aProperty, const FbxDouble3& aFallback) const
			{
				if (myTree.nodes[aProperty].propertyCount < 7)
					return aFallback;
				return { Real(aProperty, 4, 0.0), Real(aProperty, 5, 0.0), Real(aProperty, 6, 0.0) };
			}

			void ReadGlobalSettings()
			{
				const std::uint32_t someRecord = myTree.FindChild(0, "GlobalSettings");
				if (someRecord == NO_NODE)
					return;
				FbxGlobalSettings& someSettings = myScene.GetGlobalSettings();
				FbxAxisSystem::Axes someAxes = someSettings.myAxisSystem.GetAxes();
				ForEachProperty(someRecord, [&](std::string_view aName, std::uint32_t aProperty) {
					const std::int64_t someInteger = Integer(aProperty, 4, 0);
					if (aName == "UpAxis") someAxes.upAxis = static_cast<int>(someInteger);
					else if (aName == "UpAxisSign") someAxes.upSign = someInteger < 0 ? -1 : 1;
					else if (aName == "FrontAxis") someAxes.frontAxis = static_cast<int>(someInteger);
					else if (aName == "FrontAxisSign") someAxes.frontSign = someInteger < 0 ? -1 : 1;
					else if (aName == "CoordAxis") someAxes.coordAxis = static_cast<int>(someInteger);
					else if (aName == "CoordAxisSign") someAxes.coordSign = someInteger < 0 ? -1 : 1;
					else if (aName == "UnitScaleFactor")
					{
						const double someFactor = Real(aProperty, 4, 1.0);
						someSettings.mySystemUnit = FbxSystemUnit(std::isfinite(someFactor) && someFactor > 0.0 ? someFactor : 1.0);
					}
					else if (aName == "TimeMode" && someInteger >= 0 && someInteger < FbxTime::eModesCount)
						someSettings.myTimeMode = static_cast<FbxTime::EMode>(someInteger);
					else if (aName == "CustomFrameRate")
						someSettings.myCustomFrameRate = Real(aProperty, 4, 30.0);
				});
				someSettings.myAxisSystem = FbxAxisSystem(someAxes);
				if (someSettings.myTimeMode == FbxTime::eCustom)
					FbxTime::SetGlobalCustomFrameRate(someSettings.myCustomFrameRate);
			}

			// ---- objects ------------------------------------------------------------

			bool ReadObject(std::uint32_t aRecord)
			{
				const std::string_view someKind = myTree.nodes[aRecord].name;
				const FbxUInt64 someId = static_cast<FbxUInt64>(Integer(aRecord, 0, 0));
				std::string someName = ObjectName(Text(aRecord, 1));
				const std::string_view someClass = Text(aRecord, 2);
				FbxObject* someObject = nullptr;
				if (someKind == "Model")
					someObject = ReadModel(aRecord, std::move(someName), someId);
				else if (someKind == "Geometry" && someClass == "Mesh")
				{
					FbxMesh* someMesh = myScene.Make<FbxMesh>(std::move(someName), someId);
					if (!ReadMesh(aRecord, *someMesh))
						return false;
					myScene.myMeshes.push_back(someMesh);
					someObject = someMesh;
				}
				else if (someKind == "NodeAttribute")
					someObject = ReadAttribute(aRecord, std::move(someName), someId, someClass);
				else if (someKind == "Material")
				{
					FbxSurfaceMaterial* someMaterial = myScene.Make<FbxSurfaceMaterial>(std::move(someName), someId);
					ForEachProperty(aRecord, [&](std::string_view aName, std::uint32_t) { someMaterial->AddPropertyName(std::string(aName)); });
					myScene.myMaterials.push_back(someMaterial);
					someObject = someMaterial;
				}
				else if (someKind == "Texture")
					someObject = myScene.Make<FbxFileTexture>(std::move(someName), someId, std::string(myTree.ChildText(aRecord, "FileName")), std::string(myTree.ChildText(aRecord, "RelativeFilename")));
				else if (someKind == "LayeredTexture")
					someObject = myScene.Make<FbxLayeredTexture>(std::move(someName), someId);
				else if (someKind == "Deformer" && someClass == "Skin")
					someObject = myScene.Make<FbxSkin>(std::move(someName), someId);
				else if (someKind == "Deformer" && someClass == "Cluster")
				{
					FbxCluster* someCluster = myScene.Make<FbxCluster>(std::move(someName), someId);
					if (!ReadCluster(aRecord, *someCluster))
						return false;
					myScene.myClusters.push_back(someCluster);
					someObject = someCluster;
				}
				else if (someKind == "AnimationStack")
					someObject = ReadStack(aRecord, std::move(someName), someId);
				else if (someKind == "AnimationLayer")
					someObject = myScene.Make<FbxAnimLayer>(std::move(someName), someId);
				else if (someKind == "AnimationCurveNode")
				{
					FbxAnimCurveNode* someNode = myScene.Make<FbxAnimCurveNode>(std::move(someName), someId);
					ForEachProperty(aRecord, [&](std::string_view aName, std::uint32_t aProperty) {
						if (aName.size() == 3 && aName[0] == 'd' && aName[1] == '|' && aName[2] >= 'X' && aName[2] <= 'Z')
							someNode->myDefaults[aName[2] - 'X'] = Real(aProperty, 4, 0.0);
					});
					someObject = someNode;
				}
				else if (someKind == "AnimationCurve")
				{
					FbxAnimCurve* someCurve = myScene.Make<FbxAnimCurve>(std::move(someName), someId);
					if (!ReadCurve(aRecord, *someCurve))
						return false;
					someObject = someCurve;
				}
				if (someObject)
					myObjects[someId] = someObject;
				return true;
			}

			FbxNode* ReadModel(std::uint32_t aRecord, std::string aName, FbxUInt64 aId)
			{
				FbxNode* someNode = myScene.Make<FbxNode>(std::move(aName), aId, &myScene);
				FbxNode::Transform& t = someNode->myTransform;
				ForEachProperty(aRecord, [&](std::string_view aName, std::uint32_t aProperty) {
					if (aName == "Lcl Translation") t.translation = Vector(aProperty, t.translation);
					else if (aName == "Lcl Rotation") t.rotation = Vector(aProperty, t.rotation);
					else if (aName == "Lcl Scaling") t.scaling = Vector(aProperty, t.scaling);
					else if (aName == "RotationOffset") t.rotationOffset = Vector(aProperty, t.rotationOffset);
					else if (aName == "RotationPivot") t.rotationPivot = Vector(aProperty, t.rotationPivot);
					else if (aName == "ScalingOffset") t.scalingOffset = Vector(aProperty, t.scalingOffset);
					else if (aName == "ScalingPivot") t.scalingPivot = Vector(aProperty, t.scalingPivot);
					else if (aName == "PreRotation") t.preRotation = Vector(aProperty, t.preRotation);
					else if (aName == "PostRotation") t.postRotation = Vector(aProperty, t.postRotation);
					else if (aName == "GeometricTranslation") t.geometricTranslation = Vector(aProperty, t.geometricTranslation);
					else if (aName == "GeometricRotation") t.geometricRotation = Vector(aProperty, t.geometricRotation);
					else if (aName == "GeometricScaling") t.geometricScaling = Vector(aProperty, t.geometricScaling);
					else if (aName == "RotationActive") t.rotationActive = Integer(aProperty, 4, 0) != 0;
					else if (aName == "RotationOrder")
					{
						const std::int64_t someOrder = Integer(aProperty, 4, 0);
						t.rotationOrder = someOrder >= 0 && someOrder <= 6 ? static_cast<EFbxRotationOrder>(someOrder) : EFbxRotationOrder::eEulerXYZ;
					}
					else if (aName == "InheritType")
					{
						const std::int64_t someType = Integer(aProperty, 4, 0);
						t.inheritType = someType >= 0 && someType <= 2 ? static_cast<EFbxInheritType>(someType) : EFbxInheritType::eInheritRrSs;
					}
				});
				// A bone or null model without an attribute record still is one.
				const std::string_view someClass = Text(aRecord, 2);
				if (someClass == "LimbNode" || someClass == "Limb" || someClass == "Root")
					myDefaultAttributes.emplace_back(someNode, myScene.Make<FbxSkeleton>(std::string(someNode->GetName()), 0));
				else if (someClass == "Null")
					myDefaultAttributes.emplace_back(someNode, myScene.Make<FbxNull>(std::string(someNode->GetName()), 0));
				myScene.myNodes.push_back(someNode);
				return someNode;
			}

			FbxNodeAttribute* ReadAttribute(std::uint32_t aRecord, std::string aName, FbxUInt64 aId, std::string_view aClass)
			{
				if (aClass == "LimbNode" || aClass == "Limb" || aClass == "Root" || myTree.ChildText(aRecord, "TypeFlags") == "Skeleton")
					return myScene.Make<FbxSkeleton>(std::move(aName), aId);
				if (aClass == "Null")
					return myScene.Make<FbxNull>(std::move(aName), aId);
				if (aClass == "LodGroup")
				{
					FbxLODGroup* someGroup = myScene.Make<FbxLODGroup>(std::move(aName), aId);
					static constexpr std::string_view LEVEL_PREFIX = "Thresholds|Level";
					ForEachProperty(aRecord, [&](std::string_view aProperty, std::uint32_t aRecordOfProperty) {
						if (!aProperty.starts_with(LEVEL_PREFIX))
							return;
						int someLevel = 0;
						for (char c : aProperty.substr(LEVEL_PREFIX.size()))
						{
							if (c < '0' || c > '9' || someLevel > 1000)
								return;
							someLevel = someLevel * 10 + (c - '0');
						}
						if (someGroup->myThresholds.size() <= static_cast<size_t>(someLevel))
							someGroup->myThresholds.resize(static_cast<size_t>(someLevel) + 1);
						someGroup->myThresholds[static_cast<size_t>(someLevel)] = static_cast<float>(Real(aRecordOfProperty, 4, 0.0));
					});
					return someGroup;
				}
				return myScene.Make<FbxNodeAttribute>(std::move(aName), aId);
			}

			FbxAnimStack* ReadStack(std::uint32_t aRecord, std::string aName, FbxUInt64 aId)
			{
				FbxAnimStack* someStack = myScene.Make<FbxAnimStack>(std::move(aName), aId);
				FbxLongLong someStart = 0;
				FbxLongLong someStop = 0;
				ForEachProperty(aRecord, [&](std::string_view aProperty, std::uint32_t aRecordOfProperty) {
					if (aProperty == "LocalStart") someStart = Integer(aRecordOfProperty, 4, 0);
					else if (aProperty == "LocalStop") someStop = Integer(aRecordOfProperty, 4, 0);
				});
				someStack->myLocalTimeSpan = FbxTimeSpan(someStart, someStop);
				myScene.AddSource(someStack);
				myStacks.push_back(someStack);
				return someStack;
			}

			static FbxAMatrix Matrix(const ArrayBuffer<double>& aValues)
			{
				FbxAMatrix someMatrix;
				for (int r = 0; r < 4; ++r)
					for (int c = 0; c < 4; ++c)
						someMatrix(r, c) = aValues[static_cast<size_t>(r * 4 + c)];
				return someMatrix;
			}

			bool ReadCluster(std::uint32_t aRecord, FbxCluster& aCluster)
			{
				myTree.TakeArray(aRecord, "Indexes", aCluster.myIndices);
				myTree.TakeArray(aRecord, "Weights", aCluster.myWeights);
				if (aCluster.myIndices.size() != aCluster.myWeights.size())
					return Fail("Cluster '" + std::string(aCluster.GetName()) + "' has " + std::to_string(aCluster.myIndices.size()) + " indices but " + std::to_string(aCluster.myWeights.size()) + " weights");
				// The file stores the mesh's bind transform relative to the bone's
				// (TransformLink^-1 * mesh); the cluster offers it in scene space.
				ArrayBuffer<double> someMatrix;
				FbxAMatrix someRelative;
				if (myTree.TakeArray(aRecord, "Transform", someMatrix) && someMatrix.size() == MATRIX_ELEMENTS)
					someRelative = Matrix(someMatrix);
				if (myTree.TakeArray(aRecord, "TransformLink", someMatrix) && someMatrix.size() == MATRIX_ELEMENTS)
					aCluster.myTransformLink = Matrix(someMatrix);
				aCluster.myTransform = aCluster.myTransformLink * someRelative;
				return true;
			}

			bool ReadCurve(std::uint32_t aRecord, FbxAnimCurve& aCurve)
			{
				aCurve.myDefault = static_cast<float>(myTree.ChildReal(aRecord, "Default", 0.0));
				myTree.TakeArray(aRecord, "KeyTime", aCurve.myTimes);
				if (!myTree.TakeArray(aRecord, "KeyValueFloat", aCurve.myValues))
					myTree.TakeArray(aRecord, "KeyValueDouble", aCurve.myValues);
				if (aCurve.myTimes.size() != aCurve.myValues.size())
					return Fail("Animation curve " + std::to_string(aCurve.GetUniqueID()) + " has " + std::to_string(aCurve.myTimes.size()) + " key times but " + std::to_string(aCurve.myValues.size()) + " values");
				if (!std::is_sorted(aCurve.myTimes.begin(), aCurve.myTimes.end()))
					return Fail("Animation curve " + std::to_string(aCurve.GetUniqueID()) + " has key times out of order");
				// Key attributes are shared by runs of keys (KeyAttrRefCount keys each).
				ArrayBuffer<std::int32_t> someFlags, someCounts;
				ArrayBuffer<float> someData;
				myTree.TakeArray(aRecord, "KeyAttrFlags", someFlags);
				myTree.TakeArray(aRecord, "KeyAttrRefCount", someCounts);
				myTree.TakeArray(aRecord, "KeyAttrDataFloat", someData);
				const size_t someKeys = aCurve.myTimes.size();
				aCurve.myInterpolations.assign(someKeys, FbxAnimCurve::eInterpolationLinear);
				aCurve.myRightSlopes.assign(someKeys, 0.0f);
				aCurve.myNextLeftSlopes.assign(someKeys, 0.0f);
				size_t someKey = 0;
				for (size_t a = 0; a < someFlags.size() && a < someCounts.size() && someKey < someKeys; ++a)
				{
					const std::int32_t someFlag = someFlags[a];
					const std::uint8_t someInterpolation = (someFlag & FbxAnimCurve::eInterpolationConstant) ? FbxAnimCurve::eInterpolationConstant
						: (someFlag & FbxAnimCurve::eInterpolationCubic) ? FbxAnimCurve::eInterpolationCubic : FbxAnimCurve::eInterpolationLinear;
					const bool someHasSlopes = someData.size() >= a * 4 + 2;
					for (std::int32_t k = 0; k < someCounts[a] && someKey < someKeys; ++k, ++someKey)
					{
						aCurve.myInterpolations[someKey] = someInterpolation;
						if (someHasSlopes)
						{
							aCurve.myRightSlopes[someKey] = someData[a * 4];
							aCurve.myNextLeftSlopes[someKey] = someData[a * 4 + 1];
						}
					}
				}
				return true;
			}

			// ---- meshes -------------------------------------------------------------

			static FbxLayerElement::EMappingMode Mapping(std::string_view aText)
			{
				if (aText == "ByVertice" || aText == "ByVertex" || aText == "ByControlPoint") return FbxLayerElement::eByControlPoint;
				if (aText == "ByPolygonVertex") return FbxLayerElement::eByPolygonVertex;
				if (aText == "ByPolygon") return FbxLayerElement::eByPolygon;
				if (aText == "ByEdge") return FbxLayerElement::eByEdge;
				if (aText == "AllSame") return FbxLayerElement::eAllSame;
				return FbxLayerElement::eNone;
			}

			static FbxLayerElement::EReferenceMode Reference(std::string_view aText)
			{
				if (aText == "IndexToDirect") return FbxLayerElement::eIndexToDirect;
				if (aText == "Index") return FbxLayerElement::eIndex;
				return FbxLayerElement::eDirect;
			}

			// How many entries a mapping needs (0 when it is never read).
			static size_t Needed(const FbxMesh& aMesh, FbxLayerElement::EMappingMode aMapping)
			{
				switch (aMapping)
				{
				case FbxLayerElement::eByControlPoint: return static_cast<size_t>(aMesh.GetControlPointsCount());
				case FbxLayerElement::eByPolygonVertex: return aMesh.myPolygonVertices.size();
				case FbxLayerElement::eByPolygon: return static_cast<size_t>(aMesh.GetPolygonCount());
				case FbxLayerElement::eAllSame: return 1;
				default: return 0;
				}
			}

			void ReadMode(std::uint32_t aRecord, FbxLayerElement& aElement) const
			{
				aElement.myMapping = Mapping(myTree.ChildText(aRecord, "MappingInformationType"));
				aElement.myReference = Reference(myTree.ChildText(aRecord, "ReferenceInformationType"));
				aElement.myName = std::string(myTree.ChildText(aRecord, "Name"));
			}

			bool CheckIndices(const FbxMesh& aMesh, const FbxLayerElement& aElement, const ArrayBuffer<std::int32_t>& aIndices, size_t aDirectCount, std::string_view aWhat)
			{
				const size_t someNeeded = Needed(aMesh, aElement.GetMappingMode());
				if (aIndices.size() < someNeeded)
					return Fail("Geometry '" + std::string(aMesh.GetName()) + "': " + std::string(aWhat) + " has " + std::to_string(aIndices.size()) + " indices, needs " + std::to_string(someNeeded));
				if (aDirectCount == SIZE_MAX || someNeeded == 0)
					return true;
				for (std::int32_t someIndex : aIndices)
					if (someIndex < 0 || static_cast<size_t>(someIndex) >= aDirectCount)
						return Fail("Geometry '" + std::string(aMesh.GetName()) + "': " + std::string(aWhat) + " index " + std::to_string(someIndex) + " is out of range (" + std::to_string(aDirectCount) + " values)");
				return true;
			}

			template <typename Element>
			bool ReadElement(std::uint32_t aRecord, FbxMesh& aMesh, std::vector<std::unique_ptr<Element>>& aList, std::string_view aValues, std::initializer_list<std::string_view> aIndexNames)
			{
				auto someElement = std::make_unique<Element>();
				ReadMode(aRecord, *someElement);
				auto& someDirect = someElement->GetDirectArray();
				myTree.TakeArray(aRecord, aValues, someDirect.myValues);
				const size_t someStride = static_cast<size_t>(std::remove_reference_t<decltype(someDirect)>::STRIDE);
				if (someDirect.myValues.size() % someStride != 0)
					return Fail("Geometry '" + std::string(aMesh.GetName()) + "': " + std::string(aValues) + " is not a whole number of values");
				const size_t someCount = someDirect.myValues.size() / someStride;
				if (someElement->GetReferenceMode() == FbxLayerElement::eDirect)
				{
					const size_t someNeeded = Needed(aMesh, someElement->GetMappingMode());
					if (someCount < someNeeded)
						return Fail("Geometry '" + std::string(aMesh.GetName()) + "': " + std::string(aValues) + " has " + std::to_string(someCount) + " values, needs " + std::to_string(someNeeded));
				}
				else
				{
					for (std::string_view someName : aIndexNames)
						if (myTree.TakeArray(aRecord, someName, someElement->GetIndexArray().myValues))
							break;
					if (!CheckIndices(aMesh, *someElement, someElement->GetIndexArray().myValues, someCount, aValues))
						return false;
				}
				aList.push_back(std::move(someElement));
				return true;
			}

			bool ReadMesh(std::uint32_t aRecord, FbxMesh& aMesh)
			{
				myTree.TakeArray(aRecord, "Vertices", aMesh.myControlPoints);
				if (aMesh.myControlPoints.size() % 3 != 0)
					return Fail("Geometry '" + std::string(aMesh.GetName()) + "': vertex array is not a whole number of points");
				myTree.TakeArray(aRecord, "PolygonVertexIndex", aMesh.myPolygonVertices);
				// A negative index closes a polygon and stands for -(index + 1).
				const std::int64_t someControlPoints = aMesh.GetControlPointsCount();
				aMesh.myPolygonStarts.clear();
				aMesh.myPolygonStarts.reserve(aMesh.myPolygonVertices.size() / 3 + 2);
				aMesh.myPolygonStarts.push_back(0);
				const size_t someCorners = aMesh.myPolygonVertices.size();
				if (someCorners > static_cast<size_t>(INT32_MAX))
					return Fail("Geometry '" + std::string(aMesh.GetName()) + "': too many polygon corners");
				for (size_t i = 0; i < someCorners; ++i)
				{
					std::int32_t& someIndex = aMesh.myPolygonVertices[i];
					const bool someLast = someIndex < 0;
					if (someLast)
						someIndex = -(someIndex + 1);
					if (someIndex >= someControlPoints)
						return Fail("Geometry '" + std::string(aMesh.GetName()) + "': polygon corner " + std::to_string(i) + " names control point " + std::to_string(someIndex) + " of " + std::to_string(someControlPoints));
					if (someLast || i + 1 == someCorners)
						aMesh.myPolygonStarts.push_back(static_cast<std::int32_t>(i + 1));
				}

				bool someOk = true;
				myTree.ForEachChild(aRecord, [&](std::uint32_t aElement) {
					if (!someOk)
						return;
					const std::string_view someKind = myTree.nodes[aElement].name;
					if (someKind == "LayerElementNormal")
						someOk = ReadElement(aElement, aMesh, aMesh.myNormals, "Normals", { "NormalsIndex", "NormalIndex" });
					else if (someKind == "LayerElementTangent")
						someOk = ReadElement(aElement, aMesh, aMesh.myTangents, "Tangents", { "TangentsIndex", "TangentIndex" });
					else if (someKind == "LayerElementBinormal")
						someOk = ReadElement(aElement, aMesh, aMesh.myBinormals, "Binormals", { "BinormalsIndex", "BinormalIndex" });
					else if (someKind == "LayerElementUV")
						someOk = ReadElement(aElement, aMesh, aMesh.myUVs, "UV", { "UVIndex" });
					else if (someKind == "LayerElementColor")
						someOk = ReadElement(aElement, aMesh, aMesh.myColors, "Colors", { "ColorIndex" });
					else if (someKind == "LayerElementMaterial")
					{
						auto someMaterials = std::make_unique<FbxGeometryElementMaterial>();
						ReadMode(aElement, *someMaterials);
						myTree.TakeArray(aElement, "Materials", someMaterials->GetIndexArray().myValues);
						someOk = CheckIndices(aMesh, *someMaterials, someMaterials->GetIndexArray().myValues, SIZE_MAX, "material element");
						if (someOk)
							aMesh.myMaterials.push_back(std::move(someMaterials));
					}
				});
				return someOk;
			}

			// ---- connections --------------------------------------------------------

			bool IsAncestor(const FbxNode* aCandidate, const FbxNode* aNode) const
			{
				for (const FbxNode* someNode = aNode; someNode; someNode = someNode->myParent)
					if (someNode == aCandidate)
						return true;
				return false;
			}

			bool Connect(std::uint32_t aRecord)
			{
				if (myTree.nodes[aRecord].name != "C")
					return true;
				const std::string_view someKind = Text(aRecord, 0);
				const auto find = [&](std::int64_t aId) -> FbxObject* {
					if (aId == 0)
						return myScene.GetRootNode();
					const auto someFound = myObjects.find(static_cast<FbxUInt64>(aId));
					return someFound == myObjects.end() ? nullptr : someFound->second;
				};
				FbxObject* someSource = find(Integer(aRecord, 1, -1));
				FbxObject* someTarget = find(Integer(aRecord, 2, -1));
				if (!someSource || !someTarget || someSource == someTarget)
					return true; // objects this reader does not keep
				if (someKind == "OP")
				{
					const std::string_view someProperty = Text(aRecord, 3);
					someTarget->AddPropertySource(std::string(someProperty), someSource);
					if (auto* someCurves = FbxCast<FbxAnimCurveNode>(someSource); someCurves && FbxCast<FbxNode>(someTarget))
						myAnimated.push_back({ someCurves, static_cast<FbxNode*>(someTarget), someProperty });
					else if (auto* someCurve = FbxCast<FbxAnimCurve>(someSource); someCurve && FbxCast<FbxAnimCurveNode>(someTarget))
					{
						if (someProperty.size() == 3 && someProperty[0] == 'd' && someProperty[1] == '|' && someProperty[2] >= 'X' && someProperty[2] <= 'Z')
							static_cast<FbxAnimCurveNode*>(someTarget)->myCurves[someProperty[2] - 'X'] = someCurve;
					}
					return true;
				}
				someTarget->AddSource(someSource);
				if (FbxNode* someNode = FbxCast<FbxNode>(someTarget))
				{
					if (FbxNode* someChild = FbxCast<FbxNode>(someSource))
					{
						if (someChild->myParent || someChild == myScene.GetRootNode())
							return true; // the first parent stays
						if (IsAncestor(someChild, someNode))
							return Fail("Node '" + std::string(someChild->GetName()) + "' is its own ancestor");
						someChild->myParent = someNode;
						someNode->myChildren.push_back(someChild);
					}
					else if (FbxNodeAttribute* someAttribute = FbxCast<FbxNodeAttribute>(someSource); someAttribute && !someNode->myAttribute)
					{
						someNode->myAttribute = someAttribute;
						someAttribute->SetNode(someNode);
					}
					else if (FbxSurfaceMaterial* someMaterial = FbxCast<FbxSurfaceMaterial>(someSource))
						someNode->myMaterials.push_back(someMaterial);
				}
				else if (FbxMesh* someMesh = FbxCast<FbxMesh>(someTarget); someMesh && FbxCast<FbxDeformer>(someSource))
					someMesh->myDeformers.push_back(static_cast<FbxDeformer*>(someSource));
				else if (FbxSkin* someSkin = FbxCast<FbxSkin>(someTarget); someSkin && FbxCast<FbxCluster>(someSource))
					someSkin->myClusters.push_back(static_cast<FbxCluster*>(someSource));
				else if (FbxCluster* someCluster = FbxCast<FbxCluster>(someTarget); someCluster && FbxCast<FbxNode>(someSource) && !someCluster->myLink)
					someCluster->myLink = static_cast<FbxNode*>(someSource);
				return true;
			}

			bool CheckDepth()
			{
				std::unordered_map<const FbxNode*, int> someDepths;
				std::vector<const FbxNode*> someChain;
				for (const FbxNode* someNode : myScene.myNodes)
				{
					// Walk up to a node of known depth, then number the chain on the way down.
					someChain.clear();
					const FbxNode* someUp = someNode;
					while (someUp && !someDepths.count(someUp))
					{
						someChain.push_back(someUp);
						someUp = someUp->myParent;
					}
					int someDepth = someUp ? someDepths[someUp] : -1;
					for (auto someIt = someChain.rbegin(); someIt != someChain.rend(); ++someIt)
					{
						if (++someDepth > MAX_HIERARCHY_DEPTH)
							return Fail("Node '" + std::string((*someIt)->GetName()) + "' is nested more than " + std::to_string(MAX_HIERARCHY_DEPTH) + " levels deep");
						someDepths[*someIt] = someDepth;
					}
				}
				return true;
			}

			// The first stack's first layer drives node evaluation.
			void BindAnimation()
			{
				for (auto& [someNode, someAttribute] : myDefaultAttributes)
					if (!someNode->myAttribute)
					{
						someNode->myAttribute = someAttribute;
						someAttribute->SetNode(someNode);
					}
				if (myStacks.empty())
					return;
				const FbxAnimLayer* someLayer = myStacks.front()->GetSrcObject<FbxAnimLayer>(0);
				if (!someLayer)
					return;
				std::unordered_set<const FbxObject*> someInLayer;
				for (int i = 0; i < someLayer->GetSrcObjectCount<FbxAnimCurveNode>(); ++i)
					someInLayer.insert(someLayer->GetSrcObject<FbxAnimCurveNode>(i));
				for (const AnimatedProperty& someAnimated : myAnimated)
				{
					if (!someInLayer.count(someAnimated.curves))
						continue;
					const int someChannel = someAnimated.property == "Lcl Translation" ? 0 : someAnimated.property == "Lcl Rotation" ? 1 : someAnimated.property == "Lcl Scaling" ? 2 : -1;
					if (someChannel >= 0)
						someAnimated.node->myTransform.animated[someChannel] = someAnimated.curves;
				}
			}

			void ReadTakes()
			{
				const std::uint32_t someTakes = myTree.FindChild(0, "Takes");
				if (someTakes != NO_NODE)
					myTree.ForEachChild(someTakes, [&](std::uint32_t aTake) {
						if (myTree.nodes[aTake].name != "Take")
							return;
						const std::uint32_t someTime = myTree.FindChild(aTake, "LocalTime");
						FbxTakeInfo someInfo;
						someInfo.mName = std::string(Text(aTake, 0));
						if (someTime != NO_NODE)
							someInfo.mLocalTimeSpan = FbxTimeSpan(Integer(someTime, 0, 0), Integer(someTime, 1, 0));
						myScene.myTakes.push_back(std::move(someInfo));
					});
				// A stack without a take record gets one from its own local span.
				for (const FbxAnimStack* someStack : myStacks)
					if (!myScene.GetTakeInfo(someStack->GetName()))
						myScene.myTakes.push_back({ someStack->GetName(), someStack->myLocalTimeSpan });
			}

			bool CheckClusters()
			{
				for (const FbxMesh* someMesh : myScene.myMeshes)
					for (int d = 0; d < someMesh->GetDeformerCount(FbxDeformer::eSkin); ++d)
					{
						const FbxSkin* someSkin = static_cast<const FbxSkin*>(someMesh->GetDeformer(d, FbxDeformer::eSkin));
						for (const FbxCluster* someCluster : someSkin->myClusters)
							for (std::int32_t someIndex : someCluster->myIndices)
								if (someIndex < 0 || someIndex >= someMesh->GetControlPointsCount())
									return Fail("Cluster '" + std::string(someCluster->GetName()) + "' names control point " + std::to_string(someIndex) + " of " + std::to_string(someMesh->GetControlPointsCount()));
					}
				return true;
			}

			ParseTree& myTree;
			FbxScene& myScene;
			std::string& myError;
			std::unordered_map<std::string_view, std::uint32_t> myTemplates;
			std::unordered_map<FbxUInt64, FbxObject*> myObjects;
			std::vector<std::pair<FbxNode*, FbxNodeAttribute*>> myDefaultAttributes;
			std::vector<AnimatedProperty> myAnimated;
			std::vector<FbxAnimStack*> myStacks;
		};
	}

	bool ReadScene(ParseTree& aTree, FbxScene& aScene, std::string& aError)
	{
		SceneReader someReader(aTree, aScene, aError);
		return someReader.Read();
	}
}
