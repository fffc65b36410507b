#include "fw/registry.h"
#include <windows.h>
#include <cstring>
#include <memory>

namespace {

HKEY root_key(const char* root)
{
    return std::strcmp(root, "HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

class Key {
public:
    Key(const char* root, const char* path, bool create)
    {
        LONG r = create ? RegCreateKeyExA(root_key(root), path, 0, nullptr, 0, KEY_WRITE, nullptr, &h_, nullptr)
                        : RegOpenKeyExA(root_key(root), path, 0, KEY_READ, &h_);
        if (r != ERROR_SUCCESS)
            h_ = nullptr;
    }
    ~Key()
    {
        if (h_)
            RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

std::unique_ptr<char[]> g_str_buffer;

} // namespace

int reg_get_int(const char* root, const char* key, const char* name)
{
    Key k(root, key, false);
    if (!k.get())
        return -1;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(k.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return -1;
    if (type != REG_DWORD || size != 4)
        return -1;
    return static_cast<int>(value);
}

int reg_set_int(const char* root, const char* key, const char* name, int value)
{
    Key k(root, key, true);
    if (!k.get())
        return 1;
    DWORD v = static_cast<DWORD>(value);
    return RegSetValueExA(k.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS
               ? 0
               : 1;
}

namespace {

// The value's bytes as text, terminated at the stored length whether or not a terminator was
// stored; null for a value of another type than `wanted`, or without characters.
std::unique_ptr<char[]> read_text_value(HKEY key, const char* name, DWORD wanted)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != wanted || size == 0)
        return nullptr;
    std::unique_ptr<char[]> buf(new (std::nothrow) char[size + 1]);
    if (!buf)
        return nullptr;
    DWORD got = size;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.get()), &got) != ERROR_SUCCESS ||
        type != wanted || got > size)
        return nullptr;
    buf[got] = '\0';
    if (buf[0] == '\0')
        return nullptr;
    return buf;
}

std::unique_ptr<char[]> expanded(const char* text)
{
    DWORD size = ExpandEnvironmentStringsA(text, nullptr, 0);
    if (size == 0)
        return nullptr;
    std::unique_ptr<char[]> buf(new (std::nothrow) char[size]);
    if (!buf || ExpandEnvironmentStringsA(text, buf.get(), size) == 0 || buf[0] == '\0')
        return nullptr;
    return buf;
}

const char* keep_shared(std::unique_ptr<char[]> text)
{
    if (!text)
        return nullptr;
    g_str_buffer = std::move(text);
    return g_str_buffer.get();
}

} // namespace

const char* reg_get_str(const char* root, const char* key, const char* name)
{
    Key k(root, key, false);
    if (!k.get())
        return nullptr;
    return keep_shared(read_text_value(k.get(), name, REG_SZ));
}

const char* reg_get_expanded_str(const char* root, const char* key, const char* name)
{
    Key k(root, key, false);
    if (!k.get())
        return nullptr;
    if (std::unique_ptr<char[]> plain = read_text_value(k.get(), name, REG_SZ))
        return keep_shared(std::move(plain));
    std::unique_ptr<char[]> stored = read_text_value(k.get(), name, REG_EXPAND_SZ);
    return stored ? keep_shared(expanded(stored.get())) : nullptr;
}

int reg_set_str(const char* root, const char* key, const char* name, const char* text)
{
    Key k(root, key, true);
    if (!k.get())
        return 2;
    DWORD len = static_cast<DWORD>(std::strlen(text));
    return RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), len) == ERROR_SUCCESS ? 0 : 2;
}
