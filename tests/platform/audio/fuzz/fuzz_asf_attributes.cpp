// libFuzzer target: the ASF header attribute reader (the WMA titles) on
// arbitrary file bytes: content description, extended content description,
// metadata and metadata library records. Whatever the bytes, reading
// answers, and every name and value it gives is valid UTF-8.
#include "platform/audio/asf_attributes.h"
#include "tests/support/fuzz_work_folder.h"

#include <QStringDecoder>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool validUtf8(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !utf8.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = (fuzzing::workFolder("asf-fuzz") + "/input.wma").toStdString();
    fuzzing::writeWorkFile(QString::fromStdString(path), data, size);
    for (const auto& [name, value] : audio::readAsfAttributes(path))
        if (!validUtf8(name) || !validUtf8(value))
            std::abort();
    return 0;
}
