#include "Tunes.h"

#include <algorithm>
#include <array>

namespace NorvMedia
{
	namespace
	{
		constexpr std::array<int, 7> MAJOR = { 0, 2, 4, 5, 7, 9, 11 };
		constexpr std::array<int, 7> MINOR = { 0, 2, 3, 5, 7, 8, 10 };
		constexpr int BEATS_PER_BAR = 4;
		constexpr int BARS_PER_PHRASE = 4;
		constexpr float PAD_LEVEL = 0.09f;
		constexpr float BASS_LEVEL = 0.32f;
		constexpr float MELODY_LEVEL = 0.3f;

		// Rhythms of one bar, in beats.
		const std::vector<std::vector<double>> RHYTHMS = {
			{ 1, 1, 1, 1 }, { 1.5, 0.5, 1, 1 }, { 0.5, 0.5, 1, 2 }, { 2, 1, 1 }, { 1, 0.5, 0.5, 2 }, { 3, 1 }, { 1, 1, 2 },
		};

		struct Note
		{
			double myBeat;   // from the phrase's start
			double myBeats;  // length
			int myDegree;    // scale degree, may exceed one octave
		};

		int DegreeToMidi(const TuneStyle& aStyle, int aDegree, int anOctave)
		{
			const auto& someScale = aStyle.myIsMinor ? MINOR : MAJOR;
			const int someOctaves = aDegree >= 0 ? aDegree / 7 : -((6 - aDegree) / 7);
			const int someIndex = aDegree - someOctaves * 7;
			return aStyle.myTonic + 12 * (anOctave + someOctaves) + someScale[static_cast<std::size_t>(someIndex)];
		}

		// The chord tone (root, third or fifth of aChord) nearest to aDegree.
		int NearestChordTone(int aDegree, int aChord)
		{
			int someBest = aDegree;
			int someDistance = 99;
			for (int someOctave = -1; someOctave <= 2; ++someOctave)
				for (int someStep : { 0, 2, 4 })
				{
					const int someTone = aChord + someStep + 7 * someOctave;
					if (std::abs(someTone - aDegree) < someDistance)
					{
						someDistance = std::abs(someTone - aDegree);
						someBest = someTone;
					}
				}
			return someBest;
		}

		std::vector<Note> ComposePhrase(const TuneStyle& aStyle, Random& aRandom, int aFirstBar, bool anEndsOnTonic)
		{
			std::vector<Note> someNotes;
			int someDegree = 4 + aRandom.Below(3);
			for (int someBar = 0; someBar < BARS_PER_PHRASE; ++someBar)
			{
				const int someChord = aStyle.myChords[static_cast<std::size_t>(aFirstBar + someBar) % aStyle.myChords.size()];
				const auto& someRhythm = RHYTHMS[static_cast<std::size_t>(aRandom.Below(static_cast<int>(RHYTHMS.size())))];
				double someBeat = someBar * BEATS_PER_BAR;
				for (std::size_t i = 0; i < someRhythm.size(); ++i)
				{
					constexpr int STEPS[] = { -2, -1, -1, 1, 1, 2, 0, 3, -3 };
					someDegree += STEPS[aRandom.Below(9)];
					someDegree = std::clamp(someDegree, 0, 11);
					if (i == 0)
						someDegree = NearestChordTone(someDegree, someChord);
					someNotes.push_back({ someBeat, someRhythm[i], someDegree });
					someBeat += someRhythm[i];
				}
			}
			if (anEndsOnTonic)
			{
				someNotes.back().myDegree = 7;
				someNotes.back().myBeats = std::max(someNotes.back().myBeats, 2.0);
			}
			return someNotes;
		}

		void PlayMelodyNote(Buffer& aBuffer, const TuneStyle& aStyle, double aStart, double aSeconds, int aMidi, std::uint32_t aSeed)
		{
			const double someHz = MidiToHz(aMidi);
			switch (aStyle.myVoice)
			{
			case MelodyVoice::Flute: AddFlute(aBuffer, aStart, someHz, aSeconds * 0.92, MELODY_LEVEL, aSeed); break;
			case MelodyVoice::Harp: AddPluckedString(aBuffer, aStart, someHz, aSeconds + 1.2, MELODY_LEVEL * 1.4f, aSeed, 0.6f); break;
			case MelodyVoice::MusicBox: AddBell(aBuffer, aStart, someHz, 0.6, MELODY_LEVEL * 0.8f); break;
			}
		}
	}

	double TuneLength(const TuneStyle& aStyle)
	{
		return aStyle.myBarCount * BEATS_PER_BAR * 60.0 / aStyle.myBeatsPerMinute;
	}

	Buffer ComposeTune(const TuneStyle& aStyle)
	{
		const double someBeat = 60.0 / aStyle.myBeatsPerMinute;
		const double someBar = someBeat * BEATS_PER_BAR;
		Buffer someTune;
		Random someRandom(aStyle.mySeed);

		for (int someIndex = 0; someIndex < aStyle.myBarCount; ++someIndex)
		{
			const int someChord = aStyle.myChords[static_cast<std::size_t>(someIndex) % aStyle.myChords.size()];
			const double someStart = someIndex * someBar;
			for (int someStep : { 0, 2, 4 })
				AddPad(someTune, someStart, MidiToHz(DegreeToMidi(aStyle, someChord + someStep, -1)), someBar, PAD_LEVEL, aStyle.myPadCutoffHz);
			const double someRootHz = MidiToHz(DegreeToMidi(aStyle, someChord, -2));
			if (aStyle.myHasDrivingBass)
				for (int someEighth = 0; someEighth < 8; ++someEighth)
					AddBass(someTune, someStart + someEighth * someBeat * 0.5, someRootHz * (someEighth % 4 == 3 ? 1.5 : 1.0), someBeat * 0.45, BASS_LEVEL);
			else
				for (int someHalf = 0; someHalf < 2; ++someHalf)
					AddBass(someTune, someStart + someHalf * someBeat * 2.0, someRootHz * (someHalf == 1 ? 1.5 : 1.0), someBeat * 1.9, BASS_LEVEL);
			if (aStyle.myHasDrums)
				for (int someEighth = 0; someEighth < 8; ++someEighth)
				{
					const double someAt = someStart + someEighth * someBeat * 0.5;
					if (someEighth % 4 == 0)
						AddKick(someTune, someAt, 0.5f);
					AddHat(someTune, someAt, someEighth % 2 == 0 ? 0.06f : 0.12f, aStyle.mySeed * 100 + static_cast<std::uint32_t>(someIndex * 8 + someEighth));
				}
		}

		// A A B A: the B phrase answers the A phrase on the same chords.
		const std::vector<Note> someA = ComposePhrase(aStyle, someRandom, 0, true);
		const std::vector<Note> someB = ComposePhrase(aStyle, someRandom, BARS_PER_PHRASE, false);
		for (int somePhrase = 0; somePhrase * BARS_PER_PHRASE < aStyle.myBarCount; ++somePhrase)
		{
			const std::vector<Note>& someNotes = somePhrase % 4 == 2 ? someB : someA;
			const double someStart = somePhrase * BARS_PER_PHRASE * someBar;
			std::uint32_t someSeed = aStyle.mySeed * 1000 + static_cast<std::uint32_t>(somePhrase * 64);
			for (const Note& someNote : someNotes)
				PlayMelodyNote(someTune, aStyle, someStart + someNote.myBeat * someBeat, someNote.myBeats * someBeat, DegreeToMidi(aStyle, someNote.myDegree, 0), ++someSeed);
		}

		WrapIntoLoop(someTune, TuneLength(aStyle));
		return someTune;
	}
}
