// The engine's recording of its main output.
#include "platform/audio/bass.h"
#include "platform/audio/engine.h"
#include "platform/audio/recording.h"

namespace audio {

int Engine::startRecording(const std::string& path, RecordFormat format, std::string& error) {
    if (!initialised())
        return BASS_ERROR_INIT;
    if (recorder_)
        return BASS_ERROR_ALREADY;
    const int rate = output_->mixer().outputRate();
    std::unique_ptr<RecordingFile> file = createRecordingFile(path, format, rate, error);
    if (!file)
        return BASS_ERROR_FILEOPEN;
    recorder_ = std::make_unique<Recorder>(std::move(file), rate);
    output_->mixer().setRecorder(recorder_.get());
    return BASS_OK;
}

bool Engine::stopRecording(std::string* failure) {
    if (!recorder_)
        return true;
    output_->mixer().setRecorder(nullptr);
    output_->mixer().waitIdle();
    const bool good = recorder_->finish();
    if (failure && !good)
        *failure = recorder_->failed() ? recorder_->failure()
                                       : "the writer could not keep up with the output";
    recorder_.reset();
    return good;
}

int startRecording(const std::string& path, RecordFormat format, std::string& error) {
    return withEngine([&](Engine& engine) { return engine.startRecording(path, format, error); });
}

bool stopRecording(std::string* failure) {
    return withEngine([&](Engine& engine) { return engine.stopRecording(failure); });
}

RecordingFigures recordingFigures() {
    return withEngine([](Engine& engine) {
        RecordingFigures figures;
        if (const Recorder* recorder = engine.recorder()) {
            figures.running = true;
            figures.failed = recorder->failed();
            if (figures.failed)
                figures.failure = recorder->failure();
            figures.rate = recorder->rate();
            figures.frames = recorder->framesTaken();
            figures.written = recorder->framesWritten();
            figures.dropped = recorder->framesDropped();
        }
        return figures;
    });
}

} // namespace audio
