// The document: names the current file and takes the file commands.
#pragma once
#include <windows.h>
#include <string>

namespace fw {

class Frame;
class View;

class Document {
public:
    Document() = default;
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    virtual bool OnNewDocument() { return true; }
    virtual bool OnOpenDocument(const char* /*path*/) { return true; }
    virtual bool OnSaveDocument(const char* /*path*/) { return true; }
    virtual void PreCloseFrame(Frame* /*frame*/) { }
    // The frame became the active window: a moment to look whether the file changed.
    virtual void OnActivateFrame() { }
    // True when PreCloseFrame decided that the frame stays open after all.
    virtual bool close_cancelled() const { return false; }
    // Commands the document handles; the save commands are the framework's own.
    virtual bool OnCmdMsg(UINT id);

    // Makes the path a full path and the document title its file name.
    void SetPathName(const char* path);
    const std::string& GetPathName() const { return path_; }
    const std::string& GetTitle() const { return title_; }

    void OnFileSave();
    void OnFileSaveAs();
    // Saves to path, asking for a name first when path is empty; the saved path becomes current.
    bool DoSave(std::string path);

    void set_frame(Frame* f) { frame_ = f; }
    Frame* frame() const { return frame_; }
    View* view() const;

private:
    std::string path_, title_;
    Frame* frame_ = nullptr;
};

} // namespace fw
