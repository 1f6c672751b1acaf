#ifndef TERMINPLANER_GERMANERROR_H
#define TERMINPLANER_GERMANERROR_H

#include <QString>
#include <stdexcept>

namespace Terminplaner {

// What the host's layers throw: a German sentence meant for the user, kept as UTF-8.
class GermanError : public std::runtime_error
{
public:
    explicit GermanError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

} // namespace Terminplaner

#endif
