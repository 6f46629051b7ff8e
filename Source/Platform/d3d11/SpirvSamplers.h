#pragma once
// Which sampler slot each texture unit of a SPIR-V stage reads through. A
// sampler variable at binding t named "..._sN" reads through sampler slot N;
// without the suffix through slot 0.
#include <cstddef>
#include <utility>
#include <vector>

namespace Platform::impl
{
	// (texture unit, sampler slot) pairs; empty for malformed or sampler-less code.
	std::vector<std::pair<unsigned, unsigned>> FindSamplerUses(const void* aCode, std::size_t aLength);
	// True when aCode starts like a SPIR-V module (magic number, whole words).
	bool IsSpirv(const void* aCode, std::size_t aLength);
}
