// Any ".wav" class name, play command and media file from the registry: the key and the command
// line always fit their 255-character buffers, and a command is given exactly when one fits.
#include <string>

#include "core/media_cmd.h"
#include "fuzz_input.h"

namespace {

const std::string key_head = "Software\\Classes\\";
const std::string key_tail = "\\shell\\play\\command";

void check_key(const std::string& cls)
{
    const std::optional<std::string> key = play_command_key(cls.c_str());
    const size_t length = key_head.size() + cls.size() + key_tail.size();
    if (!key) {
        fuzz::require(cls.empty() || length > media_cmd_chars, "a key is refused only when it cannot fit", cls);
        return;
    }
    fuzz::require(key->size() <= media_cmd_chars, "the key fits its buffer", cls);
    fuzz::require(*key == key_head + cls + key_tail, "the key names the class", cls);
}

void check_command(const std::string& play, const std::string& media)
{
    const std::optional<std::string> cmd = build_media_cmd(play.c_str(), media.c_str());
    const std::string player = play.empty() || play[0] != '"' ? play : play.substr(1);
    const size_t exe = player.find(".exe");
    if (!cmd) {
        const bool fits =
            exe != std::string::npos && 1 + exe + std::string(".exe\" \"").size() + media.size() + 1 <= media_cmd_chars;
        fuzz::require(play.empty() || media.empty() || exe == std::string::npos || !fits,
                      "a command is refused only when it is missing or cannot fit", play);
        return;
    }
    fuzz::require(cmd->size() <= media_cmd_chars, "the command fits its buffer", play);
    fuzz::require(!play.empty() && !media.empty() && exe != std::string::npos, "a command needs both texts", play);
    // The player up to its first ".exe", quoted, then the media file, quoted.
    fuzz::require(*cmd == '"' + player.substr(0, exe) + ".exe\" \"" + media + '"', "the command quotes both", play);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::string cls = in.text();
    const std::string play = in.text();
    const std::string media = in.text();
    check_key(cls);
    check_command(play, media);
    fuzz::require(!play_command_key(nullptr) && !build_media_cmd(nullptr, media.c_str()) &&
                      !build_media_cmd(play.c_str(), nullptr),
                  "no text gives nothing");
    return 0;
}
