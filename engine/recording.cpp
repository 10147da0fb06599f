#include "engine/recording.h"

#include "platform/audio/bass.h"
#include "platform/audio/recording.h"

namespace engine {

QString recordExtension(RecordFormat format) {
    switch (format) {
    case RecordFormat::flac:
        return "flac";
    case RecordFormat::mp3:
        return "mp3";
    case RecordFormat::wav:
        break;
    }
    return "wav";
}

QString startRecording(const QString& path, RecordFormat format) {
    std::string error;
    const int code =
        audio::startRecording(path.toStdString(), static_cast<audio::RecordFormat>(format), error);
    switch (code) {
    case BASS_OK:
        return {};
    case BASS_ERROR_INIT:
        return "the sound output is not running";
    case BASS_ERROR_ALREADY:
        return "a recording is running already";
    default:
        return QString::fromStdString(error);
    }
}

QString stopRecording() {
    std::string failure;
    if (audio::stopRecording(&failure))
        return {};
    return QString::fromStdString(failure);
}

RecordingProgress recordingProgress() {
    const audio::RecordingFigures figures = audio::recordingFigures();
    RecordingProgress progress;
    progress.running = figures.running;
    progress.failed = figures.failed;
    progress.failure = QString::fromStdString(figures.failure);
    if (figures.rate > 0)
        progress.seconds = static_cast<double>(figures.frames) / figures.rate;
    return progress;
}

} // namespace engine
