#include "kernel/Console.h"

#include <cstdio>
#include <unistd.h>

namespace Platform
{
	void PauseConsole()
	{
		if (!isatty(STDIN_FILENO))
			return;
		std::printf("Press any key to continue . . .\n");
		std::fflush(stdout);
		std::getchar();
	}
}
