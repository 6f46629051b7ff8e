#pragma once
// Objects, class ids, properties, the manager and the importer's status and IO
// settings of the FBX stand-in.
#include "fbxsdk/FbxMath.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace fbxsdk
{
	class FbxManager;
	class FbxObject;

	// A class and its base: Is() holds for the class itself and every class it derives from.
	class FbxClassId
	{
	public:
		explicit constexpr FbxClassId(const FbxClassId* aParent) : myParent(aParent) {}
		bool Is(const FbxClassId& aOther) const
		{
			for (const FbxClassId* someClass = this; someClass; someClass = someClass->myParent)
				if (someClass == &aOther)
					return true;
			return false;
		}
	private:
		const FbxClassId* myParent;
	};

#define NORV_FBX_CLASS(Name, Parent) \
	static constexpr FbxClassId ClassId{ &Parent::ClassId }; \
	const FbxClassId& GetClassId() const override { return ClassId; }

	// The object as T when it is of class T (or derives from it), else null.
	template <typename T>
	T* FbxCast(FbxObject* aObject);

	// A named property of an object: the objects connected to it as its sources.
	class FbxProperty
	{
	public:
		FbxProperty() = default;
		FbxProperty(const FbxObject* aOwner, std::string aName) : myOwner(aOwner), myName(std::move(aName)) {}

		bool IsValid() const { return myOwner != nullptr; }
		const char* GetName() const { return myName.c_str(); }

		template <typename T>
		int GetSrcObjectCount() const;
		template <typename T>
		T* GetSrcObject(int aIndex = 0) const;

	private:
		const FbxObject* myOwner = nullptr;
		std::string myName;
	};

	class FbxObject
	{
	public:
		static constexpr FbxClassId ClassId{ nullptr };

		FbxObject(const FbxObject&) = delete;
		FbxObject& operator=(const FbxObject&) = delete;
		virtual ~FbxObject() = default;
		virtual const FbxClassId& GetClassId() const { return ClassId; }

		const char* GetName() const { return myName.c_str(); }
		// The file's id for objects read from a file; a fresh id for objects made in code.
		FbxUInt64 GetUniqueID() const { return myUniqueId; }
		// Frees an object made on a manager (and what it owns). Objects read into a
		// scene belong to the scene and go with it; for them this does nothing.
		void Destroy();

		// A property that the object holds or that has sources connected under that name.
		FbxProperty FindProperty(const char* aName, bool aCaseSensitive = true) const;

		template <typename T>
		int GetSrcObjectCount() const
		{
			int someCount = 0;
			for (FbxObject* someSource : mySources)
				someCount += someSource->GetClassId().Is(T::ClassId);
			return someCount;
		}
		template <typename T>
		T* GetSrcObject(int aIndex = 0) const
		{
			for (FbxObject* someSource : mySources)
				if (someSource->GetClassId().Is(T::ClassId) && aIndex-- == 0)
					return static_cast<T*>(someSource);
			return nullptr;
		}

		// ---- stand-in internals, filled by the scene reader -------------------
		struct PropertySource
		{
			std::string property;
			FbxObject* source;
		};
		void AddSource(FbxObject* aSource) { mySources.push_back(aSource); }
		void AddPropertySource(std::string aProperty, FbxObject* aSource) { myPropertySources.push_back({ std::move(aProperty), aSource }); }
		void AddPropertyName(std::string aName) { myPropertyNames.push_back(std::move(aName)); }
		const std::vector<PropertySource>& PropertySources() const { return myPropertySources; }
		void SetOwner(FbxManager* aOwner) { myOwner = aOwner; }

	protected:
		FbxObject(std::string aName, FbxUInt64 aUniqueId);
		static FbxUInt64 NextCodeId();

	private:
		std::string myName;
		FbxUInt64 myUniqueId;
		FbxManager* myOwner = nullptr;
		std::vector<FbxObject*> mySources;
		std::vector<PropertySource> myPropertySources;
		std::vector<std::string> myPropertyNames;
	};

	template <typename T>
	T* FbxCast(FbxObject* aObject)
	{
		return aObject && aObject->GetClassId().Is(T::ClassId) ? static_cast<T*>(aObject) : nullptr;
	}

	template <typename T>
	int FbxProperty::GetSrcObjectCount() const
	{
		int someCount = 0;
		if (myOwner)
			for (const FbxObject::PropertySource& someSource : myOwner->PropertySources())
				someCount += someSource.property == myName && someSource.source->GetClassId().Is(T::ClassId);
		return someCount;
	}

	template <typename T>
	T* FbxProperty::GetSrcObject(int aIndex) const
	{
		if (myOwner)
			for (const FbxObject::PropertySource& someSource : myOwner->PropertySources())
				if (someSource.property == myName && someSource.source->GetClassId().Is(T::ClassId) && aIndex-- == 0)
					return static_cast<T*>(someSource.source);
		return nullptr;
	}

	// Owns the objects made on it; destroying it frees them all.
	class FbxManager
	{
	public:
		static FbxManager* Create();
		void Destroy();

		// Stand-in internal: takes ownership of an object made by a Create function.
		template <typename T>
		T* Adopt(std::unique_ptr<T> aObject)
		{
			T* someObject = aObject.get();
			someObject->SetOwner(this);
			myObjects.push_back(std::move(aObject));
			return someObject;
		}
		void Release(FbxObject* aObject);

	private:
		FbxManager() = default;
		std::vector<std::unique_ptr<FbxObject>> myObjects;
	};

	class FbxIOSettings : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxIOSettings, FbxObject)
		static FbxIOSettings* Create(FbxManager* aManager, const char* aName);

		void SetBoolProp(const char* aPath, bool aValue) { myBools[aPath] = aValue; }
		bool GetBoolProp(const char* aPath, bool aDefault) const;

	private:
		using FbxObject::FbxObject;
		std::unordered_map<std::string, bool> myBools;
	};

	class FbxStatus
	{
	public:
		enum EStatusCode { eSuccess = 0, eFailure, eInsufficientMemory, eInvalidParameter, eIndexOutOfRange, ePasswordError, eInvalidFileVersion, eInvalidFile, eSceneCheckFail };

		EStatusCode GetCode() const { return myCode; }
		const char* GetErrorString() const { return myCode == eSuccess ? "" : myText.c_str(); }
		void SetCode(EStatusCode aCode, std::string aText = {}) { myCode = aCode; myText = std::move(aText); }
		void Clear() { SetCode(eSuccess); }

	private:
		EStatusCode myCode = eSuccess;
		std::string myText;
	};
}
