// windows.h as the Windows ring includes it: without the min/max macros and the rarely used
// parts. Include it after the project's own headers, some of whose names it defines as macros.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
