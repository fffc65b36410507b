#pragma once
// The command line that plays the alert media with the machine's ".wav" player.

#include <optional>
#include <string>

// Commands and key paths live in buffers of 255 characters and a terminator.
constexpr std::size_t media_cmd_chars = 255;

// Registry key of the play command of a ".wav" file class; nullopt for no class or a path that
// would not fit.
std::optional<std::string> play_command_key(const char* wav_class);

// "<player up to its first .exe>" "<media file>", quoted; everything after ".exe" in the play
// command (its arguments and placeholders) is dropped. nullopt when either text is missing or
// empty, when the play command holds no ".exe" (case matters), or when the result would not fit:
// a cut command would start the wrong program or file.
std::optional<std::string> build_media_cmd(const char* play_command, const char* media_file);
