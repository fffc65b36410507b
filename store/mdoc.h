// The date document: names the current date file, reads it into the line store, asks the view to
// save, and merges what other programs write into that file.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include "fw/doc.h"
#include "fw/folder_watch.h"
#include "core/file_state.h"

struct DateFileRead;

// What the view's writer is asked to write, and what it wrote.
struct SaveRequest {
    std::string target;
    bool ok = false;
    // The bytes a successful save wrote, for the document to take as its base.
    std::string written;
};

class mdoc : public fw::Document {
public:
    mdoc();
    ~mdoc() override;

    // The date file of a new document, in the current folder.
    static constexpr const char* new_file_name = "trm.dat";

    bool OnNewDocument() override;
    bool OnOpenDocument(const char* path) override;
    bool OnSaveDocument(const char* path) override;
    void PreCloseFrame(fw::Frame* frame) override;
    bool close_cancelled() const override { return close_cancelled_; }
    bool OnCmdMsg(UINT id) override;
    void OnActivateFrame() override { check_file(); }

    // Appends the file's lines to the line store; false when the file exists but cannot be read.
    bool read_file(const char* path);
    // Has the view write the dates into target; false when they could not be written.
    bool ask_save(const char* target);

    // What a look at the current file found: no change, another program's change merged into
    // the dates, no file at all (deleted, or being replaced), or a file that could not be read
    // just now (locked, or being written).
    enum class FileCheck { unchanged, merged, missing, busy };
    FileCheck check_file();
    // The save the document asked for with ID_SAVE_DATES, filled in by the view's writer.
    SaveRequest& save_request() { return save_request_; }

private:
    // Asks whether to go on although the dates could not be written; true for yes.
    bool confirm_unsaved(const char* question, HWND owner) const;
    // The file as read or written is the base of the next merge; the folder gets watched.
    void take_base(const std::string& path, std::string bytes, const FileStamp& stamp);
    FileCheck check_unreadable_file(const std::string& path);
    FileCheck check_changed_file(const std::string& path);
    void merge_in(std::string_view theirs);
    // Looks at the current file until it is not busy any more, for a while.
    FileCheck settle_file();

    // A file that exists but could not be read: never overwritten by the empty list it left.
    std::string unreadable_path_;
    bool close_cancelled_ = false;
    // The current file as last read or written.
    std::string base_path_;
    FileBase base_;
    fw::FolderWatch watch_;
    bool checking_ = false;
    SaveRequest save_request_;
};
