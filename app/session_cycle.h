// Menu, game, menu, ... until the menu is left or the window is closed.
#pragma once

void RunSessionCycle();
