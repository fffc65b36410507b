// Registry values. Root "HKCU" (exactly) is the current user, any other text the local machine.
#pragma once

// The REG_DWORD of 4 bytes as a signed value; -1 on any failure.
int reg_get_int(const char* root, const char* key, const char* name);
// 0 when written, 1 on failure.
int reg_set_int(const char* root, const char* key, const char* name, int value);
// A REG_SZ of at least one character, or null. The text lives in one shared buffer that the
// next successful read replaces: copy it before reading again.
const char* reg_get_str(const char* root, const char* key, const char* name);
// The same, and a REG_EXPAND_SZ too, with its environment variables expanded (as Windows stores
// the play commands of its file classes).
const char* reg_get_expanded_str(const char* root, const char* key, const char* name);
// 0 when written, 2 on failure.
int reg_set_str(const char* root, const char* key, const char* name, const char* text);
