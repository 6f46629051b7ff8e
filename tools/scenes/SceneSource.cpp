#include "SceneSource.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace NorvScenes
{
	namespace
	{
		std::vector<std::string> Words(const std::string& aLine)
		{
			std::istringstream someStream(aLine);
			std::vector<std::string> someWords;
			for (std::string someWord; someStream >> someWord;)
				someWords.push_back(someWord);
			return someWords;
		}

		// The text before a "//" comment, without trailing blanks or a carriage return.
		std::string Content(const std::string& aLine)
		{
			std::string someText = aLine.substr(0, aLine.find("//"));
			while (!someText.empty() && (someText.back() == ' ' || someText.back() == '\t' || someText.back() == '\r'))
				someText.pop_back();
			return someText;
		}

		// Words from aFirst on as settings; false (with an error) at the first that is not "key=value".
		bool ReadSettings(const std::vector<std::string>& someWords, std::size_t aFirst, int aLine, std::vector<Setting>& someSettings, std::vector<SourceError>& someErrors)
		{
			for (std::size_t i = aFirst; i < someWords.size(); ++i)
			{
				const std::size_t someEquals = someWords[i].find('=');
				if (someEquals == std::string::npos || someEquals == 0 || someEquals + 1 == someWords[i].size())
				{
					someErrors.push_back({ aLine, "expected key=value, found '" + someWords[i] + "'" });
					return false;
				}
				someSettings.push_back({ someWords[i].substr(0, someEquals), someWords[i].substr(someEquals + 1) });
			}
			return true;
		}

		bool ReadNumber(const std::string& aWord, const char* aWhat, int aLine, double& aValue, std::vector<SourceError>& someErrors)
		{
			if (ParseNumber(aWord, aValue))
				return true;
			someErrors.push_back({ aLine, std::string(aWhat) + " '" + aWord + "' is not a number" });
			return false;
		}

		void ReadLegend(const std::vector<std::string>& someWords, bool anIsTile, int aLine, SceneSource& aSource, std::vector<SourceError>& someErrors)
		{
			if (someWords.size() < 3 || someWords[1].size() != 1)
			{
				someErrors.push_back({ aLine, "expected '" + someWords[0] + " <character> <definition> [key=value ...]'" });
				return;
			}
			const char someSymbol = someWords[1][0];
			if (someSymbol == '.')
			{
				someErrors.push_back({ aLine, "'.' marks an empty cell and cannot be in the legend" });
				return;
			}
			for (const LegendEntry& someEntry : aSource.legend)
				if (someEntry.symbol == someSymbol)
				{
					someErrors.push_back({ aLine, std::string("'") + someSymbol + "' is already in the legend (line " + std::to_string(someEntry.line) + ")" });
					return;
				}
			LegendEntry someEntry{ someSymbol, anIsTile, someWords[2], {}, aLine };
			if (ReadSettings(someWords, 3, aLine, someEntry.settings, someErrors))
				aSource.legend.push_back(someEntry);
		}

		void ReadObject(const std::vector<std::string>& someWords, int aLine, SceneSource& aSource, std::vector<SourceError>& someErrors)
		{
			if (someWords.size() < 4)
			{
				someErrors.push_back({ aLine, "expected 'object <definition> <x> <y> [<z>] [key=value ...]'" });
				return;
			}
			Placement somePlacement{ someWords[1], 0.0, 0.0, 0.0, {}, aLine };
			if (!ReadNumber(someWords[2], "x", aLine, somePlacement.x, someErrors) || !ReadNumber(someWords[3], "y", aLine, somePlacement.y, someErrors))
				return;
			std::size_t someNext = 4;
			if (someNext < someWords.size() && someWords[someNext].find('=') == std::string::npos)
			{
				if (!ReadNumber(someWords[someNext], "z", aLine, somePlacement.z, someErrors))
					return;
				++someNext;
			}
			if (ReadSettings(someWords, someNext, aLine, somePlacement.settings, someErrors))
				aSource.objects.push_back(somePlacement);
		}
	}

	bool ParseNumber(const std::string& aText, double& aValue)
	{
		const char* someEnd = aText.data() + aText.size();
		const char* someStart = aText.data() + (!aText.empty() && aText[0] == '+' ? 1 : 0);
		const auto [somePtr, someError] = std::from_chars(someStart, someEnd, aValue);
		return someError == std::errc() && somePtr == someEnd && std::isfinite(aValue);
	}

	SceneSource ParseSceneSource(const std::string& aText, std::vector<SourceError>& someErrors)
	{
		SceneSource someSource;
		double someOriginX = 0.0, someOriginY = 0.0;
		GridBlock* someGrid = nullptr; // the grid being read, until "end"
		std::istringstream someStream(aText);
		int someLine = 0;
		for (std::string someRaw; std::getline(someStream, someRaw);)
		{
			++someLine;
			if (someGrid)
			{
				// Grid rows are taken as written: only a trailing carriage return is dropped.
				if (!someRaw.empty() && someRaw.back() == '\r')
					someRaw.pop_back();
				if (Content(someRaw) == "end")
					someGrid = nullptr;
				else
					someGrid->rows.push_back(someRaw);
				continue;
			}
			const std::vector<std::string> someWords = Words(Content(someRaw));
			if (someWords.empty())
				continue;
			const std::string& someKeyword = someWords[0];
			if (someKeyword == "tile" || someKeyword == "place")
				ReadLegend(someWords, someKeyword == "tile", someLine, someSource, someErrors);
			else if (someKeyword == "object")
				ReadObject(someWords, someLine, someSource, someErrors);
			else if (someKeyword == "origin")
			{
				double someX = 0.0, someY = 0.0;
				if (someWords.size() != 3)
					someErrors.push_back({ someLine, "expected 'origin <x> <y>'" });
				else if (ReadNumber(someWords[1], "x", someLine, someX, someErrors) && ReadNumber(someWords[2], "y", someLine, someY, someErrors))
				{
					if (std::fmod(someX, TILE_SIZE) != 0.0 || std::fmod(someY, TILE_SIZE) != 0.0)
						someErrors.push_back({ someLine, "the origin must lie on a tile centre (multiples of 100)" });
					someOriginX = someX;
					someOriginY = someY;
				}
			}
			else if (someKeyword == "grid" && someWords.size() == 1)
			{
				someSource.grids.push_back({ someOriginX, someOriginY, {}, someLine + 1 });
				someGrid = &someSource.grids.back();
			}
			else
				someErrors.push_back({ someLine, "unknown line '" + someKeyword + "' (expected tile, place, object, origin or grid)" });
		}
		if (someGrid)
			someErrors.push_back({ someLine, "the grid starting at line " + std::to_string(someGrid->firstLine - 1) + " has no 'end'" });
		return someSource;
	}
}
