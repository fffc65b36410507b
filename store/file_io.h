// Whole-file reads and writes of the date file; a write never destroys the previous file.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include "core/file_state.h"
#include "fw/handles.h"

enum class ReadResult { ok, missing, unreadable };

ReadResult read_whole_file(const char* path, std::string& bytes);

// A whole file's bytes where they lie, mapped read-only instead of copied: for large files read
// once. Others may read the file meanwhile but not write it.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    ReadResult open(const char* path);
    std::string_view bytes() const { return {data_, size_}; }

private:
    fw::Handle file_;
    fw::Handle mapping_;
    const char* data_ = nullptr;
    size_t size_ = 0;
};

FileStamp file_stamp(const char* path);

// One read of a date file: its bytes, their lines, and the file's stamp from just before the read
// (a write during the read then shows as a stamp that changed).
struct DateFileRead {
    ReadResult result = ReadResult::missing;
    std::string bytes;
    std::vector<std::string> lines;
    FileStamp stamp;
};
DateFileRead read_date_file(const char* path);

// Writes the bytes beside the target first and replaces the target only once they are all on
// disk; a read-only target, a full disk or any other failure leaves the old file as it was.
bool write_file_replacing(const char* path, std::string_view bytes);
// The same for bytes made while they are written: produce hands each piece to the writer it gets
// and returns false when it failed or a write did.
using PieceWriter = std::function<bool(std::string_view)>;
bool write_file_replacing(const char* path, const std::function<bool(const PieceWriter&)>& produce);
