// A rewrite flushes its temporary file to disk before renaming it over the
// target, so a power cut never leaves a renamed but empty file. The calls
// are recorded by fsync, fdatasync and rename defined in this executable:
// the library calls them through its symbol table, so they stand in front of
// the C library's, record the call and pass it on.
#include "tagweave/id3v2.h"
#include "tests/tagweave/tag_files.h"

#include <QFile>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Call {
    std::string name;
    std::string path; // the file flushed, or the name renamed
    long long size;   // bytes of the flushed file; -1 for a rename
};
std::vector<Call>* g_calls = nullptr; // set only while a test records

template <class Function> Function* next(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

void recordFlush(const char* name, int fd) {
    if (!g_calls)
        return;
    char target[4096] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    struct stat st {};
    ::fstat(fd, &st);
    g_calls->push_back({name, std::string(target, n > 0 ? n : 0), st.st_size});
}

} // namespace

extern "C" int fsync(int fd) {
    recordFlush("fsync", fd);
    return next<int(int)>("fsync")(fd);
}

extern "C" int fdatasync(int fd) {
    recordFlush("fdatasync", fd);
    return next<int(int)>("fdatasync")(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (g_calls)
        g_calls->push_back({"rename", from, -1});
    return next<int(const char*, const char*)>("rename")(from, to);
}

using namespace tagweave;
using namespace tagtest;

TEST(SyncBeforeRename, TemporaryFileIsOnDiskBeforeItReplacesTheTarget) {
    QTemporaryDir dir;
    const QString file = dir.filePath("song.mp3");
    writeBytes(file, tag(frame("TIT2", QByteArray("\0Old\0", 5))) + silentMpeg(40));
    clsID3v2 tag;
    tag.ReadTag(file);
    tag.SetFrameValue(eTitle, "New");
    const std::pair<const char*, std::function<void()>> rewrites[] = {
        {"WriteTag", [&] { tag.WriteTag(file, false); }},
        {"RemoveTag", [&] { tag.RemoveTag(file, false); }}};
    for (const auto& [name, rewrite] : rewrites) {
        SCOPED_TRACE(name);
        std::vector<Call> calls;
        g_calls = &calls;
        rewrite();
        g_calls = nullptr;
        const auto renamed = std::find_if(calls.begin(), calls.end(),
                                          [](const Call& c) { return c.name == "rename"; });
        ASSERT_NE(renamed, calls.end());
        const long long finalSize = QFile(file).size();
        const bool flushedFirst = std::any_of(calls.begin(), renamed, [&](const Call& c) {
            return c.name != "rename" && c.path == renamed->path && c.size == finalSize;
        });
        EXPECT_TRUE(flushedFirst) << "no flush of " << renamed->path << " before its rename";
    }
}
