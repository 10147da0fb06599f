// The offline output's calls and the output figures.
#include "platform/audio/diagnostics.h"
#include "platform/audio/engine.h"
#include "platform/audio/error.h"
#include "platform/audio/offline.h"

using audio::Engine;
using audio::withEngine;

extern "C" {

// Renders on the offline output, with the headphone mix into `phones`
// when it is not null (refused without a headphone output).
static BOOL renderOffline(short* out, short* phones, DWORD frames) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::Output* output = engine.output();
        if (!output || !output->offline())
            return audio::fail(BASS_ERROR_INIT);
        if (!engine.started())
            return audio::fail(BASS_ERROR_START);
        if (phones && !output->hasPhones())
            return audio::fail(BASS_ERROR_NOTAVAIL);
        static_cast<audio::OfflineOutput*>(output)->render(out, frames, phones);
        return audio::succeed();
    });
}

BOOL BASS_Offline_Render(short* out, DWORD frames) {
    return renderOffline(out, nullptr, frames);
}

BOOL BASS_Offline_RenderWithPhones(short* out, short* phones, DWORD frames) {
    return renderOffline(out, phones, frames);
}

void BASS_Offline_FailNextInit(int code) {
    withEngine([&](Engine& engine) { engine.failNextInit(code); });
}

void BASS_Offline_FailNextStart(int code) {
    withEngine([&](Engine& engine) { engine.failNextStart(code); });
}

} // extern "C"

namespace audio {

OutputFigures outputFigures() {
    return withEngine([](Engine& engine) {
        OutputFigures figures;
        Output* output = engine.output();
        if (!output)
            return figures;
        figures.callbacks = output->times().callbacks();
        figures.lateCallbacks = output->times().late();
        figures.streamUnderruns = engine.streamUnderruns();
        figures.periodMicroseconds = output->periodMicroseconds();
        figures.p50Percent = output->times().percentile(0.50);
        figures.p99Percent = output->times().percentile(0.99);
        figures.maxPercent = output->times().maximum();
        return figures;
    });
}

void resetOutputFigures() {
    withEngine([](Engine& engine) {
        if (Output* output = engine.output())
            output->times().reset();
    });
}

} // namespace audio
