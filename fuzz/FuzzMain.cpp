// The libFuzzer entry point of one loader's target, named at build time.
#include "FuzzTargets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
	static const NorvFuzz::Target* const ourTarget = NorvFuzz::FindTarget(NORV_FUZZ_TARGET);
	if (ourTarget == nullptr || !ourTarget->myRun({ aData, aSize }))
		__builtin_trap(); // an unknown target, or the loader returned something inconsistent
	return 0;
}
