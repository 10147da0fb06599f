// The playlist with 5,000 tagged songs (distinct files, ID3v2.3 or ID3v1),
// warm in the page cache:
// - open: Load_playlist, every entry titled from its tags as the window shows
//   it; goal >= 2,000 entries/s. Baseline: open each file and read its first
//   4 KB, the least a title reader must do.
// - sort: the quicksort of the 5,000 titles in the user's collation; goal
//   <= 100 ms. (The sort button also reads every title again; shown as
//   sort_button.)
// - find: Find First of a term only the last entry holds; goal <= 5 ms.
// - a list of 100,000 entries (the 5,000 songs twenty times over) opens:
//   its time and the resident memory it adds.
#include "core/program_state.h"
#include "platform/audio/offline.h"
#include "platform/system/tag_text.h"
#include "playlist/playlist_sort.h"
#include "playlist/playlist_window.h"
#include "playlist/search_window.h"
#include "tags/track_titles.h"
#include "tests/fixtures/fixtures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <iterator>

namespace {

constexpr int kEntries = 5000;

class QuietDialogs : public ui::Dialogs {
public:
    int msgBox(const QString&, int, const QString&) override { return ui::vbOK; }
    ui::FileDialogResult openFile(const ui::FileDialogRequest&) override { return {}; }
    ui::FileDialogResult saveFile(const ui::FileDialogRequest&) override { return {}; }
    void setWaitCursor(bool) override {}
};

std::string frame(const char* id, const QString& value) {
    const QByteArray body = QByteArray(1, '\0') + sys::encodeTagText(0, value);
    std::string out(id, 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((body.size() >> shift) & 0xFF));
    out.append(2, '\0');
    return out + body.toStdString();
}

std::string id3v2(const QString& title, const QString& artist) {
    std::string body = frame("TIT2", title) + frame("TPE1", artist) + std::string(64, '\0');
    std::string tag = "ID3\x03\x00\x00";
    tag.resize(6);
    const auto size = static_cast<std::uint32_t>(body.size());
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.push_back(static_cast<char>((size >> shift) & 0x7F));
    return tag + body;
}

std::string id3v1(const QString& title, const QString& artist) {
    std::string block = "TAG";
    for (const QString& f : {title, artist}) {
        std::string field = f.toLatin1().toStdString();
        field.resize(30, ' ');
        block += field;
    }
    block.resize(128, '\0');
    return block;
}

struct Library {
    QTemporaryDir dir;
    QString playlist = dir.filePath("five thousand.m3u");
    QStringList songs;
    Library() {
        fixtures::Tone tone;
        tone.seconds = 0.5;
        const auto mp3Path = fixtures::makeTone(dir.filePath("tone.mp3").toStdString(), tone);
        std::ifstream in(mp3Path, std::ios::binary);
        const std::string audio(std::istreambuf_iterator<char>(in), {});
        QByteArray list;
        for (int i = 0; i < kEntries; ++i) {
            const QString title = QString("Track %1 of the night").arg((i * 7919) % kEntries);
            const QString artist = QString("Artist %1").arg(i % 97);
            const bool v1 = i % 5 == 4;
            const std::string bytes =
                v1 ? audio + id3v1(title, artist) : id3v2(title, artist) + audio;
            const QString path = dir.filePath(QString("songs/%1/song %2.mp3").arg(i / 500).arg(i));
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) ||
                f.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0)
                std::abort();
            songs << path;
            list += path.toUtf8() + "\r\n";
        }
        QFile f(playlist);
        if (!f.open(QIODevice::WriteOnly) || f.write(list) < 0)
            std::abort();
    }
};

Library& library() {
    static Library lib;
    return lib;
}

struct Program {
    QuietDialogs dialogs;
    core::ProgramState state{dialogs};
    playlistF* window;
    Program() {
        state.commandLine = "-"; // nothing to reopen
        window = playlistF::load(state);
    }
};

void BM_read_first_4k(benchmark::State& st) {
    const QStringList& songs = library().songs;
    char buffer[4096];
    for (auto _ : st)
        for (const QString& path : songs) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                std::abort();
            benchmark::DoNotOptimize(f.read(buffer, sizeof buffer));
        }
    st.SetItemsProcessed(st.iterations() * kEntries);
}

void BM_open_playlist(benchmark::State& st) {
    Program program;
    for (auto _ : st) {
        program.window->Load_playlist(library().playlist);
        if (program.state.playlist.count() != kEntries)
            std::abort();
    }
    st.SetItemsProcessed(st.iterations() * kEntries);
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

void BM_open_100k_playlist(benchmark::State& st) {
    const QString path = library().dir.filePath("hundred thousand.m3u");
    {
        QFile list(path);
        if (!list.open(QIODevice::WriteOnly))
            std::abort();
        for (int copy = 0; copy < 20; ++copy)
            for (const QString& song : library().songs)
                list.write(QFile::encodeName(song) + "\n");
    }
    for (auto _ : st) {
        Program program;
        const long before = residentKb();
        program.window->Load_playlist(path);
        if (program.state.playlist.count() != 20 * kEntries)
            std::abort();
        st.counters["resident_mb_added"] = (residentKb() - before) / 1024.0;
    }
    st.SetItemsProcessed(st.iterations() * 20 * kEntries);
}

void BM_sort_titles(benchmark::State& st) {
    static const playlist::SortTable titles = [] {
        Program program;
        playlist::SortTable t;
        for (const QString& path : library().songs) {
            t.paths.push_back(path);
            t.keys.push_back(tags::getID3_tag(program.state, path));
        }
        return t;
    }();
    for (auto _ : st) {
        playlist::SortTable table = titles;
        playlist::quickSort(table, 0, kEntries - 1,
                            st.range(0) ? playlist::kAscending : playlist::kDescending,
                            playlist::kTextCompare);
        benchmark::DoNotOptimize(table.keys.data());
    }
}

void BM_sort_button(benchmark::State& st) {
    Program program;
    program.window->Load_playlist(library().playlist);
    for (auto _ : st)
        program.window->cmdAZsort_Click();
}

void BM_find_first(benchmark::State& st) {
    Program program;
    program.window->Load_playlist(library().playlist);
    program.window->findCB_Click();
    searchF* search = program.state.searchWindow;
    const QString last = program.state.playlist.line(kEntries - 1);
    search->searchTXT->setText(last.mid(last.indexOf(".  ") + 3));
    for (auto _ : st) {
        search->findFirstCB_Click();
        if (!search->found)
            std::abort();
    }
}

// Rates by processor time (what the machine's load does not blur) and by
// elapsed time (what a user waits).
BENCHMARK(BM_read_first_4k)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_read_first_4k)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5)->UseRealTime();
BENCHMARK(BM_open_playlist)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_open_playlist)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5)->UseRealTime();
BENCHMARK(BM_open_100k_playlist)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_sort_titles)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sort_button)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_find_first)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    if (!BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr))
        return 1;
    benchmark::Initialize(&argc, argv);
    library();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BASS_Free();
    return 0;
}
