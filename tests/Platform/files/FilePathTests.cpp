#include "Support/TempFolder.h"
#include "files/FilePath.h"

#include <gtest/gtest.h>

using Platform::ResolveFilePath;

TEST(FilePath, BackslashesAndDotsAreNormalised)
{
	EXPECT_EQ(ResolveFilePath(std::string_view("a\\b\\..\\c\\.\\d.txt")), std::filesystem::path("a/c/d.txt"));
	EXPECT_EQ(ResolveFilePath(std::string_view("../x/./y/")), std::filesystem::path("../x/y"));
}

TEST(FilePath, ExactPathWinsOverCaseVariants)
{
	NorvTest::TempFolder someFolder;
	someFolder.Write("Data/file.txt", "lower");
	someFolder.Write("Data/FILE.txt", "upper");
	EXPECT_EQ(ResolveFilePath(someFolder.Path() / "Data/FILE.txt"), someFolder.Path() / "Data/FILE.txt");
	EXPECT_EQ(ResolveFilePath(someFolder.Path() / "Data/file.txt"), someFolder.Path() / "Data/file.txt");
}

TEST(FilePath, EachComponentMatchesIgnoringCase)
{
	NorvTest::TempFolder someFolder;
	someFolder.Write("Source/Game/Data/UI/Button.png", "png");
	const std::filesystem::path someAsked = someFolder.Path() / "source\\game\\DATA\\ui\\button.PNG";
	EXPECT_EQ(ResolveFilePath(someAsked), someFolder.Path() / "Source/Game/Data/UI/Button.png");
	EXPECT_TRUE(Platform::FileExists(someAsked));
	const auto someBytes = Platform::ReadWholeFile(someAsked);
	ASSERT_TRUE(someBytes.has_value());
	EXPECT_EQ(std::string(someBytes->begin(), someBytes->end()), "png");
}

TEST(FilePath, MissingComponentGivesTheNormalisedName)
{
	NorvTest::TempFolder someFolder;
	someFolder.Write("A/b.txt", "");
	const std::filesystem::path someAsked = someFolder.Path() / "a/missing/b.txt";
	EXPECT_EQ(ResolveFilePath(someAsked), someAsked);
	EXPECT_FALSE(Platform::FileExists(someAsked));
	EXPECT_FALSE(Platform::ReadWholeFile(someAsked).has_value());
}

TEST(FilePath, FolderIsNotReadAsAFile)
{
	NorvTest::TempFolder someFolder;
	EXPECT_FALSE(Platform::ReadWholeFile(someFolder.Path()).has_value());
	const auto someEmpty = Platform::ReadWholeFile(someFolder.Write("empty.bin", ""));
	ASSERT_TRUE(someEmpty.has_value());
	EXPECT_TRUE(someEmpty->empty());
}
