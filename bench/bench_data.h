// Shared by the native benchmarks: a stopwatch and a date file of random entries.
#pragma once
#include <chrono>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

template <class Work> double time_ms(Work work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string two_digits(unsigned v)
{
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

std::string random_line(std::mt19937& rng)
{
    static const char* const days[] = {"Mon", "Thu", "Wen", "Thr", "Fri", "Sat", "Sun"};
    std::string line = std::to_string(2000 + rng() % 30) + "." + two_digits(1 + rng() % 12) + "." +
                       two_digits(1 + rng() % 28) + "\t" + days[rng() % 7] + "\t";
    switch (rng() % 3) {
    case 0: line += two_digits(rng() % 24) + ":" + two_digits(rng() % 60); break;
    case 1: line += two_digits(rng() % 12) + ":00-" + two_digits(12 + rng() % 12) + ":30"; break;
    default: break;
    }
    line += '\t';
    const unsigned length = 5 + rng() % 40;
    for (unsigned i = 0; i < length; ++i)
        line += static_cast<char>('a' + rng() % 26);
    line += rng() % 2 ? "\t0\r\n" : "\t1\r\n";
    return line;
}

std::string date_file(size_t count)
{
    std::mt19937 rng(static_cast<unsigned>(count));
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += random_line(rng);
    return bytes;
}

} // namespace
