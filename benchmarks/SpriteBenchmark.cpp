// Sprites per frame through the sprite drawer, and the same quads through a
// minimal raw-GL instanced program with the same compiled shaders: frames per
// second of both and the drawer's rate as a share of raw GL's. Raw GL draws all
// instances at once and, to show what the drawer's chunks cost by themselves,
// also in chunks of the drawer's: BATCH_SIZE, or the batch size of the cases
// drawn as many small batches (texts of a few glyphs). Headless (EGL
// surfaceless); each frame ends with glFinish so GPU work is counted.
#include "drawers/SpriteDrawer.h"
#include "engine/EngineCreateParameters.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/TextureManager.h"
#include "kernel/Kernel.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{
	constexpr unsigned WIDTH = 1280;
	constexpr unsigned HEIGHT = 720;
	constexpr float SPRITE_SIZE_PIXELS = 8.0f;
	constexpr unsigned RANDOM_SEED = 1234;
	// Sprites per frame and sprites per batch (0: all in one batch).
	constexpr std::int64_t CASES[][2] = { { 10, 10 }, { 1'000, 10 }, { 1'000, 0 }, { 10'000, 0 }, { 100'000, 0 } };
	constexpr std::int64_t MAX_SPRITES = 100'000;
	const Norv::Color CLEAR_COLOR(3.0f / 255.0f, 0.6f, 176.0f / 255.0f, 1.0f);

	using Case = std::pair<std::int64_t, std::int64_t>;
	// Frames per second, and the CPU time per frame of the thread that submits
	// (the driver's rasterizer threads not counted): what batching and uploads cost.
	struct Rate
	{
		double myFps = 0.0;
		double myCpuMilliseconds = 0.0;
	};
	std::map<Case, Rate> ourDrawerFps;
	std::map<Case, Rate> ourRawFps;
	std::map<Case, Rate> ourRawChunkedFps;

	double ThreadCpuSeconds()
	{
		timespec someTime{};
		clock_gettime(CLOCK_THREAD_CPUTIME_ID, &someTime);
		return static_cast<double>(someTime.tv_sec) + static_cast<double>(someTime.tv_nsec) * 1e-9;
	}

	const std::vector<Norv::Sprite2DInstanceData>& GetSprites(std::int64_t aCount)
	{
		static std::map<std::int64_t, std::vector<Norv::Sprite2DInstanceData>> ourScenes;
		std::vector<Norv::Sprite2DInstanceData>& someSprites = ourScenes[aCount];
		if (someSprites.empty())
		{
			std::mt19937 someRandom(RANDOM_SEED);
			std::uniform_real_distribution<float> someX(0.0f, WIDTH), someY(0.0f, HEIGHT), someUnit(0.0f, 1.0f);
			someSprites.resize(static_cast<std::size_t>(aCount));
			for (Norv::Sprite2DInstanceData& someSprite : someSprites)
			{
				someSprite.myPosition = { someX(someRandom), someY(someRandom) };
				someSprite.mySize = { SPRITE_SIZE_PIXELS, SPRITE_SIZE_PIXELS };
				someSprite.myRotation = someUnit(someRandom);
				someSprite.myColor = Norv::Color(1.0f, someUnit(someRandom) < 0.5f ? 0.5f : 1.0f, 0.2f, 1.0f);
			}
		}
		return someSprites;
	}

	// -------------------------------------------------------------------------
	// The engine's render core, headless
	// -------------------------------------------------------------------------

	struct RenderCore
	{
		RenderCore()
		{
			Platform::SetModuleFileNameOverride([] { return std::string(NORV_BIN_DIR) + "/Game"; });
			Norv::LoadSettings("Game");
			Norv::GetEngineCreateParameters().myWindowSize = { WIDTH, HEIGHT };
			myIsReady = myDX11.Init(nullptr);
			if (!myIsReady)
				return;
			myTextures.Init();
			myIsReady = myGraphics.Init();
		}

		Norv::DX11 myDX11;
		Norv::TextureManager myTextures;
		Norv::GraphicsEngine myGraphics;
		bool myIsReady = false;
	};

	RenderCore& GetRenderCore()
	{
		static RenderCore ourRenderCore;
		return ourRenderCore;
	}

	// -------------------------------------------------------------------------
	// The raw-GL program: the same shaders, one instanced draw per frame
	// -------------------------------------------------------------------------

	struct InstanceRecord
	{
		float myWorld[16];
		float myColor[4];
		float myUvRect[4];
		float myTextureArea[4];
	};
	static_assert(sizeof(InstanceRecord) == 112);

	std::string ReadCooked(const char* aName)
	{
		std::ifstream someFile(std::string(NORV_BIN_DIR) + "/cooked/shaders/" + aName + ".cso", std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
	}

	GLuint SpirvShader(GLenum aStage, const std::string& aCode)
	{
		const GLuint someShader = glCreateShader(aStage);
		glShaderBinary(1, &someShader, GL_SHADER_BINARY_FORMAT_SPIR_V, aCode.data(), static_cast<GLsizei>(aCode.size()));
		glSpecializeShader(someShader, "main", 0, nullptr, nullptr);
		return someShader;
	}

	struct RawGl
	{
		RawGl()
		{
			const GLuint someVertex = SpirvShader(GL_VERTEX_SHADER, ReadCooked("instanced_sprite_shader_VS"));
			const GLuint somePixel = SpirvShader(GL_FRAGMENT_SHADER, ReadCooked("model_shader_vertex_color_textured_PS"));
			myProgram = glCreateProgram();
			glAttachShader(myProgram, someVertex);
			glAttachShader(myProgram, somePixel);
			glLinkProgram(myProgram);
			glDeleteShader(someVertex);
			glDeleteShader(somePixel);

			glCreateTextures(GL_TEXTURE_2D, 1, &myTarget);
			glTextureStorage2D(myTarget, 1, GL_SRGB8_ALPHA8, WIDTH, HEIGHT);
			glCreateFramebuffers(1, &myFramebuffer);
			glNamedFramebufferTexture(myFramebuffer, GL_COLOR_ATTACHMENT0, myTarget, 0);

			const std::uint32_t someWhite[16] = { 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff,
				0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff };
			// The engine's default sampler: anisotropic, wrapping.
			glCreateSamplers(1, &mySampler);
			glSamplerParameteri(mySampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
			glSamplerParameteri(mySampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
			glSamplerParameteri(mySampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
			glSamplerParameteri(mySampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
			glSamplerParameterf(mySampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, 16.0f);
			glCreateTextures(GL_TEXTURE_2D, 1, &myWhite);
			glTextureStorage2D(myWhite, 1, GL_RGBA8, 4, 4);
			glTextureSubImage2D(myWhite, 0, 0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, someWhite);

			// The camera block: view identity, the interface's pixel-space projection.
			Norv::Camera someCamera;
			someCamera.SetOrthographicProjection(0.0f, WIDTH, 0.0f, HEIGHT, -1.0f, 1.0f);
			std::vector<std::byte> someCameraBlock(272);
			std::memcpy(someCameraBlock.data(), Norv::Matrix4x4().GetData(), 64);
			std::memcpy(someCameraBlock.data() + 128, someCamera.myProjection.GetData(), 64);
			const GLsizeiptr SIZES[4] = { 16, 272, 496, 32 };
			glCreateBuffers(4, myUniformBuffers);
			for (int i = 0; i < 4; ++i)
				glNamedBufferData(myUniformBuffers[i], SIZES[i], i == 1 ? someCameraBlock.data() : nullptr, GL_STATIC_DRAW);

			const float CORNERS[6][2] = { { 0, -1 }, { 0, 0 }, { 1, -1 }, { 1, 0 }, { 1, -1 }, { 0, 0 } };
			struct Vertex
			{
				float myPosition[4];
				std::uint32_t myIndex[4];
			} someVertices[6];
			for (std::uint32_t i = 0; i < 6; ++i)
				someVertices[i] = { { CORNERS[i][0], CORNERS[i][1], 0.0f, 1.0f }, { i, 0, 0, 0 } };
			glCreateBuffers(1, &myVertexBuffer);
			glNamedBufferData(myVertexBuffer, sizeof(someVertices), someVertices, GL_STATIC_DRAW);
			glCreateBuffers(1, &myInstanceBuffer);
			glNamedBufferData(myInstanceBuffer, MAX_SPRITES * sizeof(InstanceRecord), nullptr, GL_DYNAMIC_DRAW);

			glCreateVertexArrays(1, &myVertexArray);
			glEnableVertexArrayAttrib(myVertexArray, 0);
			glVertexArrayAttribFormat(myVertexArray, 0, 4, GL_FLOAT, GL_FALSE, 0);
			glVertexArrayAttribBinding(myVertexArray, 0, 0);
			glEnableVertexArrayAttrib(myVertexArray, 1);
			glVertexArrayAttribIFormat(myVertexArray, 1, 4, GL_UNSIGNED_INT, 16);
			glVertexArrayAttribBinding(myVertexArray, 1, 0);
			for (GLuint i = 0; i < 7; ++i)
			{
				glEnableVertexArrayAttrib(myVertexArray, 2 + i);
				glVertexArrayAttribFormat(myVertexArray, 2 + i, 4, GL_FLOAT, GL_FALSE, 16 * i);
				glVertexArrayAttribBinding(myVertexArray, 2 + i, 1);
			}
			glVertexArrayBindingDivisor(myVertexArray, 1, 1);
			glVertexArrayVertexBuffer(myVertexArray, 0, myVertexBuffer, 0, sizeof(Vertex));
			glVertexArrayVertexBuffer(myVertexArray, 1, myInstanceBuffer, 0, sizeof(InstanceRecord));
		}

		// All sprites in draws of at most aChunk instances.
		void Frame(const std::vector<Norv::Sprite2DInstanceData>& aSprites, std::size_t aChunk)
		{
			GLint someStandInFramebuffer = 0;
			glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &someStandInFramebuffer);
			glBindFramebuffer(GL_DRAW_FRAMEBUFFER, myFramebuffer);
			glViewport(0, 0, WIDTH, HEIGHT);
			glEnable(GL_FRAMEBUFFER_SRGB);
			glEnable(GL_BLEND);
			glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
			glBlendEquationSeparate(GL_FUNC_ADD, GL_MAX);
			glDisable(GL_DEPTH_TEST);
			glDisable(GL_CULL_FACE);
			const Norv::Color someClear = CLEAR_COLOR.AsLinear();
			const float someClearValue[4] = { someClear.r, someClear.g, someClear.b, someClear.a };
			glClearNamedFramebufferfv(myFramebuffer, GL_COLOR, 0, someClearValue);

			myRecords.resize(aSprites.size());
			InstanceRecord* someRecords = myRecords.data();
			Norv::Color someLastColor, someLastLinear;
			for (const Norv::Sprite2DInstanceData& someSprite : aSprites)
			{
				const float someW = someSprite.mySize.x, someH = someSprite.mySize.y;
				const float someC = std::cos(someSprite.myRotation), someS = std::sin(someSprite.myRotation);
				if (!(someSprite.myColor == someLastColor))
				{
					someLastColor = someSprite.myColor;
					someLastLinear = someSprite.myColor.AsLinear();
				}
				*someRecords++ = { { someW * someC, someW * someS, 0, 0, -someH * someS, someH * someC, 0, 0, 0, 0, 1, 0,
									   someSprite.myPosition.x - someSprite.myPivot.x * someW * someC - someSprite.myPivot.y * someH * someS,
									   someSprite.myPosition.y - someSprite.myPivot.x * someW * someS + someSprite.myPivot.y * someH * someC, 0, 1 },
					{ someLastLinear.r, someLastLinear.g, someLastLinear.b, someLastLinear.a }, { 0, 0, 1, 1 }, { 0, 1, 1, 0 } };
			}

			glUseProgram(myProgram);
			glBindVertexArray(myVertexArray);
			glBindBuffersBase(GL_UNIFORM_BUFFER, 0, 4, myUniformBuffers);
			glBindTextureUnit(1, myWhite);
			glBindSampler(1, mySampler);
			for (std::size_t someFirst = 0; someFirst < myRecords.size(); someFirst += aChunk)
			{
				const std::size_t someCount = std::min(aChunk, myRecords.size() - someFirst);
				glNamedBufferData(myInstanceBuffer, static_cast<GLsizeiptr>(someCount * sizeof(InstanceRecord)), myRecords.data() + someFirst, GL_DYNAMIC_DRAW);
				glDrawArraysInstanced(GL_TRIANGLES, 0, 6, static_cast<GLsizei>(someCount));
			}
			glUseProgram(0);
			glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(someStandInFramebuffer));
		}

		GLuint myProgram = 0, mySampler = 0, myTarget = 0, myFramebuffer = 0, myWhite = 0, myVertexBuffer = 0, myInstanceBuffer = 0, myVertexArray = 0;
		GLuint myUniformBuffers[4] = {};
		std::vector<InstanceRecord> myRecords; // capacity kept from frame to frame
	};

	// -------------------------------------------------------------------------
	// Benchmarks
	// -------------------------------------------------------------------------

	template <typename FrameFunction>
	void RunFrames(benchmark::State& aState, std::map<Case, Rate>& aRates, FrameFunction aFrame)
	{
		const auto someStart = std::chrono::steady_clock::now();
		const double someCpuStart = ThreadCpuSeconds();
		for (auto _ : aState)
		{
			aFrame();
			glFinish();
		}
		const double someSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - someStart).count();
		const double someFps = static_cast<double>(aState.iterations()) / someSeconds;
		aRates[{ aState.range(0), aState.range(1) }] = { someFps, (ThreadCpuSeconds() - someCpuStart) * 1000.0 / static_cast<double>(aState.iterations()) };
		aState.counters["fps"] = someFps;
		aState.SetItemsProcessed(aState.iterations() * aState.range(0));
	}

	void SpriteDrawerFrames(benchmark::State& aState)
	{
		RenderCore& someCore = GetRenderCore();
		if (!someCore.myIsReady)
		{
			aState.SkipWithError("no render core (OpenGL 4.5 or compiled shaders missing)");
			return;
		}
		const std::vector<Norv::Sprite2DInstanceData>& someSprites = GetSprites(aState.range(0));
		Norv::SpriteDrawer& someDrawer = *someCore.myGraphics.GetSpriteDrawer();
		Norv::GraphicsStateStack& someStack = *someCore.myGraphics.GetGraphicsStateStack();
		const Norv::Color someLinear = CLEAR_COLOR.AsLinear();
		const float someClear[4] = { someLinear.r, someLinear.g, someLinear.b, someLinear.a };
		const std::size_t someBatchSize = aState.range(1) > 0 ? static_cast<std::size_t>(aState.range(1)) : someSprites.size();
		RunFrames(aState, ourDrawerFps, [&] {
			// As the engine's frame start, less the depth clear: the raw program has no depth buffer.
			Norv::DX11::ourBackBuffer->Clear(someClear);
			Norv::DX11::ourBackBuffer->SetAsActiveTarget();
			someStack.BeginFrame();
			for (std::size_t someFirst = 0; someFirst < someSprites.size(); someFirst += someBatchSize)
			{
				Norv::SpriteBatchScope someBatch = someDrawer.BeginBatch({});
				someBatch.DrawMany(someSprites.data() + someFirst, std::min(someBatchSize, someSprites.size() - someFirst));
			}
		});
	}

	// aChunk 0: the case's batch size, or BATCH_SIZE when it has one batch.
	void RawGlFrames(benchmark::State& aState, std::size_t aChunk, std::map<Case, Rate>& aRates)
	{
		if (!GetRenderCore().myIsReady)
		{
			aState.SkipWithError("no OpenGL 4.5 context");
			return;
		}
		static RawGl ourRaw;
		const std::vector<Norv::Sprite2DInstanceData>& someSprites = GetSprites(aState.range(0));
		const std::size_t someChunk = aChunk > 0 ? aChunk : aState.range(1) > 0 ? static_cast<std::size_t>(aState.range(1)) : Norv::SpriteDrawer::BATCH_SIZE;
		RunFrames(aState, aRates, [&] { ourRaw.Frame(someSprites, someChunk); });
	}
}

int main(int argc, char** argv)
{
	// All drawer runs first: the raw program changes GL state behind the stand-in's back.
	for (const auto& [someCount, someBatch] : CASES)
		benchmark::RegisterBenchmark("SpriteDrawer", SpriteDrawerFrames)->Args({ someCount, someBatch })->UseRealTime()->Unit(benchmark::kMillisecond);
	for (const auto& [someCount, someBatch] : CASES)
		benchmark::RegisterBenchmark("RawGL", [](benchmark::State& aState) { RawGlFrames(aState, MAX_SPRITES, ourRawFps); })
			->Args({ someCount, someBatch })->UseRealTime()->Unit(benchmark::kMillisecond);
	for (const auto& [someCount, someBatch] : CASES)
		benchmark::RegisterBenchmark("RawGL_chunks", [](benchmark::State& aState) { RawGlFrames(aState, 0, ourRawChunkedFps); })
			->Args({ someCount, someBatch })->UseRealTime()->Unit(benchmark::kMillisecond);
	benchmark::Initialize(&argc, argv);
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();

	std::printf("\n%10s %8s %12s %12s %8s %18s %8s %14s %14s\n", "sprites", "batch", "drawer fps", "raw GL fps", "ratio", "raw GL chunks fps", "ratio",
		"drawer CPU ms", "chunks CPU ms");
	for (const auto& [someCase, someDrawer] : ourDrawerFps)
	{
		const Rate someRaw = ourRawFps.contains(someCase) ? ourRawFps[someCase] : Rate();
		const Rate someChunked = ourRawChunkedFps.contains(someCase) ? ourRawChunkedFps[someCase] : Rate();
		std::printf("%10lld %8s %12.1f %12.1f %8.2f %18.1f %8.2f %14.3f %14.3f\n", static_cast<long long>(someCase.first),
			someCase.second > 0 ? std::to_string(someCase.second).c_str() : "all", someDrawer.myFps, someRaw.myFps,
			someRaw.myFps > 0.0 ? someDrawer.myFps / someRaw.myFps : 0.0, someChunked.myFps, someChunked.myFps > 0.0 ? someDrawer.myFps / someChunked.myFps : 0.0,
			someDrawer.myCpuMilliseconds, someChunked.myCpuMilliseconds);
	}
	return 0;
}
