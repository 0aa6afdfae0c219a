// One game per user: the first process listens on a per-user rendezvous; a later one asks it to
// bring its window up and leaves.
#pragma once

// True when this process is the only instance (it then holds the rendezvous until it exits).
// False when another instance answered; that instance has been asked to show its window.
bool ClaimSingleInstance();
// Non-blocking: true once for each request from a later process to show the window.
bool TakeShowRequest();
