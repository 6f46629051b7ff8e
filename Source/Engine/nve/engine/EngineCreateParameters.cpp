#include "engine/EngineCreateParameters.h"

namespace Norv
{
	EngineCreateParameters& GetEngineCreateParameters()
	{
		static EngineCreateParameters ourParameters;
		return ourParameters;
	}
}
