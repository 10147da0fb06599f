#include "core/number_text.h"

#include <cmath>

namespace core {

double numericPrefix(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    const int n = static_cast<int>(t.size());
    auto digit = [&](int k) { return k < n && t[k].isDigit() && t[k].unicode() < 128; };
    if (i < n && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool any = false;
    while (digit(i)) {
        ++i;
        any = true;
    }
    if (i < n && t[i] == '.') {
        ++i;
        while (digit(i)) {
            ++i;
            any = true;
        }
    }
    if (!any)
        return 0.0;
    int end = i;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        int j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-'))
            ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            end = j;
        }
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

long long roundHalfEven(double value) {
    return std::llrint(value);
}

} // namespace core
