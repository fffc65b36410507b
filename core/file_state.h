// What a date file looked like when the program last read or wrote it: to tell a change made by
// another program from none at all without reading the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Absent, or the size and the time of the last write (in the system's own units).
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t written = 0;

    bool operator==(const FileStamp& o) const { return exists == o.exists && size == o.size && written == o.written; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// A 64-bit hash of the bytes, eight at a time: cheap next to reading them.
std::uint64_t content_hash(std::string_view bytes);

// The file's content as last read or written (the base of a merge) with its stamp and hash.
struct FileBase {
    std::string bytes;
    FileStamp stamp;
    std::uint64_t hash = content_hash({});

    void take(std::string content, const FileStamp& at)
    {
        const std::uint64_t h = content_hash(content);
        take(std::move(content), at, h);
    }
    // The same, with the content's hash already known.
    void take(std::string content, const FileStamp& at, std::uint64_t content_hash_value)
    {
        bytes = std::move(content);
        stamp = at;
        hash = content_hash_value;
    }
    // A file whose stamp changed may still hold the same bytes (touched, or written unchanged).
    bool same_content(std::string_view other, std::uint64_t other_hash) const
    {
        return other.size() == bytes.size() && other_hash == hash;
    }
};
