#include "FileOutput.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace NorvMedia
{
	namespace
	{
		void PutU32BigEndian(std::vector<std::uint8_t>& aBytes, std::uint32_t aValue)
		{
			for (int i = 3; i >= 0; --i)
				aBytes.push_back(static_cast<std::uint8_t>(aValue >> (8 * i)));
		}

		void PutLittleEndian(std::vector<std::uint8_t>& aBytes, std::uint32_t aValue, int aByteCount)
		{
			for (int i = 0; i < aByteCount; ++i)
				aBytes.push_back(static_cast<std::uint8_t>(aValue >> (8 * i)));
		}

		void PutPngChunk(std::vector<std::uint8_t>& aPng, const char* aType, const std::vector<std::uint8_t>& aData)
		{
			PutU32BigEndian(aPng, static_cast<std::uint32_t>(aData.size()));
			const std::size_t someTypeStart = aPng.size();
			aPng.insert(aPng.end(), aType, aType + 4);
			aPng.insert(aPng.end(), aData.begin(), aData.end());
			const uLong someCrc = crc32(0, aPng.data() + someTypeStart, static_cast<uInt>(aPng.size() - someTypeStart));
			PutU32BigEndian(aPng, static_cast<std::uint32_t>(someCrc));
		}
	}

	void WriteFileAtomically(const std::filesystem::path& aPath, std::span<const std::uint8_t> aBytes)
	{
		std::filesystem::create_directories(aPath.parent_path());
		std::filesystem::path someTemporary = aPath;
		someTemporary += ".tmp" + std::to_string(getpid());
		{
			std::ofstream someFile(someTemporary, std::ios::binary | std::ios::trunc);
			someFile.write(reinterpret_cast<const char*>(aBytes.data()), static_cast<std::streamsize>(aBytes.size()));
			if (!someFile)
				throw std::runtime_error("cannot write " + someTemporary.string());
		}
		std::filesystem::rename(someTemporary, aPath);
	}

	std::vector<std::uint8_t> EncodePng(int aWidth, int aHeight, std::span<const std::uint8_t> aPixels)
	{
		// Every row uses the "Sub" filter: smooth painted pictures compress well with it.
		const std::size_t someRowBytes = static_cast<std::size_t>(aWidth) * 4;
		std::vector<std::uint8_t> someFiltered;
		someFiltered.reserve((someRowBytes + 1) * static_cast<std::size_t>(aHeight));
		for (int y = 0; y < aHeight; ++y)
		{
			const std::uint8_t* someRow = aPixels.data() + someRowBytes * static_cast<std::size_t>(y);
			someFiltered.push_back(1);
			for (std::size_t i = 0; i < someRowBytes; ++i)
				someFiltered.push_back(static_cast<std::uint8_t>(someRow[i] - (i >= 4 ? someRow[i - 4] : 0)));
		}
		uLongf someCompressedSize = compressBound(static_cast<uLong>(someFiltered.size()));
		std::vector<std::uint8_t> someCompressed(someCompressedSize);
		if (compress2(someCompressed.data(), &someCompressedSize, someFiltered.data(), static_cast<uLong>(someFiltered.size()), 6) != Z_OK)
			throw std::runtime_error("zlib could not compress a picture");
		someCompressed.resize(someCompressedSize);

		std::vector<std::uint8_t> someHeader;
		PutU32BigEndian(someHeader, static_cast<std::uint32_t>(aWidth));
		PutU32BigEndian(someHeader, static_cast<std::uint32_t>(aHeight));
		someHeader.insert(someHeader.end(), { 8, 6, 0, 0, 0 }); // 8-bit RGBA, deflate, no interlace

		std::vector<std::uint8_t> somePng = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
		PutPngChunk(somePng, "IHDR", someHeader);
		PutPngChunk(somePng, "IDAT", someCompressed);
		PutPngChunk(somePng, "IEND", {});
		return somePng;
	}

	std::vector<std::uint8_t> EncodeWav(std::span<const float> aSamples, int aRate, int aChannels)
	{
		const std::uint32_t someDataBytes = static_cast<std::uint32_t>(aSamples.size() * 2);
		std::vector<std::uint8_t> someWav = { 'R', 'I', 'F', 'F' };
		PutLittleEndian(someWav, 36 + someDataBytes, 4);
		someWav.insert(someWav.end(), { 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ' });
		PutLittleEndian(someWav, 16, 4);
		PutLittleEndian(someWav, 1, 2); // PCM
		PutLittleEndian(someWav, static_cast<std::uint32_t>(aChannels), 2);
		PutLittleEndian(someWav, static_cast<std::uint32_t>(aRate), 4);
		PutLittleEndian(someWav, static_cast<std::uint32_t>(aRate * 2 * aChannels), 4);
		PutLittleEndian(someWav, static_cast<std::uint32_t>(2 * aChannels), 2);
		PutLittleEndian(someWav, 16, 2);
		someWav.insert(someWav.end(), { 'd', 'a', 't', 'a' });
		PutLittleEndian(someWav, someDataBytes, 4);
		for (float someSample : aSamples)
		{
			const long someValue = std::lround(std::clamp(someSample, -1.0f, 1.0f) * 32767.0f);
			PutLittleEndian(someWav, static_cast<std::uint32_t>(static_cast<std::int16_t>(someValue)) & 0xFFFF, 2);
		}
		return someWav;
	}
}
