// Linked into every test program: the library speaks German or English after the application's
// UI language, and a test machine's locale (C, POSIX or an English one) must not decide which
// texts the suites see. The C locale names no language, so the library keeps its German
// source texts; a suite about the English texts switches on its own.
#include <QCoreApplication>
#include <QLocale>

namespace {

void useTheSourceLanguage()
{
    QLocale::setDefault(QLocale::c());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(useTheSourceLanguage)
