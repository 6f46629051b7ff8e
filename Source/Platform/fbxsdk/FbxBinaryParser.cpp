// Binary FBX 7.x: a 27-byte header, then nested node records. Each record holds
// its end offset, property count, property-list length (32-bit before version
// 7500, 64-bit from it), a name, typed properties and child records closed by
// a null record. Arrays may be zlib-compressed (inflated with libdeflate).
#include "fbxsdk/FbxParseTree.h"

#include <libdeflate.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace fbxsdk::impl
{
	namespace
	{
		constexpr size_t HEADER_SIZE = 27;
		constexpr size_t VERSION_OFFSET = 23;
		constexpr std::uint32_t FIRST_64_BIT_VERSION = 7500;
		// Deflate cannot expand data by more than about 1032:1, so a compressed array
		// that declares more is rejected before anything is allocated for it.
		constexpr std::uint64_t MAX_DEFLATE_RATIO = 1032;
		constexpr std::uint64_t DEFLATE_SLACK_BYTES = 64;
		constexpr std::uint64_t MAX_ARRAY_BYTES = 0xFFFFFFFFull;
		// Large compressed arrays inflate on worker threads once the records are read.
		constexpr std::uint64_t PARALLEL_INFLATE_BYTES = 1u << 20;
		constexpr unsigned MAX_INFLATE_THREADS = 4;

		struct FreeDecompressor
		{
			void operator()(libdeflate_decompressor* aDecompressor) const { libdeflate_free_decompressor(aDecompressor); }
		};
		// One per thread for a whole load: its tables are set up once, not per array.
		using Decompressor = std::unique_ptr<libdeflate_decompressor, FreeDecompressor>;

		struct InflateJob
		{
			const std::uint8_t* source;
			std::uint64_t sourceLength;
			void* target;
			std::uint64_t targetLength;
			std::uint64_t offset; // of the array, for the error message
		};

		class BinaryReader
		{
		public:
			BinaryReader(ParseTree& aTree, std::string& aError) : myTree(aTree), myError(aError), myData(aTree.bytes.data()), mySize(aTree.bytes.size()) {}

			bool Parse()
			{
				myTree.version = Read<std::uint32_t>(VERSION_OFFSET);
				myWide = myTree.version >= FIRST_64_BIT_VERSION;
				myTree.nodes.emplace_back();
				std::uint64_t someCursor = HEADER_SIZE;
				return ParseList(someCursor, mySize, 0, 0, true) && RunInflateJobs();
			}

		private:
			template <typename T>
			T Read(std::uint64_t aOffset) const
			{
				T someValue;
				std::memcpy(&someValue, myData + aOffset, sizeof(T));
				return someValue;
			}

			bool Fail(const std::string& aWhat, std::uint64_t aOffset)
			{
				myError = aWhat + " at byte " + std::to_string(aOffset);
				return false;
			}

			size_t RecordHeaderSize() const { return myWide ? 25 : 13; }

			bool ParseList(std::uint64_t& aCursor, std::uint64_t aEnd, std::uint32_t aParent, int aDepth, bool aTopLevel)
			{
				if (aDepth >= MAX_NODE_DEPTH)
					return Fail("Records nested too deeply", aCursor);
				std::uint32_t somePrevious = NO_NODE;
				while (aCursor < aEnd)
				{
					if (aEnd - aCursor < RecordHeaderSize())
						return Fail("Truncated record header", aCursor);
					std::uint64_t someEnd, someCount, someListLength;
					if (myWide)
					{
						someEnd = Read<std::uint64_t>(aCursor);
						someCount = Read<std::uint64_t>(aCursor + 8);
						someListLength = Read<std::uint64_t>(aCursor + 16);
					}
					else
					{
						someEnd = Read<std::uint32_t>(aCursor);
						someCount = Read<std::uint32_t>(aCursor + 4);
						someListLength = Read<std::uint32_t>(aCursor + 8);
					}
					const std::uint8_t someNameLength = myData[aCursor + RecordHeaderSize() - 1];
					if (someEnd == 0)
					{
						aCursor += RecordHeaderSize();
						return true; // null record closes the list
					}
					const std::uint64_t someNameStart = aCursor + RecordHeaderSize();
					const std::uint64_t somePropertiesStart = someNameStart + someNameLength;
					if (someEnd > aEnd || someEnd <= aCursor || somePropertiesStart > someEnd || someListLength > someEnd - somePropertiesStart)
						return Fail("Record runs past its parent or the end of the file", aCursor);
					if (someCount > someListLength)
						return Fail("Record declares more properties than its property list can hold", aCursor);

					const std::uint32_t someIndex = static_cast<std::uint32_t>(myTree.nodes.size());
					myTree.nodes.emplace_back();
					myTree.nodes[someIndex].name = std::string_view(reinterpret_cast<const char*>(myData + someNameStart), someNameLength);
					if (somePrevious == NO_NODE)
						myTree.nodes[aParent].firstChild = someIndex;
					else
						myTree.nodes[somePrevious].nextSibling = someIndex;
					somePrevious = someIndex;

					std::uint64_t someCursor = somePropertiesStart;
					const std::uint64_t somePropertiesEnd = somePropertiesStart + someListLength;
					myTree.nodes[someIndex].firstProperty = static_cast<std::uint32_t>(myTree.properties.size());
					myTree.nodes[someIndex].propertyCount = static_cast<std::uint32_t>(someCount);
					for (std::uint64_t i = 0; i < someCount; ++i)
						if (!ParseProperty(someCursor, somePropertiesEnd))
							return false;
					if (someCursor != somePropertiesEnd)
						return Fail("Property list length does not match its properties", someCursor);
					if (someCursor < someEnd && !ParseList(someCursor, someEnd, someIndex, aDepth + 1, false))
						return false;
					aCursor = someEnd;
				}
				// A child list may end at its parent's end; the file's own list ends with a null record.
				return !aTopLevel || Fail("Truncated file: the closing record is missing", aCursor);
			}

			bool ParseProperty(std::uint64_t& aCursor, std::uint64_t aEnd)
			{
				if (aCursor >= aEnd)
					return Fail("Truncated property", aCursor);
				ParsedProperty someProperty;
				const char someType = static_cast<char>(myData[aCursor]);
				someProperty.type = someType;
				const std::uint64_t someStart = aCursor + 1;
				const auto need = [&](std::uint64_t aBytes) { return aEnd - someStart >= aBytes; };
				switch (someType)
				{
				case 'Y':
					if (!need(2)) return Fail("Truncated property", aCursor);
					someProperty.integer = Read<std::int16_t>(someStart);
					aCursor = someStart + 2;
					break;
				case 'C':
					if (!need(1)) return Fail("Truncated property", aCursor);
					someProperty.integer = myData[someStart] != 0;
					aCursor = someStart + 1;
					break;
				case 'I':
					if (!need(4)) return Fail("Truncated property", aCursor);
					someProperty.integer = Read<std::int32_t>(someStart);
					aCursor = someStart + 4;
					break;
				case 'L':
					if (!need(8)) return Fail("Truncated property", aCursor);
					someProperty.integer = Read<std::int64_t>(someStart);
					aCursor = someStart + 8;
					break;
				case 'F':
					if (!need(4)) return Fail("Truncated property", aCursor);
					someProperty.real = Read<float>(someStart);
					aCursor = someStart + 4;
					break;
				case 'D':
					if (!need(8)) return Fail("Truncated property", aCursor);
					someProperty.real = Read<double>(someStart);
					aCursor = someStart + 8;
					break;
				case 'S':
				case 'R':
				{
					if (!need(4)) return Fail("Truncated property", aCursor);
					const std::uint32_t someLength = Read<std::uint32_t>(someStart);
					if (!need(4ull + someLength)) return Fail("Text property runs past its record", aCursor);
					someProperty.text = std::string_view(reinterpret_cast<const char*>(myData + someStart + 4), someLength);
					aCursor = someStart + 4 + someLength;
					break;
				}
				case 'i': case 'l': case 'f': case 'd': case 'b':
					if (!ParseArray(someType, someStart, aEnd, someProperty, aCursor))
						return false;
					break;
				default:
					return Fail(std::string("Unknown property type '") + (someType >= 32 && someType < 127 ? std::string(1, someType) : "?") + "'", aCursor);
				}
				myTree.properties.push_back(someProperty);
				return true;
			}

			bool ParseArray(char aType, std::uint64_t aStart, std::uint64_t aEnd, ParsedProperty& aProperty, std::uint64_t& aCursor)
			{
				if (aEnd - aStart < 12)
					return Fail("Truncated array header", aStart);
				const std::uint64_t someCount = Read<std::uint32_t>(aStart);
				const std::uint32_t someEncoding = Read<std::uint32_t>(aStart + 4);
				const std::uint64_t someStoredLength = Read<std::uint32_t>(aStart + 8);
				const std::uint64_t someDataStart = aStart + 12;
				if (aEnd - someDataStart < someStoredLength)
					return Fail("Array data runs past its record", aStart);

				const std::uint64_t someElementSize = (aType == 'd' || aType == 'l') ? 8 : (aType == 'b' ? 1 : 4);
				const std::uint64_t someByteCount = someCount * someElementSize;
				if (someEncoding == 0 && someStoredLength != someByteCount)
					return Fail("Array length does not match its element count", aStart);
				if (someEncoding == 1 && someByteCount > someStoredLength * MAX_DEFLATE_RATIO + DEFLATE_SLACK_BYTES)
					return Fail("Compressed array declares more data than it can hold", aStart);
				if (someEncoding > 1)
					return Fail("Unknown array encoding " + std::to_string(someEncoding), aStart);
				if (someByteCount > MAX_ARRAY_BYTES)
					return Fail("Array larger than 4 GiB", aStart);

				aProperty.type = 'a';
				aProperty.array = static_cast<std::uint32_t>(myTree.arrays.size());
				ParsedArray& someArray = myTree.arrays.emplace_back();
				someArray.type = aType;
				void* someTarget = nullptr;
				switch (aType)
				{
				case 'i': someArray.ints.resize(someCount); someTarget = someArray.ints.data(); break;
				case 'l': someArray.longs.resize(someCount); someTarget = someArray.longs.data(); break;
				case 'f': someArray.floats.resize(someCount); someTarget = someArray.floats.data(); break;
				case 'd': someArray.doubles.resize(someCount); someTarget = someArray.doubles.data(); break;
				default: someArray.bytes.resize(someCount); someTarget = someArray.bytes.data(); break;
				}
				if (someEncoding == 0)
				{
					if (someByteCount > 0)
						std::memcpy(someTarget, myData + someDataStart, someByteCount);
				}
				else if (someByteCount >= PARALLEL_INFLATE_BYTES)
				{
					myJobs.push_back({ myData + someDataStart, someStoredLength, someTarget, someByteCount, aStart });
				}
				else if (someByteCount > 0 && !Inflate(myDecompressor, myData + someDataStart, someStoredLength, someTarget, someByteCount))
				{
					return Fail("Compressed array does not inflate to its declared size", aStart);
				}
				aCursor = someDataStart + someStoredLength;
				return true;
			}

			// Every deferred array, split over a few threads; the first failure in file order is reported.
			bool RunInflateJobs()
			{
				if (myJobs.empty())
					return true;
				std::vector<char> someFailed(myJobs.size(), 0);
				std::atomic<size_t> someNext{ 0 };
				const auto work = [&](const Decompressor& aDecompressor) {
					for (size_t i = someNext++; i < myJobs.size(); i = someNext++)
					{
						const InflateJob& someJob = myJobs[i];
						someFailed[i] = !Inflate(aDecompressor, someJob.source, someJob.sourceLength, someJob.target, someJob.targetLength);
					}
				};
				const unsigned someThreads = static_cast<unsigned>(std::min<size_t>({ myJobs.size(), MAX_INFLATE_THREADS, UsableCpus() }));
				std::vector<std::thread> someWorkers;
				for (unsigned i = 1; i < someThreads; ++i)
					someWorkers.emplace_back([&] { work(Decompressor(libdeflate_alloc_decompressor())); });
				work(myDecompressor);
				for (std::thread& someWorker : someWorkers)
					someWorker.join();
				for (size_t i = 0; i < myJobs.size(); ++i)
					if (someFailed[i])
						return Fail("Compressed array does not inflate to its declared size", myJobs[i].offset);
				return true;
			}

			// The CPUs this process may run on: a process pinned to one core inflates
			// everything itself rather than time-slicing workers on that core.
			static size_t UsableCpus()
			{
				cpu_set_t someSet;
				if (sched_getaffinity(0, sizeof(someSet), &someSet) == 0)
					return std::max(1, CPU_COUNT(&someSet));
				return std::max(1u, std::thread::hardware_concurrency());
			}

			// True when the zlib stream is whole (checksum included) and fills the target exactly.
			static bool Inflate(const Decompressor& aDecompressor, const std::uint8_t* aSource, std::uint64_t aSourceLength, void* aTarget, std::uint64_t aTargetLength)
			{
				return aDecompressor && libdeflate_zlib_decompress(aDecompressor.get(), aSource, aSourceLength, aTarget, aTargetLength, nullptr) == LIBDEFLATE_SUCCESS;
			}

			ParseTree& myTree;
			std::string& myError;
			const std::uint8_t* myData;
			std::uint64_t mySize;
			bool myWide = false;
			std::vector<InflateJob> myJobs;
			Decompressor myDecompressor{ libdeflate_alloc_decompressor() };
		};
	}

	bool ParseBinaryFbx(ArrayBuffer<std::uint8_t> aBytes, ParseTree& aTree, std::string& aError)
	{
		aTree = ParseTree();
		aTree.bytes = std::move(aBytes);
		aTree.isBinary = true;
		if (aTree.bytes.size() < HEADER_SIZE)
		{
			aError = "File too short for a binary FBX header";
			return false;
		}
		BinaryReader someReader(aTree, aError);
		return someReader.Parse();
	}
}
