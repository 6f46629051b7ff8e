// The engine's default textures and its two environment cube maps.
#include "DdsWriter.h"
#include "WorldArt.h"

#include <cmath>

namespace NorvArt
{
	namespace
	{
		constexpr std::uint32_t DEFAULT_EDGE_PIXELS = 64;
		constexpr std::uint32_t CUBE_EDGE_PIXELS = 32;

		Image Filled(const Rgba& aColor)
		{
			return Image(DEFAULT_EDGE_PIXELS, DEFAULT_EDGE_PIXELS, aColor);
		}

		// A light, slightly mottled neutral: untextured meshes read as matte clay, not flat grey.
		Image DefaultColor()
		{
			Image someImage(DEFAULT_EDGE_PIXELS, DEFAULT_EDGE_PIXELS);
			for (std::uint32_t y = 0; y < DEFAULT_EDGE_PIXELS; ++y)
				for (std::uint32_t x = 0; x < DEFAULT_EDGE_PIXELS; ++x)
				{
					const float n = ValueNoise(static_cast<float>(x), static_cast<float>(y), 8.0f, 11) * 0.08f;
					someImage.Set(x, y, { 0.82f + n, 0.79f + n, 0.74f + n, 1.0f });
				}
			return someImage;
		}

		// Direction through texel (u, v) of a cube face, faces ordered +X, -X, +Y, -Y, +Z, -Z.
		void FaceDirection(int aFace, float aU, float aV, float& aX, float& aY, float& aZ)
		{
			const float s = aU * 2.0f - 1.0f, t = aV * 2.0f - 1.0f;
			switch (aFace)
			{
			case 0: aX = 1; aY = -t; aZ = -s; break;
			case 1: aX = -1; aY = -t; aZ = s; break;
			case 2: aX = s; aY = 1; aZ = t; break;
			case 3: aX = s; aY = -1; aZ = -t; break;
			case 4: aX = s; aY = -t; aZ = 1; break;
			default: aX = -s; aY = -t; aZ = -1; break;
			}
		}

		// Sky above, a warm horizon band, forest-floor brown below.
		std::array<Image, 6> HorizonFaces()
		{
			const Rgba SKY = Hex(0x8FB8D8), HORIZON = Hex(0xF2D9A6), GROUND = Hex(0x5A4632);
			std::array<Image, 6> someFaces{ Image(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS), Image(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS), Image(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS),
				Image(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS), Image(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS), Image(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS) };
			for (int f = 0; f < 6; ++f)
				for (std::uint32_t y = 0; y < CUBE_EDGE_PIXELS; ++y)
					for (std::uint32_t x = 0; x < CUBE_EDGE_PIXELS; ++x)
					{
						float dx, dy, dz;
						FaceDirection(f, (static_cast<float>(x) + 0.5f) / CUBE_EDGE_PIXELS, (static_cast<float>(y) + 0.5f) / CUBE_EDGE_PIXELS, dx, dy, dz);
						const float someUp = dy / std::sqrt(dx * dx + dy * dy + dz * dz);
						const Rgba c = someUp >= 0.0f ? Mix(HORIZON, SKY, SmoothStep(0.0f, 0.5f, someUp)) : Mix(HORIZON, GROUND, SmoothStep(0.0f, 0.25f, -someUp));
						someFaces[static_cast<size_t>(f)].Set(x, y, c);
					}
			return someFaces;
		}
	}

	void WriteEngineTextures(const OutputFolders& aFolders)
	{
		WriteOutputFile(aFolders.engine, "Textures/T_Default_c.dds", WriteDds(DefaultColor()));
		// Flat tangent-space normal; material (r metalness, g roughness, b occlusion, as the model
		// shader reads it): no metal, mid roughness, nothing occluded; no emission. The model
		// shader's default-surface form holds these texels as constants: change both together.
		WriteOutputFile(aFolders.engine, "Textures/T_Default_n.dds", WriteDds(Filled({ 0.5f, 0.5f, 1.0f, 1.0f })));
		WriteOutputFile(aFolders.engine, "Textures/T_Default_m.dds", WriteDds(Filled({ 0.0f, 0.6f, 1.0f, 1.0f })));
		WriteOutputFile(aFolders.engine, "Textures/T_Default_fx.dds", WriteDds(Filled({ 0.0f, 0.0f, 0.0f, 1.0f })));

		const Image someWhite(CUBE_EDGE_PIXELS, CUBE_EDGE_PIXELS, { 1, 1, 1, 1 });
		WriteOutputFile(aFolders.engine, "Textures/whiteCubeMap.dds", WriteCubeDds({ someWhite, someWhite, someWhite, someWhite, someWhite, someWhite }));
		WriteOutputFile(aFolders.engine, "Textures/horizonCubeMap.dds", WriteCubeDds(HorizonFaces()));
	}
}
