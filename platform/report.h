// The program's few messages, on one path: a line "marvaze: ..." on stderr, and the box that the
// game shows for the failures its players see. There is no log.
#pragma once

#include <string>

void Report(const std::string& message);
// Also shows the box with `boxText` and `boxCaption`: owned by the window when there is one, else
// the box given to SetBoxWithoutWindow, if any.
void Report(const std::string& message, const std::string& boxText, const std::string& boxCaption);

// The box for what goes wrong before the window exists: the start-up gives the ring's
// (ShowBoxWithoutWindow, platform/ring.h). Without one such a message goes to stderr only.
using BoxWithoutWindow = void (*)(const std::string& text, const std::string& caption);
void SetBoxWithoutWindow(BoxWithoutWindow box);
