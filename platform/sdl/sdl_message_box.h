// The message box on SDL2, owned by the game's window.
#pragma once

#include <string>

struct SDL_Window;

// Shows the box and waits for it to be closed; says the text on stderr when no box can be shown.
void ShowSdlMessageBox(SDL_Window* owner, const std::string& text, const std::string& caption);
