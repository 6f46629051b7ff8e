// The play state on a large level, headless on the real engine: level load time
// (cold, with model import, and warm from the caches), world step time per frame
// with its allocations, and the frame time with rendering at 1280 x 720.
#include "Support/FbxScenes.h"
#include "shell/InputMapper.h"
#include "shell/LoadingScreen.h"
#include "world/GameState.h"

#include "engine/Engine.h"
#include "engine/EngineCreateParameters.h"
#include "graphics/DX11.h"
#include "kernel/Kernel.h"
#include "model/ModelFactory.h"
#include "settings/settings.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include <unistd.h>

namespace
{
	constexpr int FLOOR_TILES = 1500;      // two rows of floor
	constexpr int PLAYERS = 100;           // entities with skinned models
	constexpr int PROPS = 300;
	constexpr int STEPS = 600;
	constexpr int FRAMES = 120;
	constexpr float FRAME = 1.0f / 60.0f;
	constexpr const char* SCENE = "scenes/Benchmark.nvs";

	std::atomic<long> ourAllocations{ 0 };

	namespace fs = std::filesystem;
	using Clock = std::chrono::steady_clock;
	using nlohmann::json;

	double MillisecondsSince(Clock::time_point aStart)
	{
		return std::chrono::duration<double, std::milli>(Clock::now() - aStart).count();
	}

	void Write(const fs::path& aPath, const std::string& aBytes)
	{
		fs::create_directories(aPath.parent_path());
		std::ofstream(aPath, std::ios::binary) << aBytes;
	}

	json Property(const char* aName, const char* aType, const json& aValue)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue }, { "is-dynamic", false }, { "is-per-instance", true } };
	}

	void WriteDefinition(const fs::path& aGame, const std::string& aName, const json& aProperties)
	{
		Write(aGame / "definitions" / (aName + ".nvo"), json{ { "parent-object-definition", "" }, { "properties", aProperties } }.dump());
	}

	// The level: a long floor, players on it with the skinned model and its clips, props around them.
	void WriteLevel(const fs::path& aRoot)
	{
		const fs::path someGame = aRoot / "game";
		Write(aRoot / "data/models/box.fbx", NorvTest::CubeFbx(50.0));
		const fs::path someHero = fs::path(NORV_FIXTURES_DIR) / "fbx/character_skinned.fbx";
		const char* someHeroModel = fs::exists(someHero) ? "models/hero.fbx" : "models/box.fbx";
		if (fs::exists(someHero))
			fs::copy_file(someHero, aRoot / "data/models/hero.fbx", fs::copy_options::overwrite_existing);
		else
			std::printf("(no skinned fixture at %s: the players get the static box)\n", someHero.string().c_str());

		WriteDefinition(someGame, "Tile", json::array({ Property("tileId", "Int", 1) }));
		WriteDefinition(someGame, "Prop", json::array({ Property("prop", "Int", 1), Property("model", "Model", { { "path", "models/box.fbx" } }) }));
		WriteDefinition(someGame, "Hero", json::array({ Property("entityId", "StringId", "Player"), Property("model", "Model", { { "path", someHeroModel } }),
			Property("anim_Idle", "Animation Clip", { { "clip_path", someHeroModel } }), Property("anim_Running", "Animation Clip", { { "clip_path", someHeroModel } }) }));

		json someObjects = json::array();
		int someGuid = 0x1000;
		auto Add = [&](const char* aDefinition, float anX, float aY, float aZ) {
			char someText[40];
			std::snprintf(someText, sizeof(someText), "%08x-0000-4000-8000-%012x", someGuid, someGuid);
			++someGuid;
			someObjects.push_back({ { "uuid", someText }, { "name", aDefinition }, { "object-definition", aDefinition }, { "translation", { anX, aY, aZ } } });
		};
		for (int someTile = 0; someTile < FLOOR_TILES; ++someTile)
		{
			Add("Tile", 100.0f * someTile, 0.0f, 0.0f);
			Add("Tile", 100.0f * someTile, -100.0f, 0.0f);
		}
		for (int someProp = 0; someProp < PROPS; ++someProp)
			Add("Prop", 500.0f * someProp, 300.0f, someProp % 2 ? 2000.0f : -200.0f);
		for (int somePlayer = 0; somePlayer < PLAYERS; ++somePlayer)
			Add("Hero", 40.0f * somePlayer, 150.0f, 0.0f);
		Write(someGame / "scenes/Benchmark.leveldata_new/leveldata.json", someObjects.dump());
	}

	double LoadOnce(GameState& aState, InputMapper& anInput)
	{
		aState.ChangeScene(SCENE);
		const Clock::time_point someStart = Clock::now();
		anInput.Update(FRAME);
		aState.Update(anInput, FRAME);
		return MillisecondsSince(someStart);
	}
}

// Counts every allocation; GCC takes the free of a replaced new for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t aSize)
{
	++ourAllocations;
	if (void* somePointer = std::malloc(aSize ? aSize : 1))
		return somePointer;
	throw std::bad_alloc();
}

void operator delete(void* aPointer) noexcept
{
	std::free(aPointer);
}

void operator delete(void* aPointer, std::size_t) noexcept
{
	std::free(aPointer);
}

int main()
{
	const fs::path someRoot = fs::temp_directory_path() / ("norv_world_benchmark_" + std::to_string(::getpid()));
	fs::create_directories(someRoot);
	const std::string someExecutable = (someRoot / "Game").string();
	Platform::SetModuleFileNameOverride([someExecutable] { return someExecutable; });
	Write(someRoot / "settings/Game.json", R"({ "assets_path": { "engine": "engine", "game": "game", "cooked": ")" NORV_COOKED_DIR R"(" },
		"window_settings": { "title": "World benchmark", "window_size": { "w": 1280, "h": 720 }, "render_size": { "w": 1280, "h": 720 } } })");
	WriteLevel(someRoot);
	Norv::LoadSettings("Game");
	if (!Norv::Engine::Start())
	{
		std::fprintf(stderr, "The engine could not start.\n");
		return 1;
	}
	Norv::Engine& someEngine = *Norv::Engine::GetInstance();
	{
		InputMapper someInput(*someEngine.GetHWND());
		GameState someState;
		someState.Init(someInput);

		const double someColdLoad = LoadOnce(someState, someInput);
		const double someWarmLoad = LoadOnce(someState, someInput);
		std::printf("level: %zu tiles, %zu entities, %zu props\n", someState.GetTiles().size(), someState.GetEntities().size(), someState.GetPropInstances().size());
		std::printf("level load: %.1f ms cold (model import), %.1f ms warm (cached models)\n", someColdLoad, someWarmLoad);

		for (int someFrame = 0; someFrame < 30; ++someFrame)
		{
			someInput.Update(FRAME);
			someState.Update(someInput, FRAME);
		}
		const long someAllocationsBefore = ourAllocations.load();
		const Clock::time_point someStepStart = Clock::now();
		for (int someStep = 0; someStep < STEPS; ++someStep)
		{
			someInput.Update(FRAME);
			someState.Update(someInput, FRAME);
		}
		const double someStepTime = MillisecondsSince(someStepStart) / STEPS;
		const double someAllocations = static_cast<double>(ourAllocations.load() - someAllocationsBefore) / STEPS;
		std::printf("world step: %.3f ms per frame, %.1f allocations per step (%zu entities)\n", someStepTime, someAllocations, someState.GetEntities().size());

		const Clock::time_point someFrameStart = Clock::now();
		for (int someFrame = 0; someFrame < FRAMES; ++someFrame)
		{
			someEngine.BeginFrame();
			someInput.Update(FRAME);
			someState.Update(someInput, FRAME);
			someState.Render(someInput);
			someEngine.EndFrame();
		}
		std::printf("play frame with rendering at 1280 x 720: %.2f ms\n", MillisecondsSince(someFrameStart) / FRAMES);
	}
	LoadingScreen::DestroyInstance();
	Norv::Engine::DestroyInstance();
	fs::remove_all(someRoot);
	return 0;
}
