// One game per user: the first process listens on a per-user rendezvous; a later one asks it to
// bring its window up and leaves.
#pragma once

// True when this process is the only instance (it then holds the rendezvous until it exits), and
// also when no first instance answers within a second. False when another instance answered;
// that instance has been asked to show its window.
bool ClaimSingleInstance();
// Never blocks: true once for each request from a later process to show the window.
bool TakeShowRequest();
// Closes this process's copies of the rendezvous: for a forked child, which must not hold it.
void ReleaseSingleInstance();
