// Paints the interface pictures of the shell and the head-up display, laid out for
// the 2560 x 1440 reference window. Usage:
// NorvMakeUiArt <data folder> <display font> <blackletter font>
#include "Lettering.h"
#include "Scenery.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

using namespace NorvMedia;

namespace
{
	constexpr int REFERENCE_WIDTH = 2560;
	constexpr int REFERENCE_HEIGHT = 1440;
	constexpr int STRETCHED_WIDTH = 1920; // pictures stretched to the window anyway
	constexpr int STRETCHED_HEIGHT = 1080;
	constexpr int PETAL_SIZE = 72;
	constexpr int SLIDER_WIDTH = 320; // the sound icon starts 216 pixels right of the bar's centre
	constexpr int BUD_SIZE = 64;
	constexpr int INDICATOR_SIZE = 48;
	constexpr int KNOB_SIZE = 44;
	constexpr int ICON_SIZE = 80;
	constexpr float PETAL_HEART_RADIUS = 11.0f; // pixels around the bud's centre that no petal covers

	struct Fonts
	{
		Lettering myDisplay;
		Lettering myBlackletter;
	};

	const TextStyle TITLE_STYLE = { Palette::CREAM, Palette::INK, 18.0f, Hex(0x000000, 0.4f), 12.0f };
	const TextStyle SIGN_STYLE = { Palette::CREAM, Hex(0x5A3A22), 6.0f, Hex(0x000000, 0.35f), 5.0f };

	void MainMenu(const std::filesystem::path& aFolder, Fonts& aFonts)
	{
		Canvas someCanvas(REFERENCE_WIDTH, REFERENCE_HEIGHT);
		PaintBackdrop(someCanvas, Mood::Day, 7, 0.8f);
		// The buttons stand at 63.5 % of the width, from 30 % to 70 % of the height.
		PaintBoard(someCanvas, REFERENCE_WIDTH * 0.635f, REFERENCE_HEIGHT * 0.5f, 310.0f, 390.0f, 8, true);
		for (float someX : { 0.56f, 0.71f })
			someCanvas.FillCapsule(REFERENCE_WIDTH * someX, REFERENCE_HEIGHT * 0.5f + 380.0f, REFERENCE_WIDTH * someX, REFERENCE_HEIGHT * 0.8f + 30.0f, 16.0f, Palette::DARK_BARK);
		PaintStemFlower(someCanvas, REFERENCE_WIDTH * 0.635f - 300.0f, REFERENCE_HEIGHT * 0.5f - 330.0f, 90.0f, 1.0f, Palette::PETAL_PINK);
		PaintStemFlower(someCanvas, REFERENCE_WIDTH * 0.635f + 280.0f, REFERENCE_HEIGHT * 0.5f - 340.0f, 70.0f, 1.0f, Palette::CREAM);
		aFonts.myDisplay.Paint(someCanvas, "Norv", 360, REFERENCE_WIDTH * 0.27f, REFERENCE_HEIGHT * 0.3f, TITLE_STYLE);
		aFonts.myBlackletter.Paint(someCanvas, "a little forest tale", 90, REFERENCE_WIDTH * 0.27f, REFERENCE_HEIGHT * 0.47f, SIGN_STYLE);
		PaintHero(someCanvas, REFERENCE_WIDTH * 0.27f, REFERENCE_HEIGHT * 0.84f, 300.0f, 0.0f, 1.0f);
		someCanvas.Vignette(0.35f);
		someCanvas.WritePng(aFolder / "UI/Main_menu.png");
	}

	void Credits(const std::filesystem::path& aFolder, Fonts& aFonts)
	{
		Canvas someCanvas(REFERENCE_WIDTH, REFERENCE_HEIGHT);
		PaintBackdrop(someCanvas, Mood::Dusk, 9, 0.86f);
		const float cx = REFERENCE_WIDTH * 0.5f;
		// Parchment.
		someCanvas.FillBox(cx + 8.0f, 640.0f + 14.0f, 760.0f, 520.0f, 60.0f, Hex(0x000000, 0.35f), 20.0f);
		someCanvas.Fill(cx - 760.0f, 120.0f, cx + 760.0f, 1160.0f, 2.0f, [&](float x, float y) { return BoxDistance(x, y, cx, 640.0f, 760.0f, 520.0f, 60.0f); },
			[&](float x, float y) { return Shade(Palette::CREAM, 0.9f + 0.15f * Fbm(x / 300.0f, y / 300.0f, 3)); });
		const TextStyle someHeading = { Hex(0x6B3A22), Hex(0xF6E7C8, 0.0f), 0.0f, Hex(0x000000, 0.15f), 4.0f };
		const TextStyle someBody = { Palette::INK, Hex(0, 0.0f), 0.0f, Hex(0, 0.0f), 0.0f };
		aFonts.myDisplay.Paint(someCanvas, "Norv", 200, cx, 260.0f, { Palette::PETAL_RED, Palette::INK, 8.0f, Hex(0, 0.3f), 8.0f });
		const char* someLines[][2] = {
			{ "Made by", "the Norv team" },
			{ "Code, pictures, sound and music", "made with our own tools" },
			{ "Fonts", "Cherry Bomb and Blankenburg" },
			{ "Thank you for playing", "" },
		};
		float y = 470.0f;
		for (const auto& someLine : someLines)
		{
			aFonts.myDisplay.Paint(someCanvas, someLine[0], 64, cx, y, someHeading);
			if (someLine[1][0] != '\0')
				aFonts.myBlackletter.Paint(someCanvas, someLine[1], 72, cx, y + 85.0f, someBody);
			y += 185.0f;
		}
		for (int i = 0; i < 6; ++i)
			someCanvas.FillFlower(cx - 700.0f + 280.0f * i, 1120.0f, 34.0f, 0.5f * i, i % 2 ? Palette::PETAL_PINK : Palette::PETAL_RED, Palette::SUN_YELLOW);
		someCanvas.WritePng(aFolder / "UI/Credits.png");
	}

	void PauseMenu(const std::filesystem::path& aFolder)
	{
		// Over the game: a dimmed frame and a board behind the buttons (40 % to 58 % of the height).
		Canvas someCanvas(REFERENCE_WIDTH, REFERENCE_HEIGHT, Hex(0x1A140E, 0.45f));
		const float cx = REFERENCE_WIDTH * 0.5f;
		const float cy = REFERENCE_HEIGHT * 0.5f;
		PaintBoard(someCanvas, cx, cy, 500.0f, 290.0f, 21, true);
		for (int i = 0; i < 9; ++i)
		{
			// A garland of leaves along the top edge, with flowers at both ends.
			const float x = cx - 440.0f + 110.0f * i;
			someCanvas.FillLeaf(x, cy - 290.0f, x + 70.0f, cy - 330.0f + 20.0f * (i % 2), 34.0f, i % 2 ? Palette::LEAF : Palette::MOSS);
		}
		someCanvas.FillFlower(cx - 480.0f, cy - 280.0f, 60.0f, 0.2f, Palette::PETAL_PINK, Palette::SUN_YELLOW);
		someCanvas.FillFlower(cx + 480.0f, cy - 280.0f, 48.0f, 0.9f, Palette::CREAM, Palette::SUN_YELLOW);
		someCanvas.WritePng(aFolder / "UI/Pause_Menu.png");
	}

	void Button(const std::filesystem::path& aFolder)
	{
		Canvas someCanvas(440, 140);
		PaintBoard(someCanvas, 220.0f, 66.0f, 200.0f, 52.0f, 31, true);
		someCanvas.FillLeaf(30.0f, 30.0f, 4.0f, 6.0f, 18.0f, Palette::LEAF);
		someCanvas.FillLeaf(410.0f, 100.0f, 436.0f, 124.0f, 18.0f, Palette::LEAF);
		someCanvas.WritePng(aFolder / "UI/Button.png");
	}

	void Indicator(const std::filesystem::path& aFolder)
	{
		// Points right, at the widget beside it: a curved stem with one leaf below,
		// and a flower head turned to the right. The right indicator is its mirror.
		// The menu shows it at 1.3 times this size: small enough that, framing one row
		// of the options menu, it stays clear of the rows above and below.
		constexpr float K = INDICATOR_SIZE / 96.0f; // drawn on a 96-pixel design grid
		Canvas someCanvas(INDICATOR_SIZE, INDICATOR_SIZE);
		someCanvas.FillCapsule(8.0f * K, 88.0f * K, 30.0f * K, 62.0f * K, 4.0f * K, Palette::DARK_LEAF);
		someCanvas.FillCapsule(30.0f * K, 62.0f * K, 40.0f * K, 48.0f * K, 4.0f * K, Palette::DARK_LEAF);
		someCanvas.FillLeaf(22.0f * K, 72.0f * K, 2.0f * K, 58.0f * K, 15.0f * K, Palette::LEAF);
		for (int i = 0; i < 5; ++i)
		{
			const float a = -1.2f + 0.6f * i; // a fan of petals opening to the right
			someCanvas.FillLeaf(44.0f * K, 42.0f * K, (44.0f + std::cos(a) * 24.0f) * K, (42.0f + std::sin(a) * 24.0f) * K, 14.0f * K, i == 2 ? Palette::PETAL_RED : Palette::PETAL_PINK);
		}
		someCanvas.FillCircle(44.0f * K, 42.0f * K, 8.0f * K, Palette::SUN_YELLOW);
		someCanvas.FillCircle(42.0f * K, 40.0f * K, 3.0f * K, Hex(0xFFF3B0));
		someCanvas.WritePng(aFolder / "UI/Indicator_Flower.png");
	}

	void Slider(const std::filesystem::path& aFolder)
	{
		// The options menu centres the bar at half the width and its sound icon at 60 % of
		// it: the bar, and the knob at its right end, stay clear of the icon. Bar and knob
		// keep within the 43 pixels between the slider's row and the "Mute" row below it.
		const float someHalf = SLIDER_WIDTH * 0.5f;
		Canvas someBar(SLIDER_WIDTH, 32);
		someBar.FillBox(someHalf, 17.0f, someHalf - 10.0f, 11.0f, 11.0f, Hex(0x000000, 0.3f), 3.0f);
		someBar.FillBox(someHalf, 16.0f, someHalf - 10.0f, 11.0f, 11.0f, Palette::DARK_BARK, 1.0f);
		someBar.Fill(14.0f, 8.0f, SLIDER_WIDTH - 14.0f, 24.0f, 1.0f, [&](float x, float y) { return BoxDistance(x, y, someHalf, 16.0f, someHalf - 17.0f, 6.0f, 6.0f); },
			[](float x, float) { return Mix(Hex(0x6FA255), Palette::SUN_YELLOW, x / SLIDER_WIDTH); });
		const float someTickSpacing = (SLIDER_WIDTH - 40.0f) / 10.0f;
		for (int i = 1; i < 10; ++i)
			someBar.FillBox(20.0f + someTickSpacing * i, 16.0f, 1.5f, 5.0f, 1.0f, Hex(0x3A2618, 0.5f));
		someBar.WritePng(aFolder / "UI/Volume_Bar.png");

		Canvas someKnob(KNOB_SIZE, KNOB_SIZE);
		const float k = KNOB_SIZE * 0.5f;
		someKnob.FillCircle(k + 1.0f, k + 2.0f, k * 0.8f, Hex(0x000000, 0.3f), 3.0f);
		someKnob.FillFlower(k, k, k * 0.92f, -0.3f, Palette::CREAM, Palette::SUN_YELLOW);
		someKnob.FillCircle(k, k, k * 0.22f, Palette::PETAL_RED);
		someKnob.WritePng(aFolder / "UI/Icon_Bar.png");
	}

	void SoundIcons(const std::filesystem::path& aFolder)
	{
		// Drawn on a 96-pixel design grid at ICON_SIZE: beside the slider's right end, clear
		// of the flower that frames the selected slider.
		constexpr float K = ICON_SIZE / 96.0f;
		for (bool someIsOn : { true, false })
		{
			Canvas someCanvas(ICON_SIZE, ICON_SIZE);
			someCanvas.FillCircle(48.0f * K, 50.0f * K, 44.0f * K, Hex(0x000000, 0.25f), 4.0f * K);
			someCanvas.FillCircle(48.0f * K, 48.0f * K, 44.0f * K, Palette::DARK_BARK);
			someCanvas.FillCircle(48.0f * K, 48.0f * K, 39.0f * K, Palette::WOOD);
			// The speaker: a box and a cone.
			someCanvas.FillBox(28.0f * K, 48.0f * K, 8.0f * K, 10.0f * K, 2.0f * K, Palette::CREAM);
			someCanvas.Fill(26.0f * K, 24.0f * K, 50.0f * K, 72.0f * K, 1.0f,
				[](float x, float y) { return K * std::max({ 30.0f - x / K, x / K - 48.0f, std::abs(y / K - 48.0f) - (10.0f + (x / K - 30.0f) * 0.8f) }); },
				[](float, float) { return Palette::CREAM; });
			if (someIsOn)
				for (float someRadius : { 12.0f, 22.0f })
					someCanvas.Fill(48.0f * K, 20.0f * K, 80.0f * K, 76.0f * K, 1.0f,
						[&](float x, float y) {
							const float u = x / K, v = y / K;
							return K * std::max(std::abs(std::hypot(u - 46.0f, v - 48.0f) - someRadius) - 2.5f, 48.0f - u + std::abs(v - 48.0f) * 0.2f);
						},
						[](float, float) { return Palette::CREAM; });
			else
			{
				someCanvas.FillCapsule(56.0f * K, 38.0f * K, 74.0f * K, 58.0f * K, 3.5f * K, Palette::PETAL_RED);
				someCanvas.FillCapsule(56.0f * K, 58.0f * K, 74.0f * K, 38.0f * K, 3.5f * K, Palette::PETAL_RED);
			}
			someCanvas.WritePng(aFolder / (someIsOn ? "UI/SoundOn_V2.png" : "UI/SoundOff_V2.png"));
		}
	}

	void Loading(const std::filesystem::path& aFolder, Fonts& aFonts)
	{
		Canvas somePicture(STRETCHED_WIDTH, STRETCHED_HEIGHT);
		PaintBackdrop(somePicture, Mood::Dusk, 11, 0.62f);
		// A campfire on the left with the hero resting beside it; the lower part
		// is darkened for the caption and the tip.
		somePicture.FillCircle(520.0f, 640.0f, 260.0f, Hex(0xFFB050, 0.35f), 200.0f);
		for (int i = 0; i < 3; ++i)
			somePicture.FillCapsule(460.0f + 40.0f * i, 690.0f, 540.0f - 30.0f * i, 650.0f, 10.0f, Palette::DARK_BARK);
		somePicture.FillLeaf(500.0f, 680.0f, 505.0f, 560.0f, 60.0f, Hex(0xF07A2A));
		somePicture.FillLeaf(505.0f, 675.0f, 510.0f, 600.0f, 32.0f, Palette::SUN_YELLOW);
		PaintHero(somePicture, 700.0f, 690.0f, 150.0f, 0.0f, -1.0f);
		somePicture.Fill(0.0f, STRETCHED_HEIGHT * 0.6f, STRETCHED_WIDTH, STRETCHED_HEIGHT, 1.0f, [](float, float) { return -1.0f; },
			[](float, float y) { return Hex(0x140E0A, std::clamp((y / STRETCHED_HEIGHT - 0.62f) * 2.2f, 0.0f, 0.8f)); });
		somePicture.Vignette(0.4f);
		somePicture.WritePng(aFolder / "UI/LoadingScreen_Picture.png");

		Canvas someCaption(720, 180);
		aFonts.myDisplay.Paint(someCaption, "Loading...", 110, 360.0f, 90.0f, SIGN_STYLE);
		someCaption.WritePng(aFolder / "UI/Loading_Screen_Text.png");
	}

	void AreaTitles(const std::filesystem::path& aFolder, Fonts& aFonts)
	{
		const std::pair<const char*, const char*> someTitles[] = {
			{ "UI/Tutorial_Text.png", "Tutorial" }, { "UI/Cave_Text.png", "Cave" }, { "UI/Forest_Text.png", "Forest" }, { "UI/Dungeon_Text.png", "Dungeon" },
		};
		for (const auto& [somePath, someText] : someTitles)
		{
			Canvas someCanvas(420, 150);
			PaintBoard(someCanvas, 210.0f, 72.0f, 195.0f, 58.0f, 41, false);
			aFonts.myDisplay.Paint(someCanvas, someText, 70, 210.0f, 72.0f, SIGN_STYLE);
			someCanvas.WritePng(aFolder / somePath);
		}
	}

	void Intro(const std::filesystem::path& aFolder, Fonts& aFonts)
	{
		Canvas someSplash(STRETCHED_WIDTH, STRETCHED_HEIGHT);
		PaintBackdrop(someSplash, Mood::Day, 13, 0.8f);
		aFonts.myDisplay.Paint(someSplash, "Norv", 300, STRETCHED_WIDTH * 0.5f, STRETCHED_HEIGHT * 0.35f, TITLE_STYLE);
		PaintHero(someSplash, STRETCHED_WIDTH * 0.5f, STRETCHED_HEIGHT * 0.84f, 220.0f, 0.0f, 1.0f);
		someSplash.Vignette(0.3f);
		someSplash.WritePng(aFolder / "UI/norv-splash.png");

		// The studio's mark: a round leaf emblem above the name, on transparent ground.
		Canvas someStudio(1100, 620);
		someStudio.FillCircle(550.0f, 230.0f, 190.0f, Palette::DARK_LEAF);
		someStudio.FillCircle(550.0f, 230.0f, 170.0f, Palette::CREAM);
		someStudio.FillLeaf(470.0f, 330.0f, 640.0f, 110.0f, 140.0f, Palette::LEAF);
		someStudio.FillCapsule(470.0f, 330.0f, 600.0f, 160.0f, 4.0f, Palette::DARK_LEAF);
		aFonts.myBlackletter.Paint(someStudio, "Norv Team", 120, 550.0f, 530.0f, { Palette::CREAM, Palette::DARK_LEAF, 6.0f, Hex(0, 0.0f), 0.0f });
		someStudio.WritePng(aFolder / "Logos/Studio_Logo_V2.png");

		// The game's logo in light colours for a dark ground; drawn at a third of its size.
		constexpr float SCALE = 3.0f;
		Canvas someLogo(static_cast<int>(900 * SCALE), static_cast<int>(420 * SCALE));
		aFonts.myDisplay.Paint(someLogo, "Norv", static_cast<int>(260 * SCALE), 450.0f * SCALE, 190.0f * SCALE, { Palette::CREAM, Hex(0x6FA255), 10.0f * SCALE, Hex(0x000000, 0.0f), 0.0f });
		someLogo.FillFlower(700.0f * SCALE, 70.0f * SCALE, 60.0f * SCALE, 0.4f, Palette::PETAL_PINK, Palette::SUN_YELLOW);
		someLogo.FillLeaf(640.0f * SCALE, 95.0f * SCALE, 590.0f * SCALE, 40.0f * SCALE, 30.0f * SCALE, Palette::MOSS);
		aFonts.myBlackletter.Paint(someLogo, "a little forest tale", static_cast<int>(60 * SCALE), 450.0f * SCALE, 365.0f * SCALE, { Palette::CREAM, Hex(0, 0.0f), 0.0f, Hex(0, 0.0f), 0.0f });
		someLogo.WritePng(aFolder / "Logos/NORV LOGO EXP/LOGO_Invert.png");
	}

	void HeadUpDisplay(const std::filesystem::path& aFolder)
	{
		// Each petal is drawn around the bud at a fixed offset (the player's DrawHud);
		// it points away from the bud's centre along that offset.
		const float p = static_cast<float>(PETAL_SIZE);
		const std::pair<int, std::pair<float, float>> somePetals[] = {
			{ 5, { 0.0f, p * 0.5f } }, { 1, { -10.0f + p * 0.5f, -10.0f + p * 0.5f } }, { 3, { -p * 0.5f, 10.0f - p * 0.5f } },
			{ 2, { -20.0f + p * 0.5f, 15.0f - p * 0.5f } }, { 4, { -p * 0.5f, -10.0f + p * 0.5f } },
		};
		for (const auto& [someIndex, someOffset] : somePetals)
		{
			Canvas someCanvas(PETAL_SIZE, PETAL_SIZE);
			// Offsets are y up; pictures are y down.
			const float someLength = std::hypot(someOffset.first, someOffset.second);
			const float dx = someOffset.first / someLength;
			const float dy = -someOffset.second / someLength;
			const float c = p * 0.5f;
			const float someBudX = c - dx * someLength;
			const float someBudY = c - dy * someLength;
			// The petal grows from the bud's golden heart, starting where its line
			// enters the picture so that no edge of the picture cuts it.
			constexpr float MARGIN = 3.0f;
			float someStart = PETAL_HEART_RADIUS;
			const auto isInside = [&](float t) {
				const float x = someBudX + dx * t;
				const float y = someBudY + dy * t;
				return x >= MARGIN && y >= MARGIN && x <= p - MARGIN && y <= p - MARGIN;
			};
			while (!isInside(someStart))
				someStart += 0.5f;
			const float someTip = someLength + p * 0.45f;
			const float ax = someBudX + dx * someStart;
			const float ay = someBudY + dy * someStart;
			const float bx = someBudX + dx * someTip;
			const float by = someBudY + dy * someTip;
			const float someWidth = std::min(p * 0.5f, (someTip - someStart) * 0.62f);
			someCanvas.FillLeaf(ax, ay, bx, by, someWidth, someIndex % 2 ? Palette::PETAL_PINK : Hex(0xF5A0B8));
			someCanvas.FillLeaf(ax + dx * 6.0f, ay + dy * 6.0f, ax + (bx - ax) * 0.7f, ay + (by - ay) * 0.7f, someWidth * 0.25f, Hex(0xFFD0DC, 0.7f));
			someCanvas.WritePng(aFolder / ("UI/Petal_" + std::to_string(someIndex) + ".png"));
		}
		Canvas someBud(BUD_SIZE, BUD_SIZE);
		const float b = BUD_SIZE * 0.5f;
		for (int i = 0; i < 5; ++i)
		{
			const float a = 0.6f + 1.2566f * i;
			someBud.FillLeaf(b, b, b + std::cos(a) * b * 0.95f, b + std::sin(a) * b * 0.95f, b * 0.45f, Palette::LEAF);
		}
		someBud.FillCircle(b, b, b * 0.42f, Hex(0xE8A23A));
		someBud.FillCircle(b, b, b * 0.32f, Palette::SUN_YELLOW);
		someBud.FillCircle(b - 4.0f, b - 4.0f, b * 0.1f, Hex(0xFFF3B0));
		someBud.WritePng(aFolder / "UI/Blomknopp.png");
	}

	void BossBar(const std::filesystem::path& aFolder)
	{
		Canvas someCanvas(40, 20);
		someCanvas.FillBox(20.0f, 10.0f, 19.0f, 9.0f, 5.0f, Hex(0x4A1410));
		someCanvas.FillBox(20.0f, 10.0f, 16.0f, 6.5f, 4.0f, Hex(0xD8402E));
		someCanvas.FillBox(20.0f, 7.5f, 13.0f, 2.0f, 2.0f, Hex(0xFF9A7A, 0.8f));
		someCanvas.WritePng(aFolder / "UI/Boss_HB_V1.png");
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 4)
	{
		std::fprintf(stderr, "usage: NorvMakeUiArt <data folder> <display font> <blackletter font>\n");
		return 2;
	}
	try
	{
		const std::filesystem::path someFolder = anArguments[1];
		Fonts someFonts{ Lettering(anArguments[2]), Lettering(anArguments[3]) };
		MainMenu(someFolder, someFonts);
		Credits(someFolder, someFonts);
		PauseMenu(someFolder);
		Button(someFolder);
		Indicator(someFolder);
		Slider(someFolder);
		SoundIcons(someFolder);
		Loading(someFolder, someFonts);
		AreaTitles(someFolder, someFonts);
		Intro(someFolder, someFonts);
		HeadUpDisplay(someFolder);
		BossBar(someFolder);
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvMakeUiArt: %s\n", anError.what());
		return 1;
	}
	return 0;
}
