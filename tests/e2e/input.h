// Real input through SendInput, as a person at the keyboard and mouse gives it, and waiting
// for the program to take it.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace e2e {

// Polls the condition every 20 ms until it holds or the time is up; true when it held.
bool wait_for(const std::function<bool()>& condition, int timeout_ms = 10000);
// Returns once the window's thread has handled everything sent to it before.
bool wait_idle(HWND window);

// Makes the window the foreground window, so that keys go to its thread.
bool bring_to_front(HWND window);

POINT centre(const RECT& rc);
void move_mouse(POINT screen);
void click(POINT screen);
// The halves of a click, for a caller that waits in between.
void press(POINT screen);
void release(POINT screen);
void double_click(POINT screen);
// Moves the pointer off every window, so that no tool tip or hot button shows.
void park_mouse();

void key(WORD vk);
void key_chord(WORD modifier, WORD vk);
// Types each character with the key that gives it (Shift where needed).
void type_text(const std::string& text);

} // namespace e2e
