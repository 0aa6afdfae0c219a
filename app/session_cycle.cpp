#include "app/session_cycle.h"

#include "app/session.h"
#include "world/object_list.h"

void RunSessionCycle() {
    for (;;) {
        world.inGame = 0;
        SessionResult menu = RunSession();
        DestroyWorldObjects();
        if (menu != Advance) return;

        world.inGame = 1;
        SessionResult game = RunSession();
        DestroyWorldObjects();
        world.inGame = 0;
        if (game == Closed) return;
    }
}
