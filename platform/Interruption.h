#pragma once

// The signal by which the user asked the program to end (Ctrl+C, kill, a closed terminal), or 0.
// Long start-up steps look at it to give up early instead of making the user wait for what will
// not be used. The first signal noted stays; noting is safe in a signal handler.
void NoteInterruption(int signal);
int NotedInterruption();
