#pragma once
// Vectors, the affine matrix and time of the FBX stand-in. FbxAMatrix keeps the
// SDK's meaning: translation in row 3 (GetRow(3)), and A * B applies B first.
#include <cstdint>

namespace fbxsdk
{
	using FbxLongLong = std::int64_t;
	using FbxUInt64 = std::uint64_t;

	struct FbxDouble3
	{
		double mData[3] = { 0.0, 0.0, 0.0 };

		FbxDouble3() = default;
		FbxDouble3(double aX, double aY, double aZ) : mData{ aX, aY, aZ } {}
		double& operator[](int aIndex) { return mData[aIndex]; }
		double operator[](int aIndex) const { return mData[aIndex]; }
		bool operator==(const FbxDouble3&) const = default;
	};

	struct FbxVector2
	{
		double mData[2] = { 0.0, 0.0 };

		FbxVector2() = default;
		FbxVector2(double aX, double aY) : mData{ aX, aY } {}
		double operator[](int aIndex) const { return mData[aIndex]; }
	};

	struct FbxVector4
	{
		double mData[4] = { 0.0, 0.0, 0.0, 0.0 };

		FbxVector4() = default;
		FbxVector4(double aX, double aY, double aZ, double aW = 0.0) : mData{ aX, aY, aZ, aW } {}
		FbxVector4(const FbxDouble3& aXyz, double aW = 0.0) : mData{ aXyz[0], aXyz[1], aXyz[2], aW } {}
		double& operator[](int aIndex) { return mData[aIndex]; }
		double operator[](int aIndex) const { return mData[aIndex]; }
		bool operator==(const FbxVector4&) const = default;
	};

	struct FbxColor
	{
		double mRed = 0.0, mGreen = 0.0, mBlue = 0.0, mAlpha = 1.0;
	};

	enum class EFbxRotationOrder
	{
		eEulerXYZ, eEulerXZY, eEulerYZX, eEulerYXZ, eEulerZXY, eEulerZYX, eSphericXYZ
	};

	class FbxAMatrix
	{
	public:
		FbxAMatrix(); // identity
		// Scaling first, then rotation (degrees, X then Y then Z), then translation.
		FbxAMatrix(const FbxVector4& aTranslation, const FbxVector4& aRotation, const FbxVector4& aScaling);

		static FbxAMatrix FromTranslation(const FbxVector4& aTranslation);
		static FbxAMatrix FromScaling(const FbxVector4& aScaling);
		// Euler angles in degrees, composed in the given order.
		static FbxAMatrix FromRotation(const FbxVector4& aDegrees, EFbxRotationOrder aOrder = EFbxRotationOrder::eEulerXYZ);

		FbxVector4 GetRow(int aRow) const;
		void SetRow(int aRow, const FbxVector4& aRow4);
		double Get(int aRow, int aColumn) const { return myData[aRow][aColumn]; }
		double& operator()(int aRow, int aColumn) { return myData[aRow][aColumn]; }

		FbxVector4 GetT() const;
		// Euler angles (degrees, X then Y then Z) of the rotation with scale removed.
		FbxVector4 GetR() const;
		FbxVector4 GetS() const;
		// The rotation alone (scale and translation removed).
		FbxAMatrix GetRotationOnly() const;

		FbxAMatrix Inverse() const;
		FbxAMatrix Transpose() const;
		FbxAMatrix operator*(const FbxAMatrix& aOther) const;
		// Transforms a point (w = 1 implied) and a direction (translation ignored).
		FbxVector4 MultT(const FbxVector4& aPoint) const;
		FbxVector4 MultR(const FbxVector4& aDirection) const;

		bool IsIdentity(double aTolerance = 1e-12) const;

	private:
		double myData[4][4];
	};

	class FbxTime
	{
	public:
		enum EMode
		{
			eDefaultMode, eFrames120, eFrames100, eFrames60, eFrames50, eFrames48, eFrames30, eFrames30Drop,
			eNTSCDropFrame, eNTSCFullFrame, ePAL, eFrames24, eFrames1000, eFilmFullFrame, eCustom,
			eFrames96, eFrames72, eFrames59dot94, eFrames119dot88, eModesCount
		};
		static constexpr FbxLongLong TICKS_PER_SECOND = 46186158000ll;

		FbxTime(FbxLongLong aTicks = 0) : myTicks(aTicks) {}

		void Set(FbxLongLong aTicks) { myTicks = aTicks; }
		FbxLongLong Get() const { return myTicks; }
		void SetFrame(FbxLongLong aFrame, EMode aMode = eDefaultMode);
		// Whole frames from zero (rounded to the nearest tick boundary, then truncated).
		FbxLongLong GetFrameCount(EMode aMode = eDefaultMode) const;
		double GetSecondDouble() const { return static_cast<double>(myTicks) / static_cast<double>(TICKS_PER_SECOND); }
		bool operator<(const FbxTime& aOther) const { return myTicks < aOther.myTicks; }
		bool operator==(const FbxTime&) const = default;

		// Frames per second of a mode; eCustom uses the rate set by SetGlobalCustomFrameRate.
		static double GetFrameRate(EMode aMode);
		static void SetGlobalCustomFrameRate(double aFramesPerSecond);

	private:
		FbxLongLong myTicks;
	};

	class FbxTimeSpan
	{
	public:
		FbxTimeSpan() = default;
		FbxTimeSpan(FbxTime aStart, FbxTime aStop) : myStart(aStart), myStop(aStop) {}
		FbxTime GetStart() const { return myStart; }
		FbxTime GetStop() const { return myStop; }

	private:
		FbxTime myStart, myStop;
	};
}
