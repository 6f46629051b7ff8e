#include "Math/Matrix4x4.h"
#include "Support/AssertRecorder.h"

#include <gtest/gtest.h>

using Norv::Matrix4x4;

namespace
{
	void ExpectNear(const Matrix4x4& aActual, const Matrix4x4& aExpected, float aTolerance = 1e-4f)
	{
		for (unsigned someIndex = 0; someIndex < 16; ++someIndex)
			EXPECT_NEAR(aActual[someIndex], aExpected[someIndex], aTolerance) << "element " << someIndex;
	}
}

TEST(Matrix4x4Construction, DefaultIsIdentity)
{
	const Matrix4x4 someMatrix;
	for (int someRow = 1; someRow <= 4; ++someRow)
		for (int someColumn = 1; someColumn <= 4; ++someColumn)
			EXPECT_EQ(someMatrix(someRow, someColumn), someRow == someColumn ? 1.0f : 0.0f);
}

TEST(Matrix4x4Construction, ShortListRepeatsItsLastValue)
{
	const Matrix4x4 someMatrix{ 1, 2 };
	EXPECT_EQ(someMatrix[0], 1.0f);
	for (unsigned someIndex = 1; someIndex < 16; ++someIndex)
		EXPECT_EQ(someMatrix[someIndex], 2.0f);
}

TEST(Matrix4x4Construction, FullListIsCopiedRowByRow)
{
	const Matrix4x4 someMatrix{ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15 };
	for (unsigned someIndex = 0; someIndex < 16; ++someIndex)
		EXPECT_EQ(someMatrix[someIndex], static_cast<float>(someIndex));
	EXPECT_EQ(someMatrix(4, 4), 15.0f);
	EXPECT_EQ(someMatrix(2, 3), 6.0f);
}

TEST(Matrix4x4Construction, EmptyListIsIdentity)
{
	NorvTest::AssertRecorder someAsserts;
	const Matrix4x4 someMatrix{ std::initializer_list<float>{} };
	EXPECT_EQ(someMatrix, Matrix4x4());
	EXPECT_EQ(someAsserts.Count(), 0u);
}

TEST(Matrix4x4Construction, TooManyValuesAssertAndKeepSixteen)
{
	NorvTest::AssertRecorder someAsserts;
	const Matrix4x4 someMatrix{ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 };
	EXPECT_TRUE(someAsserts.Saw("Initializer list contains too many values."));
	EXPECT_EQ(someMatrix[15], 15.0f);
}

TEST(Matrix4x4Access, OutOfBoundsRowOrColumnAsserts)
{
	NorvTest::AssertRecorder someAsserts;
	Matrix4x4 someMatrix;
	(void)someMatrix(0, 1);
	EXPECT_EQ(someAsserts.Count(), 1u);
	(void)someMatrix(1, 5);
	EXPECT_EQ(someAsserts.Count(), 2u);
	EXPECT_TRUE(someAsserts.Saw("Argument out of bounds"));
	(void)someMatrix[16];
	EXPECT_TRUE(someAsserts.Saw("Index out of bounds."));
	(void)someMatrix(4, 4);
	EXPECT_EQ(someAsserts.Count(), 3u);
}

TEST(Matrix4x4Product, RowVectorConventionAppliesLeftFirst)
{
	const Matrix4x4 someTranslate = Matrix4x4::CreateTranslation({ 10, 0, 0 });
	const Matrix4x4 someScale = Matrix4x4::CreateScale({ 2, 2, 2 });
	// Translate then scale: the translation is scaled too.
	const Norv::Vector4<float> somePoint = Norv::Vector4<float>(1, 1, 1, 1) * (someTranslate * someScale);
	EXPECT_EQ(somePoint, Norv::Vector4<float>(22, 2, 2, 1));
	const Norv::Vector4<float> someOther = Norv::Vector4<float>(1, 1, 1, 1) * (someScale * someTranslate);
	EXPECT_EQ(someOther, Norv::Vector4<float>(12, 2, 2, 1));
}

TEST(Matrix4x4Product, CompoundAssignMatchesProduct)
{
	const Matrix4x4 someA = Matrix4x4::CreateRotationAroundX(30) * Matrix4x4::CreateTranslation({ 1, 2, 3 });
	const Matrix4x4 someB = Matrix4x4::CreateRotationAroundY(-45);
	Matrix4x4 someC = someA;
	someC *= someB;
	EXPECT_EQ(someC, someA * someB);
}

TEST(Matrix4x4Inverse, InverseOfProductIsReversedProductOfInverses)
{
	const Matrix4x4 someA = Matrix4x4::CreateRotationAroundX(30) * Matrix4x4::CreateTranslation({ 5, -2, 7 });
	const Matrix4x4 someB = Matrix4x4::CreateScale({ 2, 3, 0.5f }) * Matrix4x4::CreateRotationAroundY(70);
	ExpectNear(Matrix4x4::GetInverse(someA * someB), Matrix4x4::GetInverse(someB) * Matrix4x4::GetInverse(someA));
	ExpectNear(someA * Matrix4x4::GetInverse(someA), Matrix4x4());
}

TEST(Matrix4x4Rotation, AxisRotationsTurnTheExpectedWay)
{
	const auto someRotate = [](const Matrix4x4& aMatrix, Norv::Vector4<float> aPoint) { return aPoint * aMatrix; };
	const Norv::Vector4<float> someY = someRotate(Matrix4x4::CreateRotationAroundX(90), { 0, 1, 0, 0 });
	EXPECT_NEAR(someY.z, 1.0f, 1e-6f);
	const Norv::Vector4<float> someZ = someRotate(Matrix4x4::CreateRotationAroundY(90), { 0, 0, 1, 0 });
	EXPECT_NEAR(someZ.x, 1.0f, 1e-6f);
	const Norv::Vector4<float> someX = someRotate(Matrix4x4::CreateRotationAroundZ(90), { 1, 0, 0, 0 });
	EXPECT_NEAR(someX.y, 1.0f, 1e-6f);
}

TEST(Matrix4x4Rotation, EulerAppliesXThenYThenZ)
{
	const Norv::Vector3<float> someAngles{ 20, 35, -60 };
	Matrix4x4 someEuler;
	someEuler.SetTranslation({ 4, 5, 6 });
	Matrix4x4::SetRotationFromEuler(someEuler, someAngles);
	Matrix4x4 someExpected = Matrix4x4::CreateRotationAroundX(someAngles.x) * Matrix4x4::CreateRotationAroundY(someAngles.y) * Matrix4x4::CreateRotationAroundZ(someAngles.z);
	someExpected.SetTranslation({ 4, 5, 6 });
	ExpectNear(someEuler, someExpected);
}
