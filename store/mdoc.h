// The date document: names the current date file, reads it into the line store, asks the view to save.
#pragma once
#include <windows.h>
#include <string>
#include "fw/doc.h"

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

    // Appends the file's lines to the line store; false when the file exists but cannot be read.
    bool read_file(const char* path);
    // Has the view write the dates into target; false when they could not be written.
    bool ask_save(const char* target);

private:
    // Asks whether to go on although the dates could not be written; true for yes.
    bool confirm_unsaved(const char* question, HWND owner) const;

    // A file that exists but could not be read: never overwritten by the empty list it left.
    std::string unreadable_path_;
    bool close_cancelled_ = false;
};
