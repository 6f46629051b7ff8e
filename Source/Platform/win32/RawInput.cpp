// Raw mouse input: registration and the records WM_INPUT refers to.
#include "win32/Internal.h"

#include <array>
#include <cstring>

namespace
{
	// Records kept for GetRawInputData; a handle older than this many motions is stale.
	constexpr std::size_t RAW_INPUT_RECORD_COUNT = 256;
	constexpr USHORT USAGE_PAGE_GENERIC_DESKTOP = 1;
	constexpr USHORT USAGE_MOUSE = 2;
	constexpr DWORD RIDEV_REMOVE = 0x00000001;

	struct RawInputState
	{
		struct Record
		{
			RAWINPUT myData{};
			std::uintptr_t mySerial = 0;
		};
		std::array<Record, RAW_INPUT_RECORD_COUNT> myRecords;
		std::uintptr_t myNextSerial = 1;
		bool myIsMouseRegistered = false;
		HWND myMouseTarget = nullptr;
		bool myIsPlacementPending = false;
		POINT myPlacement{};
	};

	RawInputState& State()
	{
		static RawInputState ourState;
		return ourState;
	}

	static_assert(sizeof(RAWINPUTHEADER) == 24 && sizeof(RAWINPUT) == 48, "raw input records are laid out as on 64-bit Windows");
}

namespace Platform::impl
{
	HRAWINPUT StoreRawMouseMotion(int aDeltaX, int aDeltaY)
	{
		RawInputState& someState = State();
		const std::uintptr_t someSerial = someState.myNextSerial++;
		auto& someRecord = someState.myRecords[someSerial % RAW_INPUT_RECORD_COUNT];
		someRecord.mySerial = someSerial;
		someRecord.myData = {};
		someRecord.myData.header.dwType = RIM_TYPEMOUSE;
		someRecord.myData.header.dwSize = sizeof(RAWINPUT);
		someRecord.myData.data.mouse.usFlags = MOUSE_MOVE_RELATIVE;
		someRecord.myData.data.mouse.lLastX = aDeltaX;
		someRecord.myData.data.mouse.lLastY = aDeltaY;
		return reinterpret_cast<HRAWINPUT>(someSerial);
	}

	void ExpectPlacedCursorMotion(int aScreenX, int aScreenY)
	{
		RawInputState& someState = State();
		someState.myIsPlacementPending = true;
		someState.myPlacement = { aScreenX, aScreenY };
	}

	bool IsPlacedCursorMotion(int aScreenX, int aScreenY)
	{
		RawInputState& someState = State();
		if (!someState.myIsPlacementPending || someState.myPlacement.x != aScreenX || someState.myPlacement.y != aScreenY)
			return false;
		someState.myIsPlacementPending = false;
		return true;
	}

	HWND GetRawMouseTarget(HWND aWindow)
	{
		const RawInputState& someState = State();
		if (!someState.myIsMouseRegistered)
			return nullptr;
		return someState.myMouseTarget ? someState.myMouseTarget : aWindow;
	}

	void ForgetRawInputTarget(HWND aWindow)
	{
		RawInputState& someState = State();
		if (someState.myMouseTarget == aWindow)
		{
			someState.myMouseTarget = nullptr;
			someState.myIsMouseRegistered = false;
		}
	}
}

BOOL RegisterRawInputDevices(const RAWINPUTDEVICE* aDevices, UINT aCount, UINT aSize)
{
	if (aDevices == nullptr || aCount == 0 || aSize != sizeof(RAWINPUTDEVICE))
		return FALSE;
	RawInputState& someState = State();
	for (UINT someIndex = 0; someIndex < aCount; ++someIndex)
	{
		const RAWINPUTDEVICE& someDevice = aDevices[someIndex];
		if (someDevice.usUsagePage != USAGE_PAGE_GENERIC_DESKTOP || someDevice.usUsage != USAGE_MOUSE)
			continue;
		someState.myIsMouseRegistered = (someDevice.dwFlags & RIDEV_REMOVE) == 0;
		someState.myMouseTarget = someState.myIsMouseRegistered ? someDevice.hwndTarget : nullptr;
	}
	return TRUE;
}

UINT GetRawInputData(HRAWINPUT aRawInput, UINT aCommand, void* aData, UINT* aSize, UINT aHeaderSize)
{
	constexpr UINT FAILURE = static_cast<UINT>(-1);
	if (aCommand != RID_INPUT || aSize == nullptr || aHeaderSize != sizeof(RAWINPUTHEADER))
		return FAILURE;
	const std::uintptr_t someSerial = reinterpret_cast<std::uintptr_t>(aRawInput);
	const auto& someRecord = State().myRecords[someSerial % RAW_INPUT_RECORD_COUNT];
	if (someSerial == 0 || someRecord.mySerial != someSerial)
		return FAILURE;
	if (aData == nullptr)
	{
		*aSize = sizeof(RAWINPUT);
		return 0;
	}
	if (*aSize < sizeof(RAWINPUT))
		return FAILURE;
	std::memcpy(aData, &someRecord.myData, sizeof(RAWINPUT));
	return sizeof(RAWINPUT);
}
