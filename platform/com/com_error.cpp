#include "platform/com/com_error.h"

namespace com {

ComError::ComError(std::int32_t number, QString source, QString description)
    : std::runtime_error(description.toStdString()), number_(number), source_(std::move(source)),
      description_(std::move(description)) {}

} // namespace com
