#include "engine/output_report.h"

#include "platform/audio/diagnostics.h"

namespace engine {

QByteArray outputReport() {
    const audio::OutputFigures figures = audio::outputFigures();
    return QByteArray("callbacks ") + QByteArray::number(figures.callbacks) + "\nlate_callbacks " +
           QByteArray::number(figures.lateCallbacks) + "\nstream_underruns " +
           QByteArray::number(figures.streamUnderruns) + "\ncallback_p99_percent " +
           QByteArray::number(figures.p99Percent, 'f', 1) + "\n";
}

} // namespace engine
