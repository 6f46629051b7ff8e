// ASCII FBX 7.x: "Name: value, value {" records with children in braces,
// "; comments", quoted strings, and arrays written as "*count { a: v,v,... }".
#include "fbxsdk/FbxParseTree.h"

#include <charconv>
#include <string>

namespace fbxsdk::impl
{
	namespace
	{
		class AsciiReader
		{
		public:
			AsciiReader(ParseTree& aTree, std::string& aError)
				: myTree(aTree), myError(aError), myText(reinterpret_cast<char*>(aTree.bytes.data())), mySize(aTree.bytes.size()) {}

			bool Parse()
			{
				myTree.nodes.emplace_back();
				if (!ParseList(0, 0))
					return false;
				if (myCursor < mySize)
					return Fail("Unexpected '}'");
				return true;
			}

		private:
			bool Fail(const std::string& aWhat)
			{
				size_t someLine = 1;
				for (size_t i = 0; i < myCursor && i < mySize; ++i)
					someLine += myText[i] == '\n';
				myError = aWhat + " on line " + std::to_string(someLine);
				return false;
			}

			bool AtEnd() const { return myCursor >= mySize; }
			char Peek() const { return myText[myCursor]; }

			// Skips spaces, and newlines and comments too when aLines is set.
			void SkipSpace(bool aLines)
			{
				while (!AtEnd())
				{
					const char c = Peek();
					if (c == ' ' || c == '\t' || c == '\r')
						++myCursor;
					else if (aLines && c == '\n')
						++myCursor;
					else if (aLines && c == ';')
						while (!AtEnd() && Peek() != '\n')
							++myCursor;
					else
						break;
				}
			}

			static bool IsNameChar(char c)
			{
				return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '|' || c == '-';
			}

			// Records until '}' (not consumed) or the end of the text.
			bool ParseList(std::uint32_t aParent, int aDepth)
			{
				if (aDepth >= MAX_NODE_DEPTH)
					return Fail("Records nested too deeply");
				std::uint32_t somePrevious = NO_NODE;
				for (;;)
				{
					SkipSpace(true);
					if (AtEnd() || Peek() == '}')
						return true;
					const size_t someNameStart = myCursor;
					while (!AtEnd() && IsNameChar(Peek()))
						++myCursor;
					if (myCursor == someNameStart || AtEnd() || Peek() != ':')
						return Fail("Expected a record name followed by ':'");
					const std::uint32_t someIndex = static_cast<std::uint32_t>(myTree.nodes.size());
					myTree.nodes.emplace_back();
					myTree.nodes[someIndex].name = std::string_view(myText + someNameStart, myCursor - someNameStart);
					++myCursor;
					if (somePrevious == NO_NODE)
						myTree.nodes[aParent].firstChild = someIndex;
					else
						myTree.nodes[somePrevious].nextSibling = someIndex;
					somePrevious = someIndex;
					if (!ParseRecordBody(someIndex, aDepth))
						return false;
				}
			}

			bool ParseRecordBody(std::uint32_t aNode, int aDepth)
			{
				myTree.nodes[aNode].firstProperty = static_cast<std::uint32_t>(myTree.properties.size());
				SkipSpace(false);
				while (!AtEnd() && Peek() != '\n' && Peek() != '{' && Peek() != '}' && Peek() != ';')
				{
					if (Peek() == ',')
					{
						// An empty value ("Content: ,") holds nothing.
						++myCursor;
						SkipSpace(false);
						continue;
					}
					if (!ParseValue())
						return false;
					++myTree.nodes[aNode].propertyCount;
					SkipSpace(false);
					if (!AtEnd() && Peek() == ',')
					{
						++myCursor;
						SkipSpace(true);
					}
				}
				if (!AtEnd() && Peek() == '{')
				{
					++myCursor;
					if (!ParseList(aNode, aDepth + 1))
						return false;
					if (AtEnd())
						return Fail("Missing '}' before the end of the file");
					++myCursor;
				}
				return true;
			}

			bool ParseValue()
			{
				ParsedProperty someProperty;
				const char c = Peek();
				if (c == '"')
				{
					if (!ParseString(someProperty))
						return false;
				}
				else if (c == '*')
				{
					if (!ParseArray(someProperty))
						return false;
				}
				else if (c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9'))
				{
					if (!ParseNumber(someProperty))
						return false;
				}
				else
				{
					// A bare word such as Y, N, T or W.
					const size_t someStart = myCursor;
					while (!AtEnd() && IsNameChar(Peek()))
						++myCursor;
					if (myCursor == someStart)
						return Fail(std::string("Unexpected character '") + c + "'");
					someProperty.type = 'S';
					someProperty.text = std::string_view(myText + someStart, myCursor - someStart);
				}
				myTree.properties.push_back(someProperty);
				return true;
			}

			// Unescapes &quot; in place: the text only shrinks, so the view stays in the buffer.
			bool ParseString(ParsedProperty& aProperty)
			{
				++myCursor;
				const size_t someStart = myCursor;
				size_t someWrite = myCursor;
				while (!AtEnd() && Peek() != '"')
				{
					if (Peek() == '\n')
						return Fail("Unterminated string");
					if (mySize - myCursor >= 6 && std::string_view(myText + myCursor, 6) == "&quot;")
					{
						myText[someWrite++] = '"';
						myCursor += 6;
						continue;
					}
					myText[someWrite++] = myText[myCursor++];
				}
				if (AtEnd())
					return Fail("Unterminated string");
				++myCursor;
				aProperty.type = 'S';
				aProperty.text = std::string_view(myText + someStart, someWrite - someStart);
				return true;
			}

			bool ReadNumber(bool& aIsReal, std::int64_t& aInteger, double& aReal)
			{
				size_t someStart = myCursor;
				if (!AtEnd() && Peek() == '+')
					someStart = ++myCursor;
				while (!AtEnd())
				{
					const char c = Peek();
					if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E')
						++myCursor;
					else
						break;
				}
				const char* someFirst = myText + someStart;
				const char* someLast = myText + myCursor;
				aIsReal = std::string_view(someFirst, myCursor - someStart).find_first_of(".eE") != std::string_view::npos;
				const auto someResult = aIsReal ? std::from_chars(someFirst, someLast, aReal) : std::from_chars(someFirst, someLast, aInteger);
				if (someResult.ec != std::errc() || someResult.ptr != someLast)
					return Fail("Malformed number '" + std::string(someFirst, someLast) + "'");
				return true;
			}

			bool ParseNumber(ParsedProperty& aProperty)
			{
				bool someIsReal = false;
				if (!ReadNumber(someIsReal, aProperty.integer, aProperty.real))
					return false;
				aProperty.type = someIsReal ? 'D' : 'L';
				return true;
			}

			// "*N { a: v,v,... }": integers go to an int64 buffer, anything with a
			// fraction or exponent makes the whole array doubles.
			bool ParseArray(ParsedProperty& aProperty)
			{
				++myCursor;
				std::int64_t someDeclared = 0;
				bool someIsReal = false;
				double someUnused = 0.0;
				if (!ReadNumber(someIsReal, someDeclared, someUnused) || someIsReal || someDeclared < 0)
					return Fail("Malformed array count");
				SkipSpace(true);
				if (AtEnd() || Peek() != '{')
					return Fail("Expected '{' after an array count");
				++myCursor;
				SkipSpace(true);
				if (mySize - myCursor < 2 || myText[myCursor] != 'a' || myText[myCursor + 1] != ':')
					return Fail("Expected 'a:' in an array");
				myCursor += 2;

				aProperty.type = 'a';
				aProperty.array = static_cast<std::uint32_t>(myTree.arrays.size());
				ParsedArray& someArray = myTree.arrays.emplace_back();
				someArray.type = 'l';
				// Each value takes at least two characters, which bounds the reservation by the file size.
				someArray.longs.reserve(static_cast<size_t>(std::min<std::int64_t>(someDeclared, static_cast<std::int64_t>((mySize - myCursor) / 2 + 1))));
				for (;;)
				{
					SkipSpace(true);
					if (AtEnd())
						return Fail("Unterminated array");
					if (Peek() == '}')
						break;
					std::int64_t someInteger = 0;
					double someReal = 0.0;
					if (!ReadNumber(someIsReal, someInteger, someReal))
						return false;
					if (someIsReal && someArray.type == 'l')
					{
						someArray.type = 'd';
						someArray.doubles.reserve(someArray.longs.capacity());
						for (std::int64_t someValue : someArray.longs)
							someArray.doubles.push_back(static_cast<double>(someValue));
						ArrayBuffer<std::int64_t>().swap(someArray.longs);
					}
					if (someArray.type == 'd')
						someArray.doubles.push_back(someIsReal ? someReal : static_cast<double>(someInteger));
					else
						someArray.longs.push_back(someInteger);
					SkipSpace(true);
					if (!AtEnd() && Peek() == ',')
						++myCursor;
				}
				++myCursor;
				const size_t someCount = someArray.type == 'd' ? someArray.doubles.size() : someArray.longs.size();
				if (static_cast<std::int64_t>(someCount) != someDeclared)
					return Fail("Array holds " + std::to_string(someCount) + " values but declares " + std::to_string(someDeclared));
				return true;
			}

			ParseTree& myTree;
			std::string& myError;
			char* myText;
			size_t mySize;
			size_t myCursor = 0;
		};
	}

	bool ParseAsciiFbx(ArrayBuffer<std::uint8_t> aBytes, ParseTree& aTree, std::string& aError)
	{
		aTree = ParseTree();
		aTree.bytes = std::move(aBytes);
		aTree.isBinary = false;
		AsciiReader someReader(aTree, aError);
		if (!someReader.Parse())
			return false;
		const std::uint32_t someHeader = aTree.FindChild(0, "FBXHeaderExtension");
		aTree.version = someHeader == NO_NODE ? 0 : static_cast<std::uint32_t>(aTree.ChildInteger(someHeader, "FBXVersion", 0));
		return true;
	}
}
