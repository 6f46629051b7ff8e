#pragma once
// Builds low-poly meshes for the FBX writer: flat-shaded boxes, prisms, cones and
// spheres, each polygon with its own corners so that normals stay crisp and
// every control point belongs to exactly one bone. Colours come from a palette
// texture: each part's UVs point at the centre of its swatch.
#include "ArtImage.h"
#include "fbxwriter/FbxSceneWriter.h"

#include <array>
#include <string>
#include <vector>

namespace NorvArt
{
	using Vec3 = std::array<double, 3>;
	using Frame = std::array<double, 9>; // row-major 3 x 3 rotation for column vectors
	inline constexpr Frame IDENTITY_FRAME{ 1, 0, 0, 0, 1, 0, 0, 0, 1 };
	Vec3 Apply(const Frame& aFrame, const Vec3& aVector);
	// Row-major rotation for column vectors: x applied first, then y, then z (degrees).
	Frame EulerFrame(const Vec3& aDegrees);
	// The Euler angles (as EulerFrame takes them) of a rotation matrix.
	Vec3 FrameEuler(const Frame& aFrame);
	// Euler angles of a turn by aDegrees about aAxis (need not be unit).
	Vec3 AxisAngleEuler(const Vec3& aAxis, double aDegrees);

	// Up to 32 colours in a 64 x 64 texture of 8 x 8 swatches. Rows are mirrored
	// top to bottom, so a swatch reads the same whichever way the v axis runs.
	class Palette
	{
	public:
		int Add(const Rgba& aColor); // the swatch index
		std::array<double, 2> Uv(int aSwatch) const;
		Image Paint(std::uint32_t aSeed) const;

	private:
		std::vector<Rgba> myColors;
	};

	class MeshBuilder
	{
	public:
		explicit MeshBuilder(const Palette& aPalette) : myPalette(aPalette) {}

		// What the following parts are made of and which bone moves them.
		void SetSwatch(int aSwatch) { mySwatch = aSwatch; }
		void SetBone(int aBone) { myBone = aBone; }
		// Later parts are rotated by aDegrees (x, then y, then z) about aPivot and then moved by aOffset.
		void SetPlacement(const Vec3& aPivot, const Vec3& aDegrees, const Vec3& aOffset = { 0, 0, 0 });
		void ClearPlacement() { SetPlacement({ 0, 0, 0 }, { 0, 0, 0 }); }
		// Turns the finished model from its design axes (y up, front +z) into the axes
		// it is stored in, and scales it (a model authored at another size).
		void SetFrame(const Frame& aFrame, double aScale = 1.0)
		{
			myFrame = aFrame;
			myScale = aScale;
		}

		// A polygon with counter-clockwise corners seen from outside.
		void Polygon(const std::vector<Vec3>& aCorners);
		void Box(const Vec3& aCentre, const Vec3& aHalf);
		// Along y from aBase, aSides around; radii at the bottom and the top (0: a point).
		void Prism(const Vec3& aBase, double aHeight, double aBottomRadius, double aTopRadius, int aSides, double aTwistDegrees = 0.0);
		void Sphere(const Vec3& aCentre, const Vec3& aRadii, int aSegments, int aRings);
		// A cone from aBase pointing along aDirection (need not be unit), for spikes and thorns.
		void Spike(const Vec3& aBase, const Vec3& aDirection, double aLength, double aRadius, int aSides = 4);

		// Pieces that join their neighbours edge to edge (tiles, the sky) keep one
		// shade from top to bottom, so no seam shows where two meet.
		void SetSoftOcclusion(bool anIsOn) { myHasSoftOcclusion = anIsOn; }
		// Pieces drawn without a depth test or face culling (tiles and props) keep only
		// the faces that do not turn away from the viewer (-z design normals): drawn
		// later, a far face would paint over the near one.
		void SetOneSided(bool anIsOn) { myIsOneSided = anIsOn; }

		// The mesh: normals and UVs per corner, vertex colours darkened toward the
		// bottom of the whole model (a soft occlusion, unless it is off). aControlPointBones: bone per control point.
		NorvTools::FbxMeshData Finish(std::vector<int>* aControlPointBones = nullptr) const;

	private:
		Vec3 Place(const Vec3& aPoint) const;

		const Palette& myPalette;
		int mySwatch = 0;
		int myBone = 0;
		Frame myRotation = IDENTITY_FRAME;
		Frame myFrame = IDENTITY_FRAME;
		double myScale = 1.0;
		bool myHasSoftOcclusion = true;
		bool myIsOneSided = false;
		Vec3 myPivot{ 0, 0, 0 }, myOffset{ 0, 0, 0 };
		struct Face
		{
			std::vector<Vec3> corners;
			int swatch, bone;
		};
		std::vector<Face> myFaces;
	};
}
