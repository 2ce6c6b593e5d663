#include "core/Error.h"

namespace folian {

Error::Error(int32_t number, const std::string& description) : std::runtime_error(description), m_number(number) {}

} // namespace folian
