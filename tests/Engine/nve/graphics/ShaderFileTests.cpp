// Compiled shader files and their caches, and what missing shaders do to the
// drawers and to the graphics object's start-up.
#include "Support/GraphicsSetUp.h"
#include "Support/TempFolder.h"
#include "drawers/LineDrawer.h"
#include "drawers/SpriteDrawer.h"
#include "engine/DrawCalls.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/Shader.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace
{
	// A cooked folder of the build's shaders, less the ones named.
	class CookedCopy : public NorvTest::TempFolder
	{
	public:
		explicit CookedCopy(std::initializer_list<const char*> aLeftOut = {})
		{
			fs::copy(NORV_COOKED_DIR, Path(), fs::copy_options::recursive);
			for (const char* someName : aLeftOut)
				if (!fs::remove(Path() / (std::string(someName) + ".cso")))
					ADD_FAILURE() << "no compiled shader " << someName;
		}
	};
}

TEST(ShaderCache, TheSameNameReadsTheFileOnce)
{
	CookedCopy someCooked;
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 }, someCooked.Path().string());
	ASSERT_TRUE(someSetUp.IsReady());
	Norv::DX11::VertexShaderEntry* someFirst = Norv::DX11::GetVertexShader("shaders/lineshader_VS");
	ASSERT_NE(someFirst, nullptr);
	EXPECT_FALSE(someFirst->myBytecode.empty());
	fs::remove(someCooked.Path() / "shaders/lineshader_VS.cso");
	EXPECT_EQ(Norv::DX11::GetVertexShader("shaders/lineshader_VS"), someFirst) << "answered from the cache, not the file";
}

TEST(ShaderCache, FolderSpellingsAreSeparateEntries)
{
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 });
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	const std::size_t someCount = Norv::DX11::GetPixelShaderCount();
	ASSERT_NE(Norv::DX11::GetPixelShader("shaders/lineshader_PS"), nullptr) << "loaded by the line drawer";
	EXPECT_EQ(Norv::DX11::GetPixelShaderCount(), someCount);
	ASSERT_NE(Norv::DX11::GetPixelShader("Shaders/lineshader_PS"), nullptr) << "file names match whatever their case";
	EXPECT_NE(Norv::DX11::GetPixelShader("shaders/lineshader_PS"), Norv::DX11::GetPixelShader("Shaders/lineshader_PS"));
	EXPECT_EQ(Norv::DX11::GetPixelShaderCount(), someCount + 1);
}

TEST(ShaderCache, MissingOrBrokenFilesLeaveNoEntry)
{
	CookedCopy someCooked;
	someCooked.Write("shaders/not_spirv_PS.cso", "this is text, not a compiled shader");
	someCooked.Write("shaders/empty_VS.cso", "");
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 }, someCooked.Path().string());
	ASSERT_TRUE(someSetUp.IsReady());
	const std::size_t someVertexCount = Norv::DX11::GetVertexShaderCount();
	const std::size_t somePixelCount = Norv::DX11::GetPixelShaderCount();
	testing::internal::CaptureStderr();
	for (int i = 0; i < 2; ++i)
	{
		EXPECT_EQ(Norv::DX11::GetVertexShader("shaders/no_such_shader_VS"), nullptr);
		EXPECT_EQ(Norv::DX11::GetVertexShader("shaders/empty_VS"), nullptr);
		EXPECT_EQ(Norv::DX11::GetPixelShader("shaders/not_spirv_PS"), nullptr);
	}
	const std::string someErrors = testing::internal::GetCapturedStderr();
	EXPECT_NE(someErrors.find("no_such_shader_VS.cso\" could not be read"), std::string::npos) << someErrors;
	EXPECT_NE(someErrors.find("not_spirv_PS.cso\" is not one the device accepts"), std::string::npos) << someErrors;
	EXPECT_EQ(Norv::DX11::GetVertexShaderCount(), someVertexCount);
	EXPECT_EQ(Norv::DX11::GetPixelShaderCount(), somePixelCount);
}

TEST(ShaderCache, ReleasedWithTheDevice)
{
	{
		NorvTest::GraphicsSetUp someSetUp({ 64, 64 });
		ASSERT_TRUE(someSetUp.IsGraphicsReady());
		EXPECT_GT(Norv::DX11::GetVertexShaderCount(), 0u);
	}
	EXPECT_EQ(Norv::DX11::GetVertexShaderCount(), 0u);
	EXPECT_EQ(Norv::DX11::GetPixelShaderCount(), 0u);
}

TEST(GraphicsStart, AMissingToneMapShaderFailsStartUpAndIsNamed)
{
	CookedCopy someCooked({ "shaders/PostprocessTonemapPS" });
	testing::internal::CaptureStderr();
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 }, someCooked.Path().string());
	const std::string someErrors = testing::internal::GetCapturedStderr();
	EXPECT_NE(someErrors.find("The compiled shader \"" + (someCooked.Path() / "Shaders/PostprocessTonemapPS.cso").string() + "\" could not be read\n"), std::string::npos)
		<< someErrors;
	ASSERT_TRUE(someSetUp.IsReady());
	EXPECT_FALSE(someSetUp.IsGraphicsReady());
	EXPECT_EQ(someSetUp.Graphics().GetGraphicsStateStack(), nullptr) << "the stack comes after the effects";
	EXPECT_EQ(someSetUp.Graphics().GetVerticalBlurEffect(), nullptr) << "effects after the failed one are not made";
}

TEST(GraphicsStart, AMissingLineShaderLeavesOnlyTheLineDrawerUnloaded)
{
	CookedCopy someCooked({ "shaders/lineshader_VS" });
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 }, someCooked.Path().string());
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	EXPECT_FALSE(someSetUp.Graphics().GetLineDrawer()->IsLoaded());
	EXPECT_TRUE(someSetUp.Graphics().GetSpriteDrawer()->IsLoaded());
	EXPECT_EQ(someSetUp.Graphics().GetGraphicsStateStack()->GetStackSize(), 1u);

	const Norv::Vector4<float> someColor{ 1.0f, 1.0f, 1.0f, 1.0f };
	const Norv::Vector3<float> someFrom{ 0.0f, 0.0f, 0.0f }, someTo{ 10.0f, 10.0f, 0.0f };
	const std::uint32_t someCalls = Norv::DrawCalls::GetCurrentFrameCount();
	someSetUp.Graphics().GetLineDrawer()->Draw({ &someColor, &someFrom, &someTo, 1 });
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), someCalls) << "an unloaded drawer draws nothing";
}

TEST(Shaders, PrepareRenderRefusesAnUninitialisedShader)
{
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 });
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	Norv::Shader someShader;
	EXPECT_FALSE(someShader.PrepareRender());
	EXPECT_FALSE(someShader.Init());
	EXPECT_FALSE(someShader.Init("shaders/lineshader_VS", "shaders/no_such_PS"));
	EXPECT_FALSE(someShader.PrepareRender());
	EXPECT_TRUE(someShader.Init("shaders/custom_shape_VS", "shaders/custom_shape_PS")) << "the default layout fits any vertex shader's bytes";
	EXPECT_TRUE(someShader.PrepareRender());
}
