#include "fbxsdk/FbxMath.h"

#include <algorithm>
#include <cmath>

namespace fbxsdk
{
	namespace
	{
		constexpr double RADIANS_PER_DEGREE = 3.14159265358979323846 / 180.0;
		constexpr double DEGREES_PER_RADIAN = 180.0 / 3.14159265358979323846;
		constexpr double GIMBAL_LOCK_COSINE = 1e-9;

		double theCustomFrameRate = 30.0;

		// Row-vector rotation about one axis (0 = X, 1 = Y, 2 = Z).
		FbxAMatrix AxisRotation(int aAxis, double aDegrees)
		{
			const double someCos = std::cos(aDegrees * RADIANS_PER_DEGREE);
			const double someSin = std::sin(aDegrees * RADIANS_PER_DEGREE);
			const int someA = (aAxis + 1) % 3;
			const int someB = (aAxis + 2) % 3;
			FbxAMatrix someMatrix;
			someMatrix(someA, someA) = someCos;
			someMatrix(someA, someB) = someSin;
			someMatrix(someB, someA) = -someSin;
			someMatrix(someB, someB) = someCos;
			return someMatrix;
		}
	}

	FbxAMatrix::FbxAMatrix()
	{
		for (int r = 0; r < 4; ++r)
			for (int c = 0; c < 4; ++c)
				myData[r][c] = r == c ? 1.0 : 0.0;
	}

	FbxAMatrix::FbxAMatrix(const FbxVector4& aTranslation, const FbxVector4& aRotation, const FbxVector4& aScaling)
	{
		*this = FromTranslation(aTranslation) * FromRotation(aRotation) * FromScaling(aScaling);
	}

	FbxAMatrix FbxAMatrix::FromTranslation(const FbxVector4& aTranslation)
	{
		FbxAMatrix someMatrix;
		someMatrix.SetRow(3, FbxVector4(aTranslation[0], aTranslation[1], aTranslation[2], 1.0));
		return someMatrix;
	}

	FbxAMatrix FbxAMatrix::FromScaling(const FbxVector4& aScaling)
	{
		FbxAMatrix someMatrix;
		for (int i = 0; i < 3; ++i)
			someMatrix(i, i) = aScaling[i];
		return someMatrix;
	}

	FbxAMatrix FbxAMatrix::FromRotation(const FbxVector4& aDegrees, EFbxRotationOrder aOrder)
	{
		// The axes in the order they are applied.
		static constexpr int ORDERS[7][3] = { { 0, 1, 2 }, { 0, 2, 1 }, { 1, 2, 0 }, { 1, 0, 2 }, { 2, 0, 1 }, { 2, 1, 0 }, { 0, 1, 2 } };
		const int* someAxes = ORDERS[static_cast<int>(aOrder)];
		FbxAMatrix someMatrix;
		for (int i = 0; i < 3; ++i)
			someMatrix = AxisRotation(someAxes[i], aDegrees[someAxes[i]]) * someMatrix;
		return someMatrix;
	}

	FbxVector4 FbxAMatrix::GetRow(int aRow) const
	{
		return { myData[aRow][0], myData[aRow][1], myData[aRow][2], myData[aRow][3] };
	}

	void FbxAMatrix::SetRow(int aRow, const FbxVector4& aRow4)
	{
		for (int c = 0; c < 4; ++c)
			myData[aRow][c] = aRow4[c];
	}

	FbxVector4 FbxAMatrix::GetT() const
	{
		return { myData[3][0], myData[3][1], myData[3][2], 0.0 };
	}

	FbxVector4 FbxAMatrix::GetS() const
	{
		FbxVector4 someScale;
		for (int r = 0; r < 3; ++r)
			someScale[r] = std::sqrt(myData[r][0] * myData[r][0] + myData[r][1] * myData[r][1] + myData[r][2] * myData[r][2]);
		const double someDeterminant = myData[0][0] * (myData[1][1] * myData[2][2] - myData[1][2] * myData[2][1])
			- myData[0][1] * (myData[1][0] * myData[2][2] - myData[1][2] * myData[2][0])
			+ myData[0][2] * (myData[1][0] * myData[2][1] - myData[1][1] * myData[2][0]);
		if (someDeterminant < 0.0)
			someScale[0] = -someScale[0];
		return someScale;
	}

	FbxAMatrix FbxAMatrix::GetRotationOnly() const
	{
		const FbxVector4 someScale = GetS();
		FbxAMatrix someRotation;
		for (int r = 0; r < 3; ++r)
			for (int c = 0; c < 3; ++c)
				someRotation(r, c) = someScale[r] != 0.0 ? myData[r][c] / someScale[r] : (r == c ? 1.0 : 0.0);
		return someRotation;
	}

	FbxVector4 FbxAMatrix::GetR() const
	{
		const FbxAMatrix someRotation = GetRotationOnly();
		const double someSinY = std::clamp(-someRotation.Get(0, 2), -1.0, 1.0);
		const double someY = std::asin(someSinY);
		double someX = 0.0;
		double someZ = 0.0;
		if (std::cos(someY) > GIMBAL_LOCK_COSINE)
		{
			someX = std::atan2(someRotation.Get(1, 2), someRotation.Get(2, 2));
			someZ = std::atan2(someRotation.Get(0, 1), someRotation.Get(0, 0));
		}
		else
		{
			someX = std::atan2(-someRotation.Get(2, 1), someRotation.Get(1, 1));
		}
		return { someX * DEGREES_PER_RADIAN, someY * DEGREES_PER_RADIAN, someZ * DEGREES_PER_RADIAN, 0.0 };
	}

	FbxAMatrix FbxAMatrix::Inverse() const
	{
		// Gauss-Jordan elimination with partial pivoting on a copy.
		double a[4][8];
		for (int r = 0; r < 4; ++r)
			for (int c = 0; c < 4; ++c)
			{
				a[r][c] = myData[r][c];
				a[r][c + 4] = r == c ? 1.0 : 0.0;
			}
		for (int c = 0; c < 4; ++c)
		{
			int somePivot = c;
			for (int r = c + 1; r < 4; ++r)
				if (std::fabs(a[r][c]) > std::fabs(a[somePivot][c]))
					somePivot = r;
			if (a[somePivot][c] == 0.0)
				return FbxAMatrix(); // singular: no meaningful inverse
			for (int k = 0; k < 8; ++k)
				std::swap(a[c][k], a[somePivot][k]);
			const double someScale = 1.0 / a[c][c];
			for (int k = 0; k < 8; ++k)
				a[c][k] *= someScale;
			for (int r = 0; r < 4; ++r)
			{
				if (r == c || a[r][c] == 0.0)
					continue;
				const double someFactor = a[r][c];
				for (int k = 0; k < 8; ++k)
					a[r][k] -= someFactor * a[c][k];
			}
		}
		FbxAMatrix someInverse;
		for (int r = 0; r < 4; ++r)
			for (int c = 0; c < 4; ++c)
				someInverse(r, c) = a[r][c + 4];
		return someInverse;
	}

	FbxAMatrix FbxAMatrix::Transpose() const
	{
		FbxAMatrix someTransposed;
		for (int r = 0; r < 4; ++r)
			for (int c = 0; c < 4; ++c)
				someTransposed(r, c) = myData[c][r];
		return someTransposed;
	}

	FbxAMatrix FbxAMatrix::operator*(const FbxAMatrix& aOther) const
	{
		// Rows are row vectors: aOther applies first, so its rows go through this matrix.
		FbxAMatrix someProduct;
		for (int r = 0; r < 4; ++r)
			for (int c = 0; c < 4; ++c)
			{
				double someSum = 0.0;
				for (int k = 0; k < 4; ++k)
					someSum += aOther.myData[r][k] * myData[k][c];
				someProduct(r, c) = someSum;
			}
		return someProduct;
	}

	FbxVector4 FbxAMatrix::MultT(const FbxVector4& aPoint) const
	{
		FbxVector4 someResult;
		for (int c = 0; c < 3; ++c)
			someResult[c] = aPoint[0] * myData[0][c] + aPoint[1] * myData[1][c] + aPoint[2] * myData[2][c] + myData[3][c];
		someResult[3] = aPoint[3];
		return someResult;
	}

	FbxVector4 FbxAMatrix::MultR(const FbxVector4& aDirection) const
	{
		FbxVector4 someResult;
		for (int c = 0; c < 3; ++c)
			someResult[c] = aDirection[0] * myData[0][c] + aDirection[1] * myData[1][c] + aDirection[2] * myData[2][c];
		someResult[3] = aDirection[3];
		return someResult;
	}

	bool FbxAMatrix::IsIdentity(double aTolerance) const
	{
		for (int r = 0; r < 4; ++r)
			for (int c = 0; c < 4; ++c)
				if (std::fabs(myData[r][c] - (r == c ? 1.0 : 0.0)) > aTolerance)
					return false;
		return true;
	}

	// ---- time -------------------------------------------------------------

	double FbxTime::GetFrameRate(EMode aMode)
	{
		switch (aMode)
		{
		case eFrames120: return 120.0;
		case eFrames100: return 100.0;
		case eFrames60: return 60.0;
		case eFrames50: return 50.0;
		case eFrames48: return 48.0;
		case eFrames30Drop: return 30.0;
		case eNTSCDropFrame: return 29.97002617;
		case eNTSCFullFrame: return 29.97002617;
		case ePAL: return 25.0;
		case eFrames24: return 24.0;
		case eFrames1000: return 1000.0;
		case eFilmFullFrame: return 23.976;
		case eCustom: return theCustomFrameRate;
		case eFrames96: return 96.0;
		case eFrames72: return 72.0;
		case eFrames59dot94: return 59.94;
		case eFrames119dot88: return 119.88;
		default: return 30.0;
		}
	}

	void FbxTime::SetGlobalCustomFrameRate(double aFramesPerSecond)
	{
		if (aFramesPerSecond > 0.0)
			theCustomFrameRate = aFramesPerSecond;
	}

	void FbxTime::SetFrame(FbxLongLong aFrame, EMode aMode)
	{
		myTicks = static_cast<FbxLongLong>(std::llround(static_cast<double>(aFrame) * static_cast<double>(TICKS_PER_SECOND) / GetFrameRate(aMode)));
	}

	FbxLongLong FbxTime::GetFrameCount(EMode aMode) const
	{
		const double someTicksPerFrame = static_cast<double>(TICKS_PER_SECOND) / GetFrameRate(aMode);
		// A tick of rounding slack so that SetFrame(n) reads back as n.
		return static_cast<FbxLongLong>(std::floor((static_cast<double>(myTicks) + 1.0) / someTicksPerFrame));
	}
}
