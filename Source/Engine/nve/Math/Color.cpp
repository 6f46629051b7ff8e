#include "Math/Color.h"

#include <cmath>

namespace Norv
{
	namespace
	{
		constexpr float SRGB_LINEAR_THRESHOLD = 0.04045f;

		float SrgbToLinear(float aValue)
		{
			if (aValue >= SRGB_LINEAR_THRESHOLD)
				return std::pow((aValue + 0.055f) / 1.055f, 2.4f);
			return aValue / 12.92f;
		}
	}

	Color Color::AsLinear() const
	{
		return { SrgbToLinear(r), SrgbToLinear(g), SrgbToLinear(b), a };
	}
}
