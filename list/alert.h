// Media playback of the due-date alert: one worker per qualifying tick, each waiting for its player.
#pragma once
#include <windows.h>

// Worker thread function: plays the media command; the start parameter is not used.
UINT play_media(void* param);

// Starts command as a process and waits until it has ended, polling every 100 ms; show 0 hides
// its window. 1 when the process could not be started, else 0.
int exec_wait(const char* command, int show);
