#ifndef DAYPLEX_ERROR_H
#define DAYPLEX_ERROR_H

#include <dayplex/dayplex_export.h>

#include <QString>
#include <stdexcept>

namespace Dayplex {

// Numbers in the style of automation errors, so that hosts used to them can branch on them.
enum ErrorNumber : int {
    InvalidArgument = 5,
    Overflow = 6,
    IndexOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
};

// What every failing public member throws. The member has changed nothing when it throws,
// unless its documentation says otherwise.
class DAYPLEX_EXPORT Error : public std::runtime_error
{
public:
    Error(int number, const QString &message);
    ~Error() override;

    int number() const noexcept { return m_number; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    int m_number;
};

} // namespace Dayplex

#endif
