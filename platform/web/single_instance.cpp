// One copy of the game per site, through the Web Locks API (page.js): a second tab says so in the
// page and starts once the first one is gone.
#include <emscripten/emscripten.h>

#include "platform/ring.h"

// Calls into page.js.
EM_ASYNC_JS(int, ClaimPageLock, (), { return (await MarvazePage.claimLock()) ? 1 : 0; });

bool ClaimSingleInstance() { return ClaimPageLock() != 0; }
