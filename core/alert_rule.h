#pragma once
// When the alert timer ticks and when a tick plays the media.

// Timer period for tm seconds, clamped to 1 .. 0x7FFFFFFF milliseconds: a zero or huge tm must
// neither overflow nor give a period of 0.
int timer_period_ms(int tm);

// While something is due, the media plays at tick 1 and at every multiple of wm. A wm of 0 or
// less means no repeat: only tick 1 plays.
bool alert_tick_plays(int tick, int wm);
