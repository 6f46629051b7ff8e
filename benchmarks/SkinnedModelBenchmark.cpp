// 100 skinned instances of the fixture character posed and drawn per frame at
// 1280 x 720, headless on the engine's render core: CPU milliseconds of pose
// evaluation (players and bone matrices) and of submission (the drawer's
// calls), frames per second with the GPU work finished (glFinish), and the
// heap allocations made while posing (there must be none). The run gets
// settings and 1 x 1 default model textures of its own in a temporary folder,
// as the game's data set provides them.
#include "engine/EngineCreateParameters.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/TextureManager.h"
#include "kernel/Kernel.h"
#include "model/ModelDrawer.h"
#include "model/ModelFactory.h"
#include "settings/settings.h"
#include "Support/DdsFile.h"

#include <epoxy/gl.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <vector>

namespace
{
	constexpr unsigned WIDTH = 1280;
	constexpr unsigned HEIGHT = 720;
	constexpr int INSTANCE_COUNT = 100;
	constexpr int COLUMNS = 10;
	constexpr float SPACING = 60.0f;        // units between characters
	constexpr int WARM_UP_FRAMES = 10;
	constexpr int MEASURED_FRAMES = 120;
	constexpr float FRAME_SECONDS = 1.0f / 60.0f;
	const char* const CHARACTER = NORV_FIXTURES_DIR "/fbx/character_skinned.fbx";

	std::atomic<long> ourAllocations = 0;

	void WriteFile(const std::filesystem::path& aPath, const std::string& aBytes)
	{
		std::filesystem::create_directories(aPath.parent_path());
		std::ofstream(aPath, std::ios::binary) << aBytes;
	}

	// Settings naming the build's cooked shaders, and the default model textures.
	std::filesystem::path MakeRunFolder()
	{
		const std::filesystem::path someFolder = std::filesystem::temp_directory_path() / "norv-skinned-model-benchmark";
		WriteFile(someFolder / "settings/Game.json", R"({ "assets_path": { "engine": "engine", "game": "game", "cooked": ")" NORV_BIN_DIR R"(/cooked" }, "window_settings": { "title": "Benchmark" } })");
		const std::pair<const char*, std::array<std::uint8_t, 4>> someDefaults[] = { { "T_Default_c.dds", { 255, 255, 255, 255 } },
			{ "T_Default_n.dds", { 128, 128, 255, 255 } }, { "T_Default_m.dds", { 0, 160, 255, 255 } }, { "T_Default_fx.dds", { 0, 0, 0, 255 } } };
		for (const auto& [someName, someTexel] : someDefaults)
			WriteFile(someFolder / "data/Textures" / someName, NorvTest::MakeMaskDds({}, 32, NorvTest::RGBA_MASKS, std::string(reinterpret_cast<const char*>(someTexel.data()), 4)));
		return someFolder;
	}

	using Clock = std::chrono::steady_clock;
	double Milliseconds(Clock::duration aDuration) { return std::chrono::duration<double, std::milli>(aDuration).count(); }
}

void* operator new(std::size_t aSize)
{
	++ourAllocations;
	if (void* somePointer = std::malloc(aSize ? aSize : 1))
		return somePointer;
	throw std::bad_alloc();
}
void operator delete(void* aPointer) noexcept { std::free(aPointer); }
void operator delete(void* aPointer, std::size_t) noexcept { std::free(aPointer); }

int main()
{
	const std::filesystem::path someRunFolder = MakeRunFolder();
	Platform::SetModuleFileNameOverride([&] { return (someRunFolder / "Game").string(); });
	Norv::LoadSettings("Game");
	Norv::GetEngineCreateParameters().myWindowSize = { WIDTH, HEIGHT };
	Norv::DX11 someDX11;
	if (!someDX11.Init(nullptr))
		return std::puts("no device"), 1;
	Norv::TextureManager someTextures;
	someTextures.Init();
	Norv::GraphicsEngine someGraphics;
	if (!someGraphics.Init())
		return std::puts("the graphics object did not start"), 1;

	Norv::ModelFactory& someFactory = *Norv::ModelFactory::GetInstance();
	const Norv::AnimatedModelInstance someTemplate = someFactory.GetAnimatedModelInstance(CHARACTER);
	if (!someTemplate.GetModel())
		return std::printf("cannot load %s\n", CHARACTER), 1;
	std::vector<Norv::AnimatedModelInstance> someInstances(INSTANCE_COUNT, someTemplate);
	std::vector<Norv::AnimationPlayer> somePlayers;
	for (int i = 0; i < INSTANCE_COUNT; ++i)
	{
		Norv::AnimationPlayer& somePlayer = somePlayers.emplace_back(someFactory.GetAnimationPlayer(CHARACTER, someTemplate.GetModel()));
		somePlayer.SetLooping(true);
		somePlayer.SetState(Norv::ANIMATION_STATE_PLAYING);
		somePlayer.SetTime(static_cast<float>(i) * 0.01f); // out of step with each other
		someInstances[static_cast<std::size_t>(i)].SetTransform(Norv::Matrix4x4::CreateTranslation(
			{ (static_cast<float>(i % COLUMNS) - (COLUMNS - 1) * 0.5f) * SPACING, 0.0f, static_cast<float>(i / COLUMNS) * SPACING }));
	}

	Norv::GraphicsStateStack& someStack = *someGraphics.GetGraphicsStateStack();
	Norv::ModelDrawer& someDrawer = *someGraphics.GetModelDrawer();
	Norv::Camera someCamera;
	someCamera.SetPerspectiveProjection(70.0f, { static_cast<float>(WIDTH), static_cast<float>(HEIGHT) }, 1.0f, 10000.0f);
	someCamera.SetTransform(Norv::Matrix4x4::CreateRotationAroundX(20.0f) * Norv::Matrix4x4::CreateTranslation({ 0.0f, 250.0f, -350.0f }));

	double somePoseMs = 0.0, someSubmitMs = 0.0;
	long somePoseAllocations = 0;
	Clock::time_point someStart;
	for (int someFrame = 0; someFrame < WARM_UP_FRAMES + MEASURED_FRAMES; ++someFrame)
	{
		if (someFrame == WARM_UP_FRAMES)
			someStart = Clock::now();
		someDX11.Clear(Norv::Color(0.1f, 0.1f, 0.12f, 1.0f));
		Norv::DX11::ourBackBuffer->SetAsActiveTarget(Norv::DX11::ourDepthBuffer);
		someStack.ResetToDefault(true);
		someStack.SetCamera(someCamera);
		someStack.SetAmbientColor(Norv::Color(0.3f, 0.3f, 0.35f, 1.0f));
		someStack.SetDirectionalLight(Norv::Matrix4x4::CreateRotationAroundX(40.0f), Norv::Color(1.0f, 1.0f, 0.95f, 1.0f), 1.5f);

		const long someAllocationsBefore = ourAllocations;
		const Clock::time_point somePoseStart = Clock::now();
		for (int i = 0; i < INSTANCE_COUNT; ++i)
		{
			somePlayers[static_cast<std::size_t>(i)].Update(FRAME_SECONDS);
			someInstances[static_cast<std::size_t>(i)].UpdatePose(somePlayers[static_cast<std::size_t>(i)].GetPose());
		}
		const Clock::time_point someSubmitStart = Clock::now();
		const long somePoseCount = ourAllocations - someAllocationsBefore;
		for (const Norv::AnimatedModelInstance& someInstance : someInstances)
			someDrawer.DrawAnimated(someInstance);
		const Clock::time_point someSubmitEnd = Clock::now();
		glFinish();
		if (someFrame >= WARM_UP_FRAMES)
		{
			somePoseMs += Milliseconds(someSubmitStart - somePoseStart);
			someSubmitMs += Milliseconds(someSubmitEnd - someSubmitStart);
			somePoseAllocations += somePoseCount;
		}
	}
	const double someTotalMs = Milliseconds(Clock::now() - someStart);
	std::printf("%d skinned instances (%zu meshes each) at %u x %u, %d frames\n", INSTANCE_COUNT, someTemplate.GetModel()->GetMeshes().size(), WIDTH, HEIGHT, MEASURED_FRAMES);
	std::printf("pose evaluation: %.3f ms per frame (%ld heap allocations in all)\n", somePoseMs / MEASURED_FRAMES, somePoseAllocations);
	std::printf("submission:      %.3f ms per frame\n", someSubmitMs / MEASURED_FRAMES);
	std::printf("frames per second (GPU finished each frame): %.1f\n", MEASURED_FRAMES * 1000.0 / someTotalMs);
	Norv::ModelFactory::DestroyInstance();
	return somePoseAllocations == 0 ? 0 : 2;
}
