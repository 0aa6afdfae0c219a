#include "platform/report.h"

#include <cstdio>

#include "platform/host.h"

namespace {
BoxWithoutWindow boxWithoutWindow = nullptr;
}

void SetBoxWithoutWindow(BoxWithoutWindow box) { boxWithoutWindow = box; }

void Report(const std::string& message) {
    std::fprintf(stderr, "marvaze: %s\n", message.c_str());
    std::fflush(stderr);
}

void Report(const std::string& message, const std::string& boxText, const std::string& boxCaption) {
    Report(message);
    if (host != nullptr)
        host->ShowMessageBox(boxText, boxCaption);
    else if (boxWithoutWindow != nullptr)
        boxWithoutWindow(boxText, boxCaption);
}
