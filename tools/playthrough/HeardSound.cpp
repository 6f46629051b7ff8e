#include "HeardSound.h"

#include "media/AudioManager.h"
#include "world/GameState.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace Playthrough
{
	namespace
	{
		constexpr float FULL_SCALE = 32768.0f;
	}

	void HeardSound::Add(const ScriptedRun& aRun)
	{
		const std::span<const std::int16_t> someSound = aRun.GetFrameSound();
		myFrame.clear();
		for (const std::int16_t someValue : someSound)
		{
			myFullScaleSamples += someValue == INT16_MAX || someValue == INT16_MIN ? 1 : 0;
			myFrame.push_back(static_cast<float>(someValue) / FULL_SCALE);
		}
		myMeter.Add(myFrame);
		myFrames.push_back(StretchOf(aRun));
		// Muted since the frame before: the limiter's delay holds nothing of before.
		const bool isMuted = AudioManager::IsMuted() || AudioManager::GetMasterVolume() <= 0.0f;
		if (isMuted && myWasMuted)
		{
			++myMutedFrames;
			mySamplesWhileMuted += static_cast<int>(std::count_if(someSound.begin(), someSound.end(), [](std::int16_t aValue) { return aValue != 0; }));
		}
		myWasMuted = isMuted;
	}

	double HeardSound::GetSeconds() const
	{
		return static_cast<double>(myFrames.size()) * ScriptedRun::FRAME_SECONDS;
	}

	std::map<std::string, double> HeardSound::GetLoudness() const
	{
		// A step (and a block) belongs to a stretch when all its frames do.
		const std::size_t someFramesPerStep = myMeter.GetStepFrames() / ScriptedRun::FRAME_SOUND_FRAMES;
		const std::vector<double>& someSteps = myMeter.GetStepPowers();
		std::vector<Stretch> someStepStretches;
		for (std::size_t someStep = 0; someStep < someSteps.size(); ++someStep)
			someStepStretches.push_back(Common(std::span(myFrames).subspan(someStep * someFramesPerStep, someFramesPerStep)));
		std::map<std::string, std::vector<double>> someBlocks;
		constexpr std::size_t BLOCK = NorvMedia::StreamMeter::STEPS_PER_BLOCK;
		for (std::size_t someEnd = BLOCK; someEnd <= someSteps.size(); ++someEnd)
		{
			const Stretch someStretch = Common(std::span(someStepStretches).subspan(someEnd - BLOCK, BLOCK));
			const double somePower = std::accumulate(someSteps.begin() + static_cast<std::ptrdiff_t>(someEnd - BLOCK), someSteps.begin() + static_cast<std::ptrdiff_t>(someEnd), 0.0) / BLOCK;
			if (!someStretch.myName.empty())
				someBlocks[someStretch.myName].push_back(somePower);
			if (someStretch.myIsPlay)
				someBlocks[PLAY].push_back(somePower);
		}
		std::map<std::string, double> someLoudness;
		for (const auto& [someName, somePowers] : someBlocks)
			someLoudness[someName] = NorvMedia::GatedLoudness(somePowers);
		return someLoudness;
	}

	void HeardSound::Print(std::FILE* aFile) const
	{
		std::fprintf(aFile, "Sound output over %.0f s: true peak %.2f dBTP, %d samples at full scale, %d frames muted (%d samples not 0)\n",
			GetSeconds(), GetTruePeakDb(), myFullScaleSamples, myMutedFrames, mySamplesWhileMuted);
		for (const auto& [someStretch, someLufs] : GetLoudness())
			std::fprintf(aFile, "  %-20s %6.1f LUFS\n", someStretch.c_str(), someLufs);
	}

	HeardSound::Stretch HeardSound::StretchOf(const ScriptedRun& aRun)
	{
		const auto IsAt = [&](Stage::Kind aKind, const std::string& aName = {}) {
			Stage someStage;
			someStage.myKind = aKind;
			someStage.myName = aName;
			return aRun.IsReached(someStage);
		};
		if (IsAt(Stage::Kind::Menu))
			return { MENU };
		const GameState* someState = GameState::GetInstance();
		if (!someState || !someState->IsLevelLoaded())
			return {};
		const std::string someScene = std::filesystem::path(someState->myScenePath).stem().string();
		if (IsAt(Stage::Kind::Cutscene))
			return { someScene };
		if (IsAt(Stage::Kind::BossFight))
			return { BOSS_FIGHT };
		return IsAt(Stage::Kind::Scene, someScene) ? Stretch{ someScene, true } : Stretch{};
	}

	HeardSound::Stretch HeardSound::Common(std::span<const Stretch> aStretches)
	{
		const bool isOne = std::all_of(aStretches.begin(), aStretches.end(), [&](const Stretch& aStretch) { return aStretch == aStretches.front(); });
		return isOne ? aStretches.front() : Stretch{};
	}
}
