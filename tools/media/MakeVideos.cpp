// Draws the two cutscenes frame by frame, scores them with our synthesiser and
// encodes them with FFmpeg (MPEG-4 video, AAC sound) under <data>/video/.
// Usage: NorvMakeVideos <data folder> <ffmpeg> <display font>
#include "FileOutput.h"
#include "Lettering.h"
#include "Mix.h"
#include "Scenery.h"
#include "Tunes.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

using namespace NorvMedia;

namespace
{
	constexpr int FRAME_WIDTH = 640;
	constexpr int FRAME_HEIGHT = 360;
	constexpr int FRAMES_PER_SECOND = 24;
	constexpr int BACKDROP_WIDTH = FRAME_WIDTH * 2; // room for the camera to pan
	constexpr float GROUND = 0.8f;                  // ground line, fraction of the height
	constexpr double MUSIC_FADE_SECONDS = 1.5;
	constexpr int CAPTION_SIZE = 30;
	constexpr float CAPTION_Y = 0.12f;              // caption line, fraction of the height
	// The opening title, shown with the first caption: a clear band of sky below the
	// caption and above the hero's head.
	constexpr int TITLE_SIZE = 96;
	constexpr float TITLE_Y = 0.36f;

	struct Backdrops
	{
		Canvas myDay{ BACKDROP_WIDTH, FRAME_HEIGHT };
		Canvas myDusk{ BACKDROP_WIDTH, FRAME_HEIGHT };
		Canvas myMist{ BACKDROP_WIDTH, FRAME_HEIGHT };
	};

	struct Caption
	{
		double myStart;
		double myEnd;
		const char* myText;
	};

	float Ramp(double aTime, double aStart, double anEnd) { return static_cast<float>(std::clamp((aTime - aStart) / (anEnd - aStart), 0.0, 1.0)); }

	// 0 outside the caption's time, fading in and out over half a second.
	float CaptionAlpha(const Caption& aCaption, double aTime)
	{
		return std::min(Ramp(aTime, aCaption.myStart, aCaption.myStart + 0.5), 1.0f - Ramp(aTime, aCaption.myEnd - 0.5, aCaption.myEnd));
	}

	void DrawCaptions(Canvas& aFrame, Lettering& aLettering, const std::vector<Caption>& aCaptions, double aTime)
	{
		for (const Caption& someCaption : aCaptions)
		{
			const float someAlpha = CaptionAlpha(someCaption, aTime);
			// Long lines shrink to fit the frame's width.
			int someSize = CAPTION_SIZE;
			while (someSize > 12 && aLettering.Measure(someCaption.myText, someSize) > FRAME_WIDTH * 0.92f)
				--someSize;
			if (someAlpha > 0.0f)
				aLettering.Paint(aFrame, someCaption.myText, someSize, FRAME_WIDTH * 0.5f, FRAME_HEIGHT * CAPTION_Y,
					{ Hex(0xF6E7C8, someAlpha), Hex(0x3A2618, someAlpha), 3.0f, Hex(0x000000, 0.3f * someAlpha), 2.0f });
		}
	}

	void DrawBackdrop(Canvas& aFrame, const Canvas& aBackdrop, float aScroll, float anOpacity = 1.0f)
	{
		aFrame.Draw(aBackdrop, -static_cast<int>(std::lround(aScroll)), 0, anOpacity);
	}

	void FadeToBlack(Canvas& aFrame, float anAmount)
	{
		if (anAmount > 0.0f)
			aFrame.Fill(0.0f, 0.0f, FRAME_WIDTH, FRAME_HEIGHT, 1.0f, [](float, float) { return -1.0f; }, [&](float, float) { return Hex(0x000000, anAmount); });
	}

	void DrawButterfly(Canvas& aFrame, float x, float y, double aTime)
	{
		const float someFlap = 0.4f + 0.6f * static_cast<float>(std::abs(std::sin(aTime * 12.0)));
		aFrame.FillEllipse(x - 5.0f * someFlap, y, 6.0f * someFlap, 4.0f, 0.4f, Hex(0xF7C948));
		aFrame.FillEllipse(x + 5.0f * someFlap, y, 6.0f * someFlap, 4.0f, -0.4f, Hex(0xF7C948));
		aFrame.FillCapsule(x, y - 3.0f, x, y + 3.0f, 1.0f, Palette::INK);
	}

	const float GROUND_Y = FRAME_HEIGHT * GROUND;

	// The start: a bright forest, the great hedgehog rolls through and the flowers
	// close; the hero sets out.
	void DrawFirst(Canvas& aFrame, const Backdrops& aBackdrops, Lettering& aLettering, double t)
	{
		const float someScroll = 200.0f * Ramp(t, 10.0, 16.0);
		DrawBackdrop(aFrame, aBackdrops.myDay, someScroll);
		DrawBackdrop(aFrame, aBackdrops.myDusk, someScroll, 0.85f * Ramp(t, 5.0, 8.0));
		const float someOpen = 1.0f - Ramp(t, 7.0, 9.0);
		for (int i = 0; i < 5; ++i)
			PaintStemFlower(aFrame, 120.0f + 95.0f * i - someScroll, GROUND_Y + 6.0f, 46.0f + 6.0f * (i % 2), someOpen, i % 2 ? Palette::PETAL_PINK : Palette::PETAL_RED);
		// The hedgehog rolls in from the right and out on the left.
		if (t > 5.0 && t < 9.5)
		{
			const float x = FRAME_WIDTH + 80.0f - static_cast<float>((t - 5.0) / 4.5) * (FRAME_WIDTH + 200.0f);
			PaintHedgehog(aFrame, x, GROUND_Y + 4.0f, 110.0f, true);
		}
		const float someWalk = Ramp(t, 10.0, 16.0);
		const float someHeroX = 230.0f + 300.0f * someWalk;
		PaintHero(aFrame, someHeroX - someScroll * 0.4f, GROUND_Y + 6.0f, 90.0f, someWalk > 0.0f ? static_cast<float>(t * 1.6) : 0.0f, 1.0f);
		if (t < 4.5)
			aLettering.Paint(aFrame, "Norv", TITLE_SIZE, FRAME_WIDTH * 0.5f, FRAME_HEIGHT * TITLE_Y,
				{ Hex(0xF6E7C8, CaptionAlpha({ 0.3, 4.5, "" }, t)), Hex(0x3A2618, CaptionAlpha({ 0.3, 4.5, "" }, t)), 6.0f, Hex(0, 0.0f), 0.0f });
		DrawCaptions(aFrame, aLettering, {
			{ 1.0, 5.0, "In a little forest, the flowers kept everyone alive." },
			{ 5.5, 10.0, "One day the great hedgehog stole their petals." },
			{ 10.5, 15.5, "So Norv set out to bring them back." },
		}, t);
		FadeToBlack(aFrame, std::max(1.0f - Ramp(t, 0.0, 0.8), Ramp(t, 15.2, 16.0)));
	}

	// The end: the hedgehog is beaten, the mist lifts and the flowers open again.
	void DrawLast(Canvas& aFrame, const Backdrops& aBackdrops, Lettering& aLettering, double t)
	{
		DrawBackdrop(aFrame, aBackdrops.myMist, 0.0f);
		DrawBackdrop(aFrame, aBackdrops.myDay, 0.0f, Ramp(t, 6.0, 10.0));
		if (t < 6.0)
		{
			// Beaten, the hedgehog sinks and fades away.
			const float someGone = Ramp(t, 2.5, 5.5);
			Canvas someHedgehog(200, 200);
			PaintHedgehog(someHedgehog, 100.0f, 190.0f, 140.0f * (1.0f - 0.3f * someGone), false);
			aFrame.Draw(someHedgehog, 400, static_cast<int>(GROUND_Y) - 186, 1.0f - someGone);
		}
		for (int i = 0; i < 6; ++i)
		{
			const float someOpen = Ramp(t, 6.5 + 0.6 * i, 7.5 + 0.6 * i);
			PaintStemFlower(aFrame, 60.0f + 105.0f * i, GROUND_Y + 6.0f, 40.0f + 10.0f * someOpen + 4.0f * (i % 3), someOpen, i % 2 ? Palette::PETAL_PINK : Palette::CREAM);
		}
		const float someHeroX = 200.0f + 80.0f * Ramp(t, 12.0, 15.0);
		PaintHero(aFrame, someHeroX, GROUND_Y + 6.0f, 90.0f, static_cast<float>(t * 1.6) * (t > 12.0 && t < 15.0 ? 1.0f : 0.0f), 1.0f);
		if (t > 10.0)
			for (int i = 0; i < 3; ++i)
				DrawButterfly(aFrame, 150.0f + 160.0f * i + 40.0f * static_cast<float>(std::sin(t * 0.9 + i)), 150.0f + 30.0f * static_cast<float>(std::sin(t * 1.7 + i * 2.0)), t + i);
		DrawCaptions(aFrame, aLettering, {
			{ 0.8, 5.8, "The great hedgehog was beaten at last..." },
			{ 6.5, 11.5, "...and the petals came home to the forest." },
			{ 16.0, 19.5, "Thank you for playing!" },
		}, t);
		if (t > 12.0 && t < 16.0)
		{
			const float someAlpha = CaptionAlpha({ 12.0, 16.0, "" }, t);
			aLettering.Paint(aFrame, "The End", 80, FRAME_WIDTH * 0.5f, FRAME_HEIGHT * 0.3f, { Hex(0xF6E7C8, someAlpha), Hex(0x3A2618, someAlpha), 5.0f, Hex(0, 0.3f * someAlpha), 3.0f });
		}
		FadeToBlack(aFrame, std::max(1.0f - Ramp(t, 0.0, 0.8), Ramp(t, 19.2, 20.0)));
	}

	Buffer Score(const std::string& aName, const TuneStyle& aStyle, double aLength, const std::vector<double>& aChimes)
	{
		Buffer someTune = ComposeTune(aStyle);
		for (double someAt : aChimes)
			AddBell(someTune, someAt, MidiToHz(84), 0.4, 0.25f);
		someTune.resize(static_cast<std::size_t>(ToSamples(aLength)), 0.0f);
		const std::size_t someFade = static_cast<std::size_t>(ToSamples(MUSIC_FADE_SECONDS));
		for (std::size_t i = 0; i < someFade && i < someTune.size(); ++i)
			someTune[someTune.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(someFade);
		FadeEnds(someTune);
		MixToTarget(someTune, SoundKind::Cutscene, aName);
		return someTune;
	}

	// The same samples on both sides: a player turns a mono track into stereo 3 dB
	// down, while the game's own mono sounds play at full level on each side.
	Buffer DualMono(const Buffer& aSound)
	{
		Buffer someStereo;
		someStereo.reserve(aSound.size() * 2);
		for (float someSample : aSound)
			someStereo.insert(someStereo.end(), { someSample, someSample });
		return someStereo;
	}

	std::string Quoted(const std::string& aText)
	{
		std::string someQuoted = "'";
		for (char c : aText)
			someQuoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
		return someQuoted + "'";
	}

	void Encode(const std::filesystem::path& anOutput, const std::string& anFfmpeg, double aLength, const Buffer& aSound, const std::function<void(Canvas&, double)>& aDraw)
	{
		std::filesystem::create_directories(anOutput.parent_path());
		const std::filesystem::path someSoundPath = anOutput.string() + ".sound" + std::to_string(getpid()) + ".wav";
		const std::filesystem::path someVideoPath = anOutput.string() + ".tmp" + std::to_string(getpid());
		WriteFileAtomically(someSoundPath, EncodeWav(DualMono(aSound), SOUND_RATE, 2));
		// Single-threaded and bit-exact, so that every run writes the same bytes. The
		// finest quantiser keeps the painted foliage and skies free of blocks (about
		// 5 MB for 16 seconds).
		const std::string someCommand = Quoted(anFfmpeg) + " -v error -y -f rawvideo -pix_fmt rgb24 -s " + std::to_string(FRAME_WIDTH) + "x" + std::to_string(FRAME_HEIGHT) +
			" -r " + std::to_string(FRAMES_PER_SECOND) + " -i - -i " + Quoted(someSoundPath.string()) +
			" -map 0:v -map 1:a -c:v mpeg4 -qmin 1 -q:v 1 -pix_fmt yuv420p -c:a aac -b:a 96k -threads 1 -shortest"
			" -fflags +bitexact -flags:v +bitexact+mv4+aic -flags:a +bitexact -map_metadata -1 -f mp4 " + Quoted(someVideoPath.string());
		FILE* somePipe = popen(someCommand.c_str(), "w");
		if (!somePipe)
			throw std::runtime_error("cannot start " + anFfmpeg);
		const int someFrames = static_cast<int>(std::lround(aLength * FRAMES_PER_SECOND));
		std::vector<std::uint8_t> someRgb(static_cast<std::size_t>(FRAME_WIDTH) * FRAME_HEIGHT * 3);
		for (int i = 0; i < someFrames; ++i)
		{
			Canvas someFrame(FRAME_WIDTH, FRAME_HEIGHT, Hex(0x000000));
			aDraw(someFrame, static_cast<double>(i) / FRAMES_PER_SECOND);
			const std::vector<std::uint8_t> someRgba = someFrame.ToRgba8();
			for (std::size_t p = 0; p < someRgb.size() / 3; ++p)
			{
				someRgb[p * 3] = someRgba[p * 4];
				someRgb[p * 3 + 1] = someRgba[p * 4 + 1];
				someRgb[p * 3 + 2] = someRgba[p * 4 + 2];
			}
			std::fwrite(someRgb.data(), 1, someRgb.size(), somePipe);
		}
		const int someStatus = pclose(somePipe);
		std::filesystem::remove(someSoundPath);
		if (someStatus != 0)
			throw std::runtime_error("ffmpeg could not encode " + anOutput.string());
		std::filesystem::rename(someVideoPath, anOutput);
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 4)
	{
		std::fprintf(stderr, "usage: NorvMakeVideos <data folder> <ffmpeg> <display font>\n");
		return 2;
	}
	try
	{
		const std::filesystem::path someFolder = anArguments[1];
		const std::string someFfmpeg = anArguments[2];
		Lettering someLettering(anArguments[3]);
		Backdrops someBackdrops;
		PaintBackdrop(someBackdrops.myDay, Mood::Day, 101, GROUND);
		PaintBackdrop(someBackdrops.myDusk, Mood::Dusk, 101, GROUND);
		PaintBackdrop(someBackdrops.myMist, Mood::Mist, 102, GROUND);

		constexpr double FIRST_LENGTH = 16.0;
		const TuneStyle someFirstTune = { 62, false, 120.0, { 0, 5, 3, 4 }, 8, MelodyVoice::Harp, false, false, 1200.0, 201 };
		Encode(someFolder / "video/first_cutscene.mp4", someFfmpeg, FIRST_LENGTH, Score("the opening cutscene's score", someFirstTune, FIRST_LENGTH, {}),
			[&](Canvas& aFrame, double t) { DrawFirst(aFrame, someBackdrops, someLettering, t); });

		constexpr double LAST_LENGTH = 20.0;
		const TuneStyle someLastTune = { 65, false, 96.0, { 0, 3, 5, 4 }, 8, MelodyVoice::MusicBox, false, false, 1000.0, 202 };
		std::vector<double> someChimes;
		for (int i = 0; i < 6; ++i)
			someChimes.push_back(6.5 + 0.6 * i);
		Encode(someFolder / "video/last_cutscene_long_version.mp4", someFfmpeg, LAST_LENGTH, Score("the closing cutscene's score", someLastTune, LAST_LENGTH, someChimes),
			[&](Canvas& aFrame, double t) { DrawLast(aFrame, someBackdrops, someLettering, t); });
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvMakeVideos: %s\n", anError.what());
		return 1;
	}
	return 0;
}
