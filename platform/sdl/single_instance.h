// One game per user: the first process listens on a per-user rendezvous; a later one asks it to
// bring its window up and leaves.
#pragma once

// True when this process is the only instance (it then holds the rendezvous until it exits), also
// when the first instance was quitting (this one takes over once it has gone), and when no first
// instance can be reached within a second. False when another instance was asked to show its
// window and goes on running.
bool ClaimSingleInstance();
// Never blocks: true once for each request from a later process to show the window. The later
// process learns at the next call that this one goes on running.
bool TakeShowRequest();
// Closes this process's copies of the rendezvous: for a forked child, which must not hold it.
void ReleaseSingleInstance();
