#ifndef DAYPLEX_ERROR_H
#define DAYPLEX_ERROR_H

#include <dayplex/dayplex_export.h>

#include <QString>
#include <stdexcept>

namespace Dayplex {

/// Numbers in the style of automation errors, so that hosts used to them can branch on them.
/// Late binding adds 438 (unknown member) and 450 (wrong number of arguments).
enum ErrorNumber : int {
    InvalidArgument = 5,  ///< an argument outside what the member accepts
    Overflow = 6,         ///< a number or coordinate beyond the range it must fit
    IndexOutOfRange = 9,  ///< an index, cell or date outside the view's cells
    DivisionByZero = 11,  ///< a division by zero
    TypeMismatch = 13,    ///< a value of the wrong kind, such as a text where a number belongs
};

/// What every failing public member throws. The member has changed nothing when it throws,
/// unless its documentation says otherwise.
class DAYPLEX_EXPORT Error : public std::runtime_error
{
public:
    /// An error with its automation-style number and a message for the log.
    Error(int number, const QString &message);
    ~Error() override;

    /// The automation-style number, one of ErrorNumber or 438, 450.
    int number() const noexcept { return m_number; }
    /// The message, as what() has it in UTF-8.
    QString message() const { return QString::fromUtf8(what()); }

private:
    int m_number;
};

} // namespace Dayplex

#endif
