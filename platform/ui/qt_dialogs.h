#pragma once
// The program's dialogs: Qt message boxes and file dialogs.
#include "platform/ui/dialogs.h"

class QWidget;

namespace ui {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    int msgBox(const QString& text, int style, const QString& title) override;
    FileDialogResult openFile(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    void setWaitCursor(bool wait) override;

private:
    QWidget* parent_;
    int waitDepth_ = 0;
};

} // namespace ui
