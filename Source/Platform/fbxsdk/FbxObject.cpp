#include "fbxsdk/FbxObject.h"

#include <algorithm>
#include <atomic>

namespace fbxsdk
{
	namespace
	{
		bool EqualsIgnoringCase(std::string_view aLeft, std::string_view aRight)
		{
			return std::equal(aLeft.begin(), aLeft.end(), aRight.begin(), aRight.end(), [](char a, char b) {
				const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
				return lower(a) == lower(b);
			});
		}
	}

	FbxObject::FbxObject(std::string aName, FbxUInt64 aUniqueId) : myName(std::move(aName)), myUniqueId(aUniqueId) {}

	FbxUInt64 FbxObject::NextCodeId()
	{
		// Objects made in code count down from the top so they never meet file ids.
		static std::atomic<FbxUInt64> theNext{ ~0ull };
		return theNext--;
	}

	void FbxObject::Destroy()
	{
		if (myOwner)
			myOwner->Release(this);
	}

	FbxProperty FbxObject::FindProperty(const char* aName, bool aCaseSensitive) const
	{
		const auto matches = [&](const std::string& aCandidate) {
			return aCaseSensitive ? aCandidate == aName : EqualsIgnoringCase(aCandidate, aName);
		};
		for (const std::string& someName : myPropertyNames)
			if (matches(someName))
				return FbxProperty(this, someName);
		for (const PropertySource& someSource : myPropertySources)
			if (matches(someSource.property))
				return FbxProperty(this, someSource.property);
		return FbxProperty();
	}

	FbxManager* FbxManager::Create()
	{
		return new FbxManager();
	}

	void FbxManager::Destroy()
	{
		// Later objects may refer to earlier ones (an importer to its settings): free newest first.
		while (!myObjects.empty())
			myObjects.pop_back();
		delete this;
	}

	void FbxManager::Release(FbxObject* aObject)
	{
		const auto someFound = std::find_if(myObjects.begin(), myObjects.end(), [aObject](const auto& aOwned) { return aOwned.get() == aObject; });
		if (someFound != myObjects.end())
			myObjects.erase(someFound);
	}

	FbxIOSettings* FbxIOSettings::Create(FbxManager* aManager, const char* aName)
	{
		return aManager ? aManager->Adopt(std::unique_ptr<FbxIOSettings>(new FbxIOSettings(aName ? aName : "", NextCodeId()))) : nullptr;
	}

	bool FbxIOSettings::GetBoolProp(const char* aPath, bool aDefault) const
	{
		const auto someFound = myBools.find(aPath);
		return someFound == myBools.end() ? aDefault : someFound->second;
	}
}
