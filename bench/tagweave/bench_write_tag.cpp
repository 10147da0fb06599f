// WriteTag on a 10 MB MP3 against copying that file, in the same run.
// Goal: WriteTag takes at most twice the time of the copy. WriteTag flushes
// its new file to disk before renaming it, so the fair baseline is a copy that
// flushes too ("flushed copy"); the plain copy (as cp does it) is shown as well.
#include "tagweave/id3v2.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using namespace tagweave;

namespace {

constexpr int kFrames = 25150; // 417-byte MPEG frames: about 10 MB

// A 10 MB MP3 of silent MPEG-1 Layer III frames, made once per run.
struct Mp3File {
    QTemporaryDir dir;
    QString path = dir.filePath("ten_megabytes.mp3");
    Mp3File() {
        QByteArray frame = QByteArray::fromHex("FFFB9000");
        frame.append(QByteArray(417 - 4, '\0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(frame.repeated(kFrames)) < 0)
            std::abort();
    }
};

Mp3File& mp3() {
    static Mp3File file;
    return file;
}

void flushedCopy(const QString& from, const QString& to) {
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY);
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0)
        std::abort();
    static char buffer[1 << 20];
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;)
        if (::write(out, buffer, static_cast<size_t>(n)) != n)
            std::abort();
    if (::fsync(out) != 0)
        std::abort();
    ::close(in);
    ::close(out);
}

void plainCopy(const QString& from, const QString& to) {
    std::filesystem::copy_file(from.toStdString(), to.toStdString(),
                               std::filesystem::copy_options::overwrite_existing);
}

void saveTag(const QString& path) {
    clsID3v2 tag;
    tag.ReadTag(path);
    tag.SetFrameValue(eTitle, "Title");
    tag.SetFrameValue(eArtist, "Artist");
    tag.SetFrameValue(eAlbum, "Album");
    tag.SetFrameValue(eYear, "2026");
    tag.SetFrameValue(eGenre, "House");
    tag.SetFrameValue(eComment, "Comment");
    tag.WriteTag(path, true);
}

double seconds(auto start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_PlainCopy(benchmark::State& state) {
    const QString copy = mp3().dir.filePath("copy.mp3");
    for (auto _ : state)
        plainCopy(mp3().path, copy);
    state.SetBytesProcessed(state.iterations() * kFrames * 417);
}

void BM_FlushedCopy(benchmark::State& state) {
    const QString copy = mp3().dir.filePath("copy.mp3");
    for (auto _ : state)
        flushedCopy(mp3().path, copy);
    state.SetBytesProcessed(state.iterations() * kFrames * 417);
}

void BM_WriteTag(benchmark::State& state) {
    for (auto _ : state)
        saveTag(mp3().path);
    state.SetBytesProcessed(state.iterations() * kFrames * 417);
}

// Both in turn, in one loop, so that the ratio comes from the same moments
// of the machine's load.
void BM_WriteTagVersusCopies(benchmark::State& state) {
    const QString copy = mp3().dir.filePath("copy.mp3");
    double writeTag = 0, flushed = 0, plain = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        plainCopy(mp3().path, copy);
        plain += seconds(start);
        start = std::chrono::steady_clock::now();
        flushedCopy(mp3().path, copy);
        flushed += seconds(start);
        start = std::chrono::steady_clock::now();
        saveTag(mp3().path);
        const double t = seconds(start);
        writeTag += t;
        state.SetIterationTime(t);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["writetag_ms"] = 1000 * writeTag / n;
    state.counters["flushed_copy_ms"] = 1000 * flushed / n;
    state.counters["plain_copy_ms"] = 1000 * plain / n;
    state.counters["ratio_to_flushed_copy"] = writeTag / flushed;
    state.counters["ratio_to_plain_copy"] = writeTag / plain;
}

} // namespace

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlushedCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTagVersusCopies)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

BENCHMARK_MAIN();
