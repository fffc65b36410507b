#include "core/mci_text.h"

namespace fw {

namespace {

constexpr unsigned long slack_ms = 5000;
constexpr unsigned long unknown_length_ms = 10 * 60 * 1000;
constexpr unsigned long longest_ms = 24ul * 60 * 60 * 1000;

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ends_with_lower(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size())
        return false;
    text.remove_prefix(text.size() - tail.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if (lower(text[i]) != tail[i])
            return false;
    return true;
}

} // namespace

const char* mci_device_type(std::string_view path)
{
    return ends_with_lower(path, ".wav") ? "waveaudio" : "mpegvideo";
}

std::string mci_open_command(std::string_view path, std::string_view alias)
{
    if (path.empty() || path.find('"') != std::string_view::npos)
        return std::string();
    std::string command = "open \"";
    command += path;
    command += "\" type ";
    command += mci_device_type(path);
    command += " alias ";
    command += alias;
    return command;
}

unsigned long mci_wait_limit_ms(std::string_view length_answer)
{
    if (length_answer.empty())
        return unknown_length_ms;
    unsigned long ms = 0;
    for (char c : length_answer) {
        if (c < '0' || c > '9')
            return unknown_length_ms;
        ms = ms * 10 + static_cast<unsigned long>(c - '0');
        if (ms > longest_ms)
            return longest_ms;
    }
    return ms + slack_ms;
}

} // namespace fw
