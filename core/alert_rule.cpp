#include "core/alert_rule.h"

namespace {
constexpr long long longest_period_ms = 0x7FFFFFFF;
}

int timer_period_ms(int tm)
{
    const long long ms = static_cast<long long>(tm) * 1000;
    if (ms < 1)
        return 1;
    if (ms > longest_period_ms)
        return static_cast<int>(longest_period_ms);
    return static_cast<int>(ms);
}

bool alert_tick_plays(int tick, int wm)
{
    return tick == 1 || (wm > 0 && tick % wm == 0);
}
