// Replays every input of one or more fuzz corpus folders through a fuzz
// target's entry function, as an ordinary test under the sanitizers, so that
// a crash once found and fixed stays fixed. The folders come from the build
// (FUZZ_CORPUS_FOLDERS, a list of string literals); every file beneath them, in
// subfolders too, is one input; a folder that does not exist yet is skipped.
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzCorpus, EveryInputRunsCleanly) {
    QStringList inputs;
    const char* const folders[] = {FUZZ_CORPUS_FOLDERS};
    for (const char* folder : folders) {
        QDirIterator it(QFile::decodeName(folder), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            inputs << it.next();
    }
    inputs.sort();
    ASSERT_FALSE(inputs.isEmpty()) << "no inputs in " << folders[0];
    for (const QString& input : inputs) {
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << input.toStdString();
        const QByteArray bytes = file.readAll();
        // Named first, so that a crash report says which input it was.
        std::fprintf(stderr, "replaying %s\n", QFile::encodeName(input).constData());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
}
