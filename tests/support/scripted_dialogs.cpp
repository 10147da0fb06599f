#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace testing_support {

ScriptedDialogs::~ScriptedDialogs() = default;

void ScriptedDialogs::clear() {
    answers_.clear();
    files_.clear();
    boxes_.clear();
    requests_.clear();
}

int ScriptedDialogs::msgBox(const QString& text, int style, const QString& title) {
    boxes_.push_back({text, style, title});
    if (whileBoxShown)
        whileBoxShown();
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text.toStdString() << "\" titled \""
                      << title.toStdString() << "\"";
        return (style & ui::kButtonMask) == ui::vbOKOnly ? ui::vbOK : ui::vbCancel;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

static ui::FileDialogResult nextFile(std::deque<ui::FileDialogResult>& files,
                                     std::vector<ui::FileDialogRequest>& requests,
                                     const ui::FileDialogRequest& request, const char* kind) {
    requests.push_back(request);
    if (files.empty()) {
        ADD_FAILURE() << "unexpected " << kind << " dialog: \"" << request.title.toStdString()
                      << "\"";
        return {};
    }
    auto result = files.front();
    files.pop_front();
    return result;
}

ui::FileDialogResult ScriptedDialogs::openFile(const ui::FileDialogRequest& request) {
    return nextFile(files_, requests_, request, "open");
}

ui::FileDialogResult ScriptedDialogs::saveFile(const ui::FileDialogRequest& request) {
    return nextFile(files_, requests_, request, "save");
}

void ScriptedDialogs::setWaitCursor(bool wait) {
    wait_ = wait;
    ++waitChanges_;
}

} // namespace testing_support
