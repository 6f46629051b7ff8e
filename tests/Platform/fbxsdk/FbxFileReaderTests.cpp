// The binary and ASCII readers: records, every property type, arrays, and the
// failures of truncated, garbage and oversized input.
#include "Support/FbxScenes.h"
#include "fbxsdk/fbxsdk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <zlib.h>

using namespace fbxsdk;
using NorvTools::FbxRecord;

namespace
{
	FbxRecord SampleRecords()
	{
		FbxRecord someRoot;
		FbxRecord& someHeader = someRoot.Add("FBXHeaderExtension");
		someHeader.Add("FBXVersion", { std::int32_t{ 7400 } });
		FbxRecord& someData = someRoot.Add("Data", { std::int32_t{ -7 }, std::int64_t{ 1ll << 40 }, 2.5, std::string("say \"hi\""), true });
		someData.Add("Ints", { std::vector<std::int32_t>{ 1, -2, 3 } });
		someData.Add("Longs", { std::vector<std::int64_t>{ 46186158000ll, -1 } });
		someData.Add("Floats", { std::vector<float>{ 0.25f, -8.5f } });
		std::vector<double> someBig(1000);
		for (size_t i = 0; i < someBig.size(); ++i)
			someBig[i] = static_cast<double>(i) * 0.5;
		someData.Add("Doubles", { someBig });
		someData.Add("Empty", { std::vector<double>{} });
		return someRoot;
	}

	impl::ArrayBuffer<std::uint8_t> Bytes(const std::string& aText)
	{
		return impl::ArrayBuffer<std::uint8_t>(aText.begin(), aText.end());
	}

	template <typename T>
	std::vector<T> Plain(const impl::ArrayBuffer<T>& aValues)
	{
		return { aValues.begin(), aValues.end() };
	}

	void ExpectSample(impl::ParseTree& aTree)
	{
		const std::uint32_t someData = aTree.FindChild(0, "Data");
		ASSERT_NE(someData, impl::NO_NODE);
		ASSERT_EQ(aTree.nodes[someData].propertyCount, 5u);
		EXPECT_EQ(impl::ParseTree::AsInteger(*aTree.Property(someData, 0)), -7);
		EXPECT_EQ(impl::ParseTree::AsInteger(*aTree.Property(someData, 1)), 1ll << 40);
		EXPECT_DOUBLE_EQ(impl::ParseTree::AsReal(*aTree.Property(someData, 2)), 2.5);
		EXPECT_EQ(aTree.Property(someData, 3)->text, "say \"hi\"");
		EXPECT_EQ(impl::ParseTree::AsInteger(*aTree.Property(someData, 4)), 1);
		impl::ArrayBuffer<std::int32_t> someInts;
		ASSERT_TRUE(aTree.TakeArray(someData, "Ints", someInts));
		EXPECT_EQ(Plain(someInts), (std::vector<std::int32_t>{ 1, -2, 3 }));
		impl::ArrayBuffer<std::int64_t> someLongs;
		ASSERT_TRUE(aTree.TakeArray(someData, "Longs", someLongs));
		EXPECT_EQ(Plain(someLongs), (std::vector<std::int64_t>{ 46186158000ll, -1 }));
		impl::ArrayBuffer<float> someFloats;
		ASSERT_TRUE(aTree.TakeArray(someData, "Floats", someFloats));
		EXPECT_EQ(Plain(someFloats), (std::vector<float>{ 0.25f, -8.5f }));
		impl::ArrayBuffer<double> someDoubles;
		ASSERT_TRUE(aTree.TakeArray(someData, "Doubles", someDoubles));
		ASSERT_EQ(someDoubles.size(), 1000u);
		EXPECT_DOUBLE_EQ(someDoubles[999], 499.5);
		ASSERT_TRUE(aTree.TakeArray(someData, "Empty", someDoubles));
		EXPECT_TRUE(someDoubles.empty());
		EXPECT_FALSE(aTree.TakeArray(someData, "Missing", someDoubles));
	}

	// A binary file whose "Data" record holds one compressed double array that
	// declares aDeclared elements but inflates to aActual.
	std::string CompressedArrayFile(std::uint32_t aDeclared, size_t aActual)
	{
		std::vector<double> someValues(aActual, 1.0);
		uLongf someLength = compressBound(static_cast<uLong>(aActual * 8));
		std::string someCompressed(someLength, '\0');
		compress2(reinterpret_cast<Bytef*>(someCompressed.data()), &someLength, reinterpret_cast<const Bytef*>(someValues.data()), static_cast<uLong>(aActual * 8), 9);
		someCompressed.resize(someLength);

		std::string someProperty = "d";
		const auto put32 = [](std::string& aOut, std::uint32_t aValue) { aOut.append(reinterpret_cast<const char*>(&aValue), 4); };
		put32(someProperty, aDeclared);
		put32(someProperty, 1);
		put32(someProperty, static_cast<std::uint32_t>(someCompressed.size()));
		someProperty += someCompressed;

		std::string someFile("Kaydara FBX Binary  \0\x1a\0", 23);
		put32(someFile, 7400);
		const std::uint32_t someEnd = static_cast<std::uint32_t>(someFile.size() + 13 + 4 + someProperty.size());
		put32(someFile, someEnd);
		put32(someFile, 1);
		put32(someFile, static_cast<std::uint32_t>(someProperty.size()));
		someFile += '\4';
		someFile += "Data";
		someFile += someProperty;
		someFile.append(13, '\0');
		return someFile;
	}
}

TEST(FbxFileReader, BinaryRecordsKeepEveryPropertyType)
{
	for (std::uint32_t someVersion : { 7400u, 7500u })
		for (bool someCompress : { false, true })
		{
			impl::ParseTree someTree;
			std::string someError;
			ASSERT_TRUE(impl::ParseBinaryFbx(Bytes(NorvTools::WriteBinaryFbx(SampleRecords(), someVersion, someCompress)), someTree, someError)) << someError;
			EXPECT_EQ(someTree.version, someVersion);
			ExpectSample(someTree);
		}
}

TEST(FbxFileReader, AsciiRecordsKeepEveryPropertyType)
{
	impl::ParseTree someTree;
	std::string someError;
	const std::string someText = NorvTools::WriteAsciiFbx(SampleRecords());
	ASSERT_TRUE(impl::IsAsciiFbx(Bytes(someText)));
	ASSERT_TRUE(impl::ParseAsciiFbx(Bytes(someText), someTree, someError)) << someError;
	EXPECT_EQ(someTree.version, 7400u);
	ExpectSample(someTree);
}

TEST(FbxFileReader, EveryTruncationOfABinaryFileFailsCleanly)
{
	const std::string someFile = NorvTools::WriteBinaryFbx(SampleRecords(), 7400, true);
	for (size_t someLength = 0; someLength < someFile.size(); ++someLength)
	{
		impl::ParseTree someTree;
		std::string someError;
		EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(someFile.substr(0, someLength)), someTree, someError)) << someLength;
		EXPECT_FALSE(someError.empty());
	}
}

TEST(FbxFileReader, EveryTruncationOfAnAsciiFileFailsOrParses)
{
	const std::string someFile = NorvTools::WriteAsciiFbx(SampleRecords());
	for (size_t someLength = 0; someLength < someFile.size(); someLength += 7)
	{
		impl::ParseTree someTree;
		std::string someError;
		if (!impl::ParseAsciiFbx(Bytes(someFile.substr(0, someLength)), someTree, someError))
		{
			EXPECT_NE(someError.find("line"), std::string::npos);
		}
	}
}

TEST(FbxFileReader, CompressedArraysMustInflateToTheirDeclaredSize)
{
	impl::ParseTree someTree;
	std::string someError;
	EXPECT_TRUE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(100, 100)), someTree, someError)) << someError;
	// More data than declared (a bomb would write past the buffer) and less than declared.
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(100, 5000)), someTree, someError));
	EXPECT_NE(someError.find("declared size"), std::string::npos);
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(100, 50)), someTree, someError));
	// A declared size no deflate stream of that length can produce is refused before allocating.
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(0xFFFFFFFFu, 10)), someTree, someError));
	EXPECT_NE(someError.find("declares more data"), std::string::npos);
}

// Arrays of a mebibyte and more inflate on worker threads after the records are
// read: the same checks hold there, and a good array arrives whole.
TEST(FbxFileReader, LargeCompressedArraysAreCheckedAndFilledOnTheWorkers)
{
	constexpr std::uint32_t LARGE = 300'000; // doubles: 2.4 MB
	impl::ParseTree someTree;
	std::string someError;
	ASSERT_TRUE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(LARGE, LARGE)), someTree, someError)) << someError;
	impl::ArrayBuffer<double> someValues;
	ASSERT_TRUE(someTree.TakeArray(0, "Data", someValues));
	ASSERT_EQ(someValues.size(), LARGE);
	EXPECT_EQ(std::count(someValues.begin(), someValues.end(), 1.0), static_cast<std::ptrdiff_t>(LARGE));

	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(LARGE, LARGE - 1)), someTree, someError));
	EXPECT_NE(someError.find("declared size"), std::string::npos);
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(CompressedArrayFile(LARGE, LARGE + 1)), someTree, someError));
	EXPECT_NE(someError.find("declared size"), std::string::npos);
	// A damaged stream (its checksum no longer matches) fails the same way.
	std::string someDamaged = CompressedArrayFile(LARGE, LARGE);
	someDamaged[someDamaged.size() - 13 - 6] ^= 0x5A;
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(someDamaged), someTree, someError));
	EXPECT_NE(someError.find("declared size"), std::string::npos);
}

TEST(FbxFileReader, MalformedBinaryRecordsAreRejected)
{
	std::string someFile = NorvTools::WriteBinaryFbx(SampleRecords(), 7400, false);
	impl::ParseTree someTree;
	std::string someError;
	// An end offset pointing before the record.
	std::string someBackwards = someFile;
	const std::uint32_t someZero = 5;
	std::memcpy(someBackwards.data() + 27, &someZero, 4);
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(someBackwards), someTree, someError));
	// An unknown property type code.
	std::string someBadType = someFile;
	const size_t someData = someBadType.find("Data");
	someBadType[someData + 4] = 'Q';
	EXPECT_FALSE(impl::ParseBinaryFbx(Bytes(someBadType), someTree, someError));
	EXPECT_NE(someError.find("Unknown property type"), std::string::npos);
}

TEST(FbxFileReader, AsciiCommentsBareWordsAndEmptyValuesAreRead)
{
	impl::ParseTree someTree;
	std::string someError;
	ASSERT_TRUE(impl::ParseAsciiFbx(Bytes("; FBX 7.4.0 project file\nVideo: 1, \"Video::x\", \"Clip\" {\n\tContent: ,\n\tShading: T ; a comment\n\tList: 1,\n\t\t2, 3\n}\n"), someTree, someError)) << someError;
	const std::uint32_t someVideo = someTree.FindChild(0, "Video");
	ASSERT_NE(someVideo, impl::NO_NODE);
	EXPECT_EQ(someTree.nodes[someTree.FindChild(someVideo, "Content")].propertyCount, 0u);
	EXPECT_EQ(someTree.ChildText(someVideo, "Shading"), "T");
	EXPECT_EQ(someTree.nodes[someTree.FindChild(someVideo, "List")].propertyCount, 3u);
}

TEST(FbxFileReader, MalformedAsciiIsRejectedWithItsLine)
{
	impl::ParseTree someTree;
	std::string someError;
	EXPECT_FALSE(impl::ParseAsciiFbx(Bytes("A: 1\nB: \"open\n"), someTree, someError));
	EXPECT_NE(someError.find("line 2"), std::string::npos);
	EXPECT_FALSE(impl::ParseAsciiFbx(Bytes("A: *3 {\n a: 1,2\n}\n"), someTree, someError));
	EXPECT_NE(someError.find("declares 3"), std::string::npos);
	EXPECT_FALSE(impl::ParseAsciiFbx(Bytes("A: 1.2.3\n"), someTree, someError));
	EXPECT_FALSE(impl::ParseAsciiFbx(Bytes("A: {\n B: 1\n"), someTree, someError));
	EXPECT_FALSE(impl::ParseAsciiFbx(Bytes("}\n"), someTree, someError));
	// Nesting deeper than the readers accept.
	std::string someDeep;
	for (int i = 0; i < impl::MAX_NODE_DEPTH + 2; ++i)
		someDeep += "A: {\n";
	EXPECT_FALSE(impl::ParseAsciiFbx(Bytes(someDeep), someTree, someError));
	EXPECT_NE(someError.find("nested"), std::string::npos);
}

TEST(FbxFileReader, ImporterReportsMissingGarbageAndOldFiles)
{
	NorvTest::TempFolder someFolder;
	FbxManager* someManager = FbxManager::Create();
	FbxImporter* someImporter = FbxImporter::Create(someManager, "");
	const std::string someMissing = (someFolder.Path() / "missing.fbx").string();
	EXPECT_FALSE(someImporter->Initialize(someMissing.c_str()));
	EXPECT_EQ(std::string(someImporter->GetStatus().GetErrorString()), "Cannot read " + someMissing + ": it does not exist");
	// A folder where the file should be exists, yet cannot be read as one.
	const std::string someFolderPath = (someFolder.Path() / "folder.fbx").string();
	std::filesystem::create_directories(someFolderPath);
	EXPECT_FALSE(someImporter->Initialize(someFolderPath.c_str()));
	EXPECT_EQ(std::string(someImporter->GetStatus().GetErrorString()), "Cannot read " + someFolderPath + ": it is a folder");
	EXPECT_FALSE(someImporter->Initialize(someFolder.Write("garbage.fbx", std::string(300, '\x7f')).string().c_str()));
	EXPECT_FALSE(someImporter->IsFBX());
	EXPECT_STREQ(someImporter->GetStatus().GetErrorString(), "Unexpected file type");
	FbxRecord someOld;
	someOld.Add("FBXHeaderExtension").Add("FBXVersion", { std::int32_t{ 6100 } });
	EXPECT_FALSE(someImporter->Initialize(someFolder.Write("old.fbx", NorvTools::WriteBinaryFbx(someOld, 6100)).string().c_str()));
	EXPECT_EQ(someImporter->GetStatus().GetCode(), FbxStatus::eInvalidFileVersion);
	// Import without a successful Initialize fails instead of building an empty scene.
	FbxScene* someScene = FbxScene::Create(someManager, "");
	EXPECT_FALSE(someImporter->Import(someScene));
	someManager->Destroy();
}
