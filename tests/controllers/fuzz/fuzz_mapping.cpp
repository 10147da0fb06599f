// libFuzzer target: the controller mapping reader on arbitrary bytes. A
// mapping is either read or refused with a message naming a line of the
// text; a mapping read, written back as a file's text, reads again as the
// same bindings.
#include "controllers/mapping.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

bool sameBindings(const controllers::Mapping& a, const controllers::Mapping& b) {
    if (a.name != b.name || a.bindings.size() != b.bindings.size())
        return false;
    for (std::size_t i = 0; i < a.bindings.size(); ++i) {
        const controllers::Binding &x = a.bindings[i], &y = b.bindings[i];
        if (x.action != y.action || x.kind != y.kind || x.channel != y.channel ||
            x.number != y.number || x.relative != y.relative || x.softTakeover != y.softTakeover ||
            x.invert != y.invert || x.light != y.light || x.low != y.low || x.high != y.high)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const controllers::MappingRead read = controllers::parseMapping(text, "fuzz.json");
    if (!read.mapping) {
        if (!read.error.contains(" on line "))
            std::abort(); // every refusal names its line
        return 0;
    }
    const controllers::MappingRead again =
        controllers::parseMapping(controllers::mappingText(*read.mapping), "fuzz.json");
    if (!again.mapping || !sameBindings(*read.mapping, *again.mapping))
        std::abort();
    return 0;
}
