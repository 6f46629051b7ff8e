// Program entry: the whole life of the game is Game::Go.
#include "shell/Go.h"

int main()
{
	return Game::Go();
}
