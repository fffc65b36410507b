#include "core/media_cmd.h"

namespace {

bool is_empty(const char* text)
{
    return text == nullptr || *text == '\0';
}

std::optional<std::string> if_fits(std::string text)
{
    if (text.size() > media_cmd_chars)
        return std::nullopt;
    return text;
}

std::string quoted_start(const char* play_command)
{
    return play_command[0] == '"' ? std::string(play_command) : '"' + std::string(play_command);
}

} // namespace

std::optional<std::string> play_command_key(const char* wav_class)
{
    if (is_empty(wav_class))
        return std::nullopt;
    return if_fits(std::string("Software\\Classes\\") + wav_class + "\\shell\\play\\command");
}

std::optional<std::string> build_media_cmd(const char* play_command, const char* media_file)
{
    if (is_empty(play_command) || is_empty(media_file))
        return std::nullopt;
    std::string cmd = quoted_start(play_command);
    const std::size_t exe = cmd.find(".exe");
    if (exe == std::string::npos)
        return std::nullopt;
    cmd.resize(exe);
    cmd += ".exe\" \"";
    cmd += media_file;
    cmd += '"';
    return if_fits(std::move(cmd));
}
