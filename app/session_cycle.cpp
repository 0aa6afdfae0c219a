#include "app/session_cycle.h"

#include "app/demo.h"
#include "app/session.h"
#include "world/object_list.h"

void RunSessionCycle() {
    for (;;) {
        world.inGame = 0;
        SessionResult menu = RunSession();
        EndDemoSession(menu);
        DestroyWorldObjects();
        if (menu != Advance) return;

        world.inGame = 1;
        SessionResult game = RunSession();
        EndDemoSession(game);
        DestroyWorldObjects();
        world.inGame = 0;
        if (game == Closed) return;
    }
}
