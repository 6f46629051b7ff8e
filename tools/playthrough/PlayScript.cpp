#include "PlayScript.h"

#include "shell/InputMapper.h"
#include "world/AbilityFlags.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace Playthrough
{
	namespace
	{
		// The most frames one line may ask for: an hour of play at 60 frames a second.
		constexpr int MAX_LINE_FRAMES = 60 * 60 * 60;

		struct ActionName
		{
			std::string_view myName;
			InputAction myAction;
			WORD myPadButton; // the action's first pad binding
		};

		constexpr std::array<ActionName, 11> ACTIONS{ {
			{ "Up", InputAction::Up, XINPUT_GAMEPAD_DPAD_UP },
			{ "Down", InputAction::Down, XINPUT_GAMEPAD_DPAD_DOWN },
			{ "Left", InputAction::Left, XINPUT_GAMEPAD_DPAD_LEFT },
			{ "Right", InputAction::Right, XINPUT_GAMEPAD_DPAD_RIGHT },
			{ "Jump", InputAction::Jump, XINPUT_GAMEPAD_A },
			{ "Attack", InputAction::Attack, XINPUT_GAMEPAD_X },
			{ "Dash", InputAction::Dash, XINPUT_GAMEPAD_B },
			{ "Climb", InputAction::Climb, XINPUT_GAMEPAD_LEFT_SHOULDER },
			{ "Pause", InputAction::Pause, XINPUT_GAMEPAD_START },
			{ "Confirm", InputAction::Confirm, XINPUT_GAMEPAD_A },
			{ "Back", InputAction::Back, XINPUT_GAMEPAD_B },
		} };

		constexpr std::array<std::string_view, Ability::COUNT> ABILITY_NAMES{ "WallJump", "Dash", "Climb", "DashSlash" };

		struct StageName
		{
			std::string_view myName;
			Stage::Kind myKind;
		};

		constexpr std::array<std::string_view, 5> HARM_NAMES{ "Spikes", "Hedgehog", "Boss", "Wasp", "Mushroom" };

		constexpr std::array<StageName, 16> STAGES{ {
			{ "intro", Stage::Kind::Intro },
			{ "menu", Stage::Kind::Menu },
			{ "cutscene", Stage::Kind::Cutscene },
			{ "scene", Stage::Kind::Scene },
			{ "page", Stage::Kind::Page },
			{ "paused", Stage::Kind::Paused },
			{ "ability", Stage::Kind::Ability },
			{ "near", Stage::Kind::Near },
			{ "ending", Stage::Kind::Ending },
			{ "boss-fight", Stage::Kind::BossFight },
			{ "boss-dead", Stage::Kind::BossDead },
			{ "options", Stage::Kind::Options },
			{ "volume", Stage::Kind::Volume },
			{ "dead", Stage::Kind::Dead },
			{ "fallen", Stage::Kind::Fallen },
			{ "respawned", Stage::Kind::Respawned },
		} };

		ActionMask Bit(InputAction anAction)
		{
			return ActionMask{ 1 } << static_cast<unsigned>(anAction);
		}

		// The words of one line, read left to right; every failure names the line.
		class LineReader
		{
		public:
			LineReader(std::string_view aLine, std::string aWhere) : myWhere(std::move(aWhere))
			{
				std::istringstream someWords{ std::string(aLine) };
				for (std::string someWord; someWords >> someWord;)
					myWords.push_back(someWord);
			}

			bool IsEmpty() const { return myWords.empty(); }
			bool AtEnd() const { return myNext == myWords.size(); }
			const std::string& Peek() const { return myWords[myNext]; }
			std::string Next(std::string_view aWhat)
			{
				if (AtEnd())
					Fail("expected " + std::string(aWhat) + " at the end of the line");
				return myWords[myNext++];
			}

			int Frames()
			{
				const std::string someWord = Next("a frame count");
				int someFrames = 0;
				const auto [someEnd, someError] = std::from_chars(someWord.data(), someWord.data() + someWord.size(), someFrames);
				if (someError != std::errc() || someEnd != someWord.data() + someWord.size() || someFrames < 0 || someFrames > MAX_LINE_FRAMES)
					Fail("\"" + someWord + "\" is not a frame count (0 to " + std::to_string(MAX_LINE_FRAMES) + ")");
				return someFrames;
			}

			float Number(std::string_view aWhat)
			{
				const std::string someWord = Next(aWhat);
				float someNumber = 0.0f;
				const auto [someEnd, someError] = std::from_chars(someWord.data(), someWord.data() + someWord.size(), someNumber);
				if (someError != std::errc() || someEnd != someWord.data() + someWord.size() || !std::isfinite(someNumber))
					Fail("\"" + someWord + "\" is not " + std::string(aWhat));
				return someNumber;
			}

			// The actions named up to the end of the line.
			ActionMask Actions()
			{
				ActionMask someHeld = 0;
				while (!AtEnd())
				{
					const std::string someWord = Next("an action");
					const auto someFound = std::find_if(ACTIONS.begin(), ACTIONS.end(), [&](const ActionName& anEntry) { return anEntry.myName == someWord; });
					if (someFound == ACTIONS.end())
						Fail("\"" + someWord + "\" is not an action (Up Down Left Right Jump Attack Dash Climb Pause Confirm Back)");
					someHeld |= Bit(someFound->myAction);
				}
				return someHeld;
			}

			Stage ReadStage()
			{
				const std::string someWord = Next("a stage");
				const auto someFound = std::find_if(STAGES.begin(), STAGES.end(), [&](const StageName& anEntry) { return anEntry.myName == someWord; });
				if (someFound == STAGES.end())
					Fail("\"" + someWord + "\" is not a stage (intro menu cutscene scene page paused ability near ending boss-fight boss-dead options volume dead fallen respawned)");
				Stage someStage;
				someStage.myKind = someFound->myKind;
				switch (someStage.myKind)
				{
				case Stage::Kind::Scene:
					someStage.myName = Next("a scene name");
					break;
				case Stage::Kind::Ability:
					someStage.myName = Next("an ability");
					someStage.myAbility = IndexOf(ABILITY_NAMES, someStage.myName, "an ability");
					break;
				case Stage::Kind::Dead:
					someStage.myName = Next("a harm");
					someStage.myHarm = static_cast<Stage::Harm>(IndexOf(HARM_NAMES, someStage.myName, "a harm"));
					break;
				case Stage::Kind::Volume:
					someStage.myVolume = Number("a volume");
					if (someStage.myVolume < 0.0f || someStage.myVolume > 1.0f)
						Fail("the volume must be from 0 to 1");
					break;
				case Stage::Kind::Near:
					someStage.myPoint.x = Number("an x position");
					someStage.myPoint.y = Number("a y position");
					someStage.myDistance = Number("a distance");
					if (someStage.myDistance <= 0.0f)
						Fail("the distance of \"near\" must be above 0");
					break;
				default:
					break;
				}
				return someStage;
			}

			// The place of aWord among aNames; fails listing them when it is none of them.
			template <std::size_t N>
			std::size_t IndexOf(const std::array<std::string_view, N>& aNames, const std::string& aWord, std::string_view aWhat) const
			{
				const auto someFound = std::find(aNames.begin(), aNames.end(), std::string_view(aWord));
				if (someFound != aNames.end())
					return static_cast<std::size_t>(someFound - aNames.begin());
				std::string someChoices;
				for (const std::string_view someName : aNames)
					someChoices += (someChoices.empty() ? "" : " ") + std::string(someName);
				Fail("\"" + aWord + "\" is not " + std::string(aWhat) + " (" + someChoices + ")");
			}

			[[noreturn]] void Fail(const std::string& aMessage) const { throw ScriptError(myWhere + ": " + aMessage); }

		private:
			std::vector<std::string> myWords;
			std::size_t myNext = 0;
			std::string myWhere;
		};

		Step ReadStep(LineReader& aReader)
		{
			Step someStep;
			const std::string& someFirst = aReader.Peek();
			if (someFirst == "until" || someFirst == "expect")
			{
				aReader.Next("a keyword");
				someStep.myIsWait = true;
				someStep.myStage = aReader.ReadStage();
				if (someFirst == "until")
				{
					someStep.myFrames = aReader.Frames();
					someStep.myHeld = aReader.Actions();
				}
				else if (!aReader.AtEnd())
					aReader.Fail("\"expect\" takes only its stage");
				return someStep;
			}
			someStep.myFrames = aReader.Frames();
			someStep.myHeld = aReader.Actions();
			return someStep;
		}
	}

	std::string Stage::ToText() const
	{
		const auto someFound = std::find_if(STAGES.begin(), STAGES.end(), [this](const StageName& anEntry) { return anEntry.myKind == myKind; });
		std::string someText(someFound->myName);
		if (myKind == Kind::Scene || myKind == Kind::Ability || myKind == Kind::Dead)
			someText += " " + myName;
		else if (myKind == Kind::Volume)
		{
			std::ostringstream someNumber;
			someNumber << " " << myVolume;
			someText += someNumber.str();
		}
		else if (myKind == Kind::Near)
		{
			std::ostringstream someNumbers;
			someNumbers << " " << myPoint.x << " " << myPoint.y << " " << myDistance;
			someText += someNumbers.str();
		}
		return someText;
	}

	Script ParseScript(std::string_view aText, const std::string& aName)
	{
		Script someScript{ aName, {} };
		int someLineNumber = 0;
		std::size_t someStart = 0;
		while (someStart <= aText.size())
		{
			const std::size_t someEnd = std::min(aText.find('\n', someStart), aText.size());
			std::string_view someLine = aText.substr(someStart, someEnd - someStart);
			someStart = someEnd + 1;
			++someLineNumber;
			if (const std::size_t someComment = someLine.find('#'); someComment != std::string_view::npos)
				someLine = someLine.substr(0, someComment);
			LineReader someReader(someLine, aName + ":" + std::to_string(someLineNumber));
			if (someReader.IsEmpty())
				continue;
			Step someStep = ReadStep(someReader);
			someStep.myLine = someLineNumber;
			someScript.mySteps.push_back(someStep);
		}
		return someScript;
	}

	Script LoadScript(const std::filesystem::path& aPath)
	{
		std::ifstream someFile(aPath, std::ios::binary);
		if (!someFile)
			throw ScriptError(aPath.string() + ": cannot be read");
		std::ostringstream someText;
		someText << someFile.rdbuf();
		return ParseScript(someText.str(), aPath.filename().string());
	}

	XINPUT_GAMEPAD ToPadReading(ActionMask aHeld, Norv::Vector2<float> aLeftStick)
	{
		XINPUT_GAMEPAD someReading{};
		for (const ActionName& someEntry : ACTIONS)
			if (aHeld & Bit(someEntry.myAction))
				someReading.wButtons |= someEntry.myPadButton;
		someReading.sThumbLX = static_cast<SHORT>(std::lround(std::clamp(aLeftStick.x, -1.0f, 1.0f) * 32767.0f));
		someReading.sThumbLY = static_cast<SHORT>(std::lround(std::clamp(aLeftStick.y, -1.0f, 1.0f) * 32767.0f));
		return someReading;
	}
}
