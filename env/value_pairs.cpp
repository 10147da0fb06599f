#include "env/value_pairs.h"

#include "platform/com/com_error.h"

#include <utility>

namespace qzvenv {

namespace {

const QString kSource = QStringLiteral("qzvenv.cValuePairs");

[[noreturn]] void raiseOutOfRange() {
    throw com::ComError(9, kSource, QStringLiteral("Subscript out of range"));
}

[[noreturn]] void raiseNoSuchKey() {
    throw com::ComError(5, kSource, QStringLiteral("Invalid procedure call or argument"));
}

} // namespace

int cValuePairs::indexOf(const QString& key) const {
    const auto sensitivity = caseSensitive_ ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i].compare(key, sensitivity) == 0)
            return static_cast<int>(i);
    return -1;
}

bool cValuePairs::add(cValuePair pair) {
    if (indexOf(pair.Variable()) >= 0)
        return false;
    keys_.push_back(pair.Variable());
    items_.push_back(std::move(pair));
    return true;
}

const cValuePair& cValuePairs::Item(int position) const {
    if (position < 1 || position > Count())
        raiseOutOfRange();
    return items_[static_cast<std::size_t>(position - 1)];
}

cValuePair& cValuePairs::Item(int position) {
    return const_cast<cValuePair&>(std::as_const(*this).Item(position));
}

const cValuePair& cValuePairs::Item(const QString& key) const {
    const int index = indexOf(key);
    if (index < 0)
        raiseNoSuchKey();
    return items_[static_cast<std::size_t>(index)];
}

cValuePair& cValuePairs::Item(const QString& key) {
    return const_cast<cValuePair&>(std::as_const(*this).Item(key));
}

} // namespace qzvenv
