#pragma once
// The one seam through which the program shows message boxes, open and save
// file dialogs and the wait cursor. The program uses QtDialogs; tests use a
// scripted double that records every box and answers from a queue.
#include <QString>
#include <cstdint>

namespace ui {

// Message box style: buttons + icon (+ default button), classic values.
enum MsgStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};
inline constexpr int kButtonMask = 0x0F;
inline constexpr int kIconMask = 0xF0;

// Message box answers, classic values.
enum MsgAnswer : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Common dialog flags the program uses.
enum FileDialogFlags : std::uint32_t {
    cdlOFNOverwritePrompt = 0x2,
    cdlOFNHideReadOnly = 0x4,
    cdlOFNAllowMultiselect = 0x200,
    cdlOFNPathMustExist = 0x800,
    cdlOFNFileMustExist = 0x1000,
    cdlOFNExplorer = 0x80000,
};

struct FileDialogRequest {
    QString title;
    QString filter;      // "Name|*.ext;*.ext2|Name|*.ext" pairs
    int filterIndex = 1; // 1-based
    QString initialFolder;
    std::uint32_t flags = 0;
    QString defaultExt; // without the dot
    QString fileName;   // initial file name
};

struct FileDialogResult {
    bool cancelled = true;
    // One chosen file: its full path. Several (multiple selection): the
    // folder, NUL, name, NUL, name ... as the common dialog returns them.
    QString fileName;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal box. An empty title means the application's title.
    virtual int msgBox(const QString& text, int style = vbOKOnly, const QString& title = {}) = 0;
    virtual FileDialogResult openFile(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFile(const FileDialogRequest& request) = 0;
    // The hourglass pointer on (true) or back to the default (false).
    virtual void setWaitCursor(bool wait) = 0;
};

// Splits "Name|pattern|Name|pattern" into Qt's "Name (pattern);;..." form.
QString qtFilterFromPipes(const QString& filter);

} // namespace ui
