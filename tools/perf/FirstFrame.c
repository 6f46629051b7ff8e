// Preloaded into the game by memory-and-startup.sh: at the first presented frame
// (the first SDL_GL_SwapWindow) prints the time since NORV_START_NS (CLOCK_REALTIME
// in nanoseconds, taken just before the game was started) and, when
// NORV_EXIT_AT_FIRST_FRAME is set, ends the process there.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

typedef struct SDL_Window SDL_Window;

void SDL_GL_SwapWindow(SDL_Window* aWindow)
{
	static void (*ourSwap)(SDL_Window*);
	static int ourIsDone;
	if (!ourSwap)
		ourSwap = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
	ourSwap(aWindow);
	if (ourIsDone)
		return;
	ourIsDone = 1;
	struct timespec someNow;
	clock_gettime(CLOCK_REALTIME, &someNow);
	const char* someStart = getenv("NORV_START_NS");
	if (someStart)
	{
		const long long someNs = someNow.tv_sec * 1000000000LL + someNow.tv_nsec - atoll(someStart);
		fprintf(stderr, "first frame presented after %.1f ms\n", someNs / 1e6);
	}
	if (getenv("NORV_EXIT_AT_FIRST_FRAME"))
		_exit(0);
}
