// Program entry: reads the settings, then runs the game.
#include "shell/GameSettings.h"

int main()
{
	if (!GameSettings::Load())
		return 1;
	return 0;
}
