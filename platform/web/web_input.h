// The game's keys in a web page: the keyboard (html5.h key events on the whole window), pads
// (the Gamepad API, "standard" mapping) and the touch controls (page.js), read as the same keys.
#pragma once

// Listens for keys, focus and visibility; starts the touch controls (shown at the first touch).
void StartWebInput();
// Once a frame, at the message pump: the pads are sampled, and the keys pressed since the last
// pump count as down for this frame even if they have been let go already.
void ReadWebInput();
// True while the key is held, or once after a press that was let go within the frame.
bool WebKeyDown(int virtualKey);
// While the page's dialog is up the game's keys are the dialog's: none reaches the game, and
// none is left held once it closes.
void SetWebInputPaused(bool paused);
