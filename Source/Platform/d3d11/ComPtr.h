#pragma once
// Microsoft::WRL::ComPtr: the reference-counting smart pointer the engine holds
// every GPU object in. Works with any type that has AddRef and Release.
#include <cstddef>
#include <utility>

namespace Microsoft::WRL
{
	template <typename T>
	class ComPtr
	{
	public:
		ComPtr() = default;
		ComPtr(std::nullptr_t) {}
		ComPtr(T* aPointer) : myPointer(aPointer) { AddRefHeld(); }
		ComPtr(const ComPtr& anOther) : myPointer(anOther.myPointer) { AddRefHeld(); }
		ComPtr(ComPtr&& anOther) noexcept : myPointer(std::exchange(anOther.myPointer, nullptr)) {}
		~ComPtr() { Reset(); }

		ComPtr& operator=(const ComPtr& anOther)
		{
			ComPtr someCopy(anOther);
			Swap(someCopy);
			return *this;
		}
		ComPtr& operator=(ComPtr&& anOther) noexcept
		{
			ComPtr someMoved(std::move(anOther));
			Swap(someMoved);
			return *this;
		}
		ComPtr& operator=(T* aPointer)
		{
			ComPtr someCopy(aPointer);
			Swap(someCopy);
			return *this;
		}

		T* Get() const { return myPointer; }
		T* operator->() const { return myPointer; }
		explicit operator bool() const { return myPointer != nullptr; }

		// Address for an out-parameter; the pointer must be empty (as on Windows, not checked).
		T** GetAddressOf() { return &myPointer; }
		T* const* GetAddressOf() const { return &myPointer; }
		T** ReleaseAndGetAddressOf()
		{
			Reset();
			return &myPointer;
		}

		void Reset()
		{
			if (T* someHeld = std::exchange(myPointer, nullptr))
				someHeld->Release();
		}
		// Takes over a reference without adding one.
		void Attach(T* aPointer)
		{
			Reset();
			myPointer = aPointer;
		}
		T* Detach() { return std::exchange(myPointer, nullptr); }
		void Swap(ComPtr& anOther) { std::swap(myPointer, anOther.myPointer); }

	private:
		void AddRefHeld()
		{
			if (myPointer)
				myPointer->AddRef();
		}

		T* myPointer = nullptr;
	};
}
