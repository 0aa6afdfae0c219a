// The program's few messages, on one path: a line "marvaze: ..." on stderr, and the box that the
// game shows for the failures its players see. There is no log.
#pragma once

#include <string>

void Report(const std::string& message);
// Also shows the box with `boxText` and `boxCaption`, owned by the window, when there is one.
void Report(const std::string& message, const std::string& boxText, const std::string& boxCaption);
