#include "platform/ui/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

QString qtFilterFromPipes(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        out.append(parts[i] + " (" + pattern + ")");
    }
    return out.join(";;");
}

int QtDialogs::msgBox(const QString& text, int style, const QString& title) {
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setText(text);
    switch (style & kIconMask) {
    case vbCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Button {
        QMessageBox::StandardButton qt;
        int answer;
    };
    std::vector<Button> buttons;
    switch (style & kButtonMask) {
    case vbOKCancel:
        buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNoCancel:
        buttons = {
            {QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo:
        buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
        break;
    default:
        buttons = {{QMessageBox::Ok, vbOK}};
        break;
    }
    QMessageBox::StandardButtons all;
    for (auto& b : buttons)
        all |= b.qt;
    box.setStandardButtons(all);
    const std::size_t defaultIndex = (style & vbDefaultButton2) ? 1 : 0;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].qt);
    // Closing the box with Escape or the window's close answers Cancel where
    // there is one, otherwise the last button.
    const int chosen = box.exec();
    for (auto& b : buttons)
        if (chosen == b.qt)
            return b.answer;
    return buttons.size() > 1 && (style & kButtonMask) != vbYesNo ? vbCancel
                                                                  : buttons.back().answer;
}

static FileDialogResult runFileDialog(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dialog(parent, r.title, r.initialFolder, qtFilterFromPipes(r.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else if (r.flags & cdlOFNAllowMultiselect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        dialog.setFileMode((r.flags & cdlOFNFileMustExist) ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
    if (!r.defaultExt.isEmpty())
        dialog.setDefaultSuffix(r.defaultExt);
    if (!save || !(r.flags & cdlOFNOverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(r.flags & cdlOFNOverwritePrompt));
    const QStringList filters = dialog.nameFilters();
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[r.filterIndex - 1]);
    if (!r.fileName.isEmpty())
        dialog.selectFile(r.fileName);
    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return result;
    result.cancelled = false;
    if (files.size() == 1) {
        result.fileName = files.front();
    } else {
        result.fileName = QFileInfo(files.front()).absolutePath();
        for (const QString& f : files)
            result.fileName += QChar(0) + QFileInfo(f).fileName();
    }
    return result;
}

FileDialogResult QtDialogs::openFile(const FileDialogRequest& request) {
    return runFileDialog(parent_, request, false);
}

FileDialogResult QtDialogs::saveFile(const FileDialogRequest& request) {
    return runFileDialog(parent_, request, true);
}

void QtDialogs::setWaitCursor(bool wait) {
    if (wait) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitDepth_;
    } else {
        while (waitDepth_ > 0) {
            QApplication::restoreOverrideCursor();
            --waitDepth_;
        }
    }
}

} // namespace ui
