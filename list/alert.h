// Media playback of the due-date alert: one worker per qualifying tick, each waiting for its player.
#pragma once
#include <windows.h>

#include <string>

// Worker thread function: plays the media command, or the media file itself when no player
// starts. The parameter is the media file (a std::string made with new), which it deletes.
UINT play_media(void* param);

// Plays the media file through the system's multimedia interface until it ends, unless an
// earlier built-in playback still runs; logs whether it started.
void play_builtin(const std::string& media_file);

// Starts command as a process and waits until it has ended, polling every 100 ms; show 0 hides
// its window. 1 when the process could not be started, else 0.
int exec_wait(const char* command, int show);
