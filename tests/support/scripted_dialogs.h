#pragma once
// Test double of the dialogs seam: records every box and file dialog, answers
// from queues filled by the test, and fails the test on a box or dialog that
// nobody queued an answer for.
#include "platform/ui/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

struct ShownBox {
    QString text;
    int style = 0;
    QString title;
    int buttons() const { return style & ui::kButtonMask; }
    int icon() const { return style & ui::kIconMask; }
};

class ScriptedDialogs : public ui::Dialogs {
public:
    ~ScriptedDialogs() override;

    // Queue the answer of the next box (ui::vbOK, vbYes, ...).
    void expectBox(int answer) { answers_.push_back(answer); }
    // Queue the result of the next open or save dialog.
    void expectFile(ui::FileDialogResult result) { files_.push_back(std::move(result)); }
    void expectFile(const QString& path) { files_.push_back({false, path}); }
    void expectCancelledFile() { files_.push_back({true, {}}); }

    const std::vector<ShownBox>& boxes() const { return boxes_; }
    const std::vector<ui::FileDialogRequest>& fileRequests() const { return requests_; }
    bool waitCursor() const { return wait_; }
    int waitCursorChanges() const { return waitChanges_; }
    void clear();
    // Answers still queued (a test usually wants none at its end).
    std::size_t pendingAnswers() const { return answers_.size() + files_.size(); }

    // Runs while each box is shown, as a real box runs the event loop.
    std::function<void()> whileBoxShown;

    int msgBox(const QString& text, int style, const QString& title) override;
    ui::FileDialogResult openFile(const ui::FileDialogRequest& request) override;
    ui::FileDialogResult saveFile(const ui::FileDialogRequest& request) override;
    void setWaitCursor(bool wait) override;

private:
    std::deque<int> answers_;
    std::deque<ui::FileDialogResult> files_;
    std::vector<ShownBox> boxes_;
    std::vector<ui::FileDialogRequest> requests_;
    bool wait_ = false;
    int waitChanges_ = 0;
};

} // namespace testing_support
