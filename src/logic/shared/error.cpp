#include <dayplex/error.h>

namespace Dayplex {

Error::Error(int number, const QString &message)
    : std::runtime_error(message.toStdString())
    , m_number(number)
{
}

// Out of line, so that the type information lives in the library and catches match across it.
Error::~Error() = default;

} // namespace Dayplex
