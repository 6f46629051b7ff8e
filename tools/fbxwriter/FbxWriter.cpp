#include "fbxwriter/FbxWriter.h"

#include <zlib.h>

#include <charconv>
#include <cstring>
#include <stdexcept>

namespace NorvTools
{
	namespace
	{
		constexpr std::uint32_t FIRST_64_BIT_VERSION = 7500;
		constexpr size_t MIN_COMPRESSED_ARRAY_BYTES = 256;
		constexpr int ASCII_VALUES_PER_LINE = 32;

		// ---- ASCII --------------------------------------------------------------

		template <typename T>
		void AppendNumber(std::string& aOut, T aValue)
		{
			char someBuffer[64];
			const auto someResult = std::to_chars(someBuffer, someBuffer + sizeof(someBuffer), aValue);
			aOut.append(someBuffer, someResult.ptr);
		}

		void AppendQuoted(std::string& aOut, const std::string& aText)
		{
			aOut += '"';
			for (char c : aText)
				aOut += c == '"' ? std::string("&quot;") : std::string(1, c);
			aOut += '"';
		}

		template <typename T>
		void AppendArray(std::string& aOut, const std::vector<T>& aValues, const std::string& aIndent)
		{
			aOut += '*';
			AppendNumber(aOut, aValues.size());
			aOut += " {\n" + aIndent + "\ta: ";
			for (size_t i = 0; i < aValues.size(); ++i)
			{
				if (i > 0)
					aOut += (i % ASCII_VALUES_PER_LINE == 0) ? ",\n" + aIndent + "\t" : ",";
				AppendNumber(aOut, aValues[i]);
			}
			aOut += "\n" + aIndent + "} ";
		}

		void WriteAsciiRecord(std::string& aOut, const FbxRecord& aRecord, const std::string& aIndent)
		{
			aOut += aIndent + aRecord.name + ": ";
			for (size_t i = 0; i < aRecord.values.size(); ++i)
			{
				if (i > 0)
					aOut += ", ";
				std::visit([&](const auto& aValue) {
					using T = std::decay_t<decltype(aValue)>;
					if constexpr (std::is_same_v<T, bool>)
						aOut += aValue ? '1' : '0';
					else if constexpr (std::is_same_v<T, std::string>)
						AppendQuoted(aOut, aValue);
					else if constexpr (std::is_same_v<T, FbxObjectName>)
						AppendQuoted(aOut, aValue.objectClass + "::" + aValue.name);
					else if constexpr (std::is_arithmetic_v<T>)
						AppendNumber(aOut, aValue);
					else
						AppendArray(aOut, aValue, aIndent);
				}, aRecord.values[i]);
			}
			if (!aRecord.children.empty())
			{
				aOut += " {\n";
				for (const FbxRecord& someChild : aRecord.children)
					WriteAsciiRecord(aOut, someChild, aIndent + "\t");
				aOut += aIndent + "}";
			}
			aOut += "\n";
		}

		// ---- binary -------------------------------------------------------------

		template <typename T>
		void Put(std::string& aOut, T aValue)
		{
			char someBytes[sizeof(T)];
			std::memcpy(someBytes, &aValue, sizeof(T));
			aOut.append(someBytes, sizeof(T));
		}

		template <typename T>
		void PutArray(std::string& aOut, char aType, const std::vector<T>& aValues, bool aCompress)
		{
			const size_t someBytes = aValues.size() * sizeof(T);
			aOut += aType;
			Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(aValues.size()));
			if (aCompress && someBytes >= MIN_COMPRESSED_ARRAY_BYTES)
			{
				uLongf someLength = compressBound(static_cast<uLong>(someBytes));
				std::string someCompressed(someLength, '\0');
				if (compress2(reinterpret_cast<Bytef*>(someCompressed.data()), &someLength, reinterpret_cast<const Bytef*>(aValues.data()), static_cast<uLong>(someBytes), Z_BEST_SPEED) != Z_OK)
					throw std::runtime_error("zlib could not compress an FBX array");
				Put<std::uint32_t>(aOut, 1);
				Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(someLength));
				aOut.append(someCompressed.data(), someLength);
				return;
			}
			Put<std::uint32_t>(aOut, 0);
			Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(someBytes));
			aOut.append(reinterpret_cast<const char*>(aValues.data()), someBytes);
		}

		void PutText(std::string& aOut, const std::string& aText)
		{
			aOut += 'S';
			Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(aText.size()));
			aOut += aText;
		}

		class BinaryWriter
		{
		public:
			BinaryWriter(std::uint32_t aVersion, bool aCompress) : myWide(aVersion >= FIRST_64_BIT_VERSION), myCompress(aCompress) {}

			void Record(std::string& aOut, const FbxRecord& aRecord) const
			{
				const size_t someStart = aOut.size();
				PutOffsets(aOut, 0, aRecord.values.size(), 0);
				aOut += static_cast<char>(aRecord.name.size());
				aOut += aRecord.name;
				const size_t somePropertiesStart = aOut.size();
				for (const FbxValue& someValue : aRecord.values)
					Value(aOut, someValue);
				const size_t somePropertiesLength = aOut.size() - somePropertiesStart;
				if (!aRecord.children.empty() || aRecord.values.empty())
				{
					for (const FbxRecord& someChild : aRecord.children)
						Record(aOut, someChild);
					NullRecord(aOut);
				}
				std::string someHeader;
				PutOffsets(someHeader, aOut.size(), aRecord.values.size(), somePropertiesLength);
				aOut.replace(someStart, someHeader.size(), someHeader);
			}

			void NullRecord(std::string& aOut) const
			{
				aOut.append(myWide ? 25 : 13, '\0');
			}

		private:
			void PutOffsets(std::string& aOut, std::uint64_t aEnd, std::uint64_t aCount, std::uint64_t aLength) const
			{
				if (myWide)
				{
					Put<std::uint64_t>(aOut, aEnd);
					Put<std::uint64_t>(aOut, aCount);
					Put<std::uint64_t>(aOut, aLength);
				}
				else
				{
					Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(aEnd));
					Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(aCount));
					Put<std::uint32_t>(aOut, static_cast<std::uint32_t>(aLength));
				}
			}

			void Value(std::string& aOut, const FbxValue& aValue) const
			{
				std::visit([&](const auto& aItem) {
					using T = std::decay_t<decltype(aItem)>;
					if constexpr (std::is_same_v<T, bool>) { aOut += 'C'; aOut += static_cast<char>(aItem ? 1 : 0); }
					else if constexpr (std::is_same_v<T, std::int32_t>) { aOut += 'I'; Put(aOut, aItem); }
					else if constexpr (std::is_same_v<T, std::int64_t>) { aOut += 'L'; Put(aOut, aItem); }
					else if constexpr (std::is_same_v<T, double>) { aOut += 'D'; Put(aOut, aItem); }
					else if constexpr (std::is_same_v<T, std::string>) PutText(aOut, aItem);
					else if constexpr (std::is_same_v<T, FbxObjectName>) PutText(aOut, aItem.name + std::string("\0\1", 2) + aItem.objectClass);
					else if constexpr (std::is_same_v<T, std::vector<std::int32_t>>) PutArray(aOut, 'i', aItem, myCompress);
					else if constexpr (std::is_same_v<T, std::vector<std::int64_t>>) PutArray(aOut, 'l', aItem, myCompress);
					else if constexpr (std::is_same_v<T, std::vector<float>>) PutArray(aOut, 'f', aItem, myCompress);
					else PutArray(aOut, 'd', aItem, myCompress);
				}, aValue);
			}

			bool myWide;
			bool myCompress;
		};
	}

	FbxRecord& FbxRecord::Add(std::string aName, std::vector<FbxValue> aValues)
	{
		children.push_back(FbxRecord{ std::move(aName), std::move(aValues), {} });
		return children.back();
	}

	std::string WriteAsciiFbx(const FbxRecord& aRoot)
	{
		std::string someOut = "; FBX 7.4.0 project file\n; written by the Norv FBX writer\n\n";
		for (const FbxRecord& someRecord : aRoot.children)
			WriteAsciiRecord(someOut, someRecord, "");
		return someOut;
	}

	std::string WriteBinaryFbx(const FbxRecord& aRoot, std::uint32_t aVersion, bool aCompressArrays)
	{
		std::string someOut("Kaydara FBX Binary  \0\x1a\0", 23);
		Put<std::uint32_t>(someOut, aVersion);
		const BinaryWriter someWriter(aVersion, aCompressArrays);
		for (const FbxRecord& someRecord : aRoot.children)
			someWriter.Record(someOut, someRecord);
		someWriter.NullRecord(someOut);
		return someOut;
	}
}
