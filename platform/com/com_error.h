#pragma once
// The error a component raises across its interface: a 32-bit number, the
// source that raised it and a description, as the component runtime carries
// them. Components throw it; the program catches it by number.
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace com {

// Base of the numbers components add their own message numbers to.
constexpr std::int32_t vbObjectError = static_cast<std::int32_t>(0x80040000u);

class ComError : public std::runtime_error {
public:
    ComError(std::int32_t number, QString source, QString description);

    std::int32_t number() const noexcept { return number_; }
    const QString& source() const noexcept { return source_; }
    const QString& description() const noexcept { return description_; }

private:
    std::int32_t number_;
    QString source_;
    QString description_;
};

} // namespace com
