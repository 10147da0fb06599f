#include "mixer/recording.h"

#include "controls/widgets/console_button.h"
#include "engine/recording.h"
#include "platform/system/folders.h"
#include "platform/ui/dialogs.h"
#include "tags/track_titles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace mixer {
namespace {

constexpr std::uint32_t kColourRecording = 0x0000FF; // red

// "h:mm:ss" of whole seconds.
QString clockText(double seconds) {
    const auto whole = static_cast<long long>(seconds);
    return QString("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QChar('0'))
        .arg(whole % 60, 2, 10, QChar('0'));
}

// A file name in `folder` from `stem` and `extension` that is not taken yet,
// neither for the sound nor for its cue sheet.
QString freeName(const QString& folder, const QString& stem, const QString& extension) {
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? stem : QString("%1 (%2)").arg(stem).arg(n);
        const QString path = folder + "/" + name;
        if (!QFileInfo::exists(path + "." + extension) && !QFileInfo::exists(path + ".cue"))
            return path;
    }
}

// Title and performer of the playlist form "title - artist".
std::pair<QString, QString> titleAndPerformer(const QString& text) {
    const qsizetype at = text.lastIndexOf(" - ");
    if (at <= 0)
        return {text.trimmed(), QString()};
    return {text.left(at).trimmed(), text.mid(at + 3).trimmed()};
}

} // namespace

QString defaultRecordingsFolder() {
    return sys::musicFolder() + "/Vorlan recordings";
}

Recording::Recording(core::ProgramState& state, const RecordingControls& controls)
    : state_(state), controls_(controls) {
    if (controls_.rec)
        QObject::connect(controls_.rec, &QPushButton::clicked, controls_.rec,
                         [this] { recCB_Click(); });
    showState();
}

Recording::~Recording() {
    if (running_) {
        engine::stopRecording();
        if (sheet_)
            sheet_->write(cuePath_);
    }
}

void Recording::recCB_Click() {
    if (running_)
        stop();
    else
        start();
}

bool Recording::start() {
    if (running_)
        return true;
    QString folder = state_.settings.recordingsFolder;
    if (folder.isEmpty())
        folder = defaultRecordingsFolder();
    const auto format = static_cast<engine::RecordFormat>(state_.settings.recordingFormat);
    const QString extension = engine::recordExtension(format);
    QString failure;
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        failure = "the folder " + folder + " cannot be written";
    const QDateTime now = QDateTime::currentDateTime();
    const QString base =
        freeName(folder, "Vorlan " + now.toString("yyyy-MM-dd HH-mm-ss"), extension);
    if (failure.isEmpty())
        failure = engine::startRecording(base + "." + extension, format);
    if (!failure.isEmpty()) {
        state_.dialogs.msgBox("The recording could not start: " + failure +
                                  ".\r\n\r\nPlease choose a recordings folder you may write to "
                                  "in the options.",
                              ui::vbExclamation | ui::vbOKOnly, "Recording Not Started...");
        return false;
    }
    running_ = true;
    audioPath_ = base + "." + extension;
    cuePath_ = base + ".cue";
    sheet_.emplace("Vorlan recording " + now.toString("yyyy-MM-dd HH:mm"),
                   QFileInfo(audioPath_).fileName(),
                   format == engine::RecordFormat::mp3 ? "MP3" : "WAVE");
    listed_ = {};
    noteTracksOnAir();
    showState();
    return true;
}

void Recording::stop() {
    if (running_)
        finish(QString());
}

void Recording::showTime() {
    if (!running_)
        return;
    const engine::RecordingProgress progress = engine::recordingProgress();
    // The file failed, or the engine went down (which closes the file).
    if (progress.failed || !progress.running) {
        finish(progress.failure);
        return;
    }
    if (controls_.time)
        controls_.time->setText(clockText(progress.seconds));
}

void Recording::noteTracksOnAir() {
    if (!running_ || !sheet_)
        return;
    const double seconds = engine::recordingProgress().seconds;
    bool added = false;
    for (int side = 0; side < 2; ++side) {
        const core::DeckRecord& deck = state_.decks[side];
        const int heard = side == 0 ? state_.leftDeckVolume : state_.rightDeckVolume;
        const core::StreamHandle handle = deck.stream.handle();
        if (handle == 0 || handle == listed_[side] || heard <= 0 || !deck.stream.isPlaying())
            continue;
        listed_[side] = handle;
        const auto [title, performer] =
            titleAndPerformer(tags::getID3_tag(state_, deck.loadedFile));
        sheet_->add(seconds, title, performer);
        added = true;
    }
    // Written at once, so that the list is there even if the program ends
    // without stopping the recording; a failure is reported when it ends.
    if (added)
        sheet_->write(cuePath_);
}

void Recording::finish(QString failure) {
    running_ = false;
    const QString closing = engine::stopRecording();
    if (failure.isEmpty())
        failure = closing;
    QString cueFailure;
    if (sheet_)
        cueFailure = sheet_->write(cuePath_);
    sheet_.reset();
    showState();
    QString message;
    if (!failure.isEmpty())
        message = "The recording stopped: " + failure + ".\r\n\r\nWhat was recorded is in " +
                  audioPath_ + ".";
    if (!cueFailure.isEmpty())
        message += (message.isEmpty() ? "" : "\r\n\r\n") + QString("The track list ") + cuePath_ +
                   " could not be written: " + cueFailure;
    if (!message.isEmpty())
        state_.dialogs.msgBox(message, ui::vbExclamation | ui::vbOKOnly, "Recording Stopped...");
}

void Recording::showState() {
    if (controls_.rec)
        controls_.rec->setBackColor(running_ ? kColourRecording : app::kColourOff);
    if (controls_.time) {
        if (running_)
            controls_.time->setText(clockText(0));
        controls_.time->setEnabled(running_);
    }
}

} // namespace mixer
