// The Qt Quick Test suites of the module Dayplex, found in the build tree's import folder.
#include <QLocale>
#include <QQmlEngine>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT
public Q_SLOTS:
    void applicationAvailable()
    {
        // The library's texts stay German whatever the machine's locale.
        QLocale::setDefault(QLocale::c());
    }
    void qmlEngineAvailable(QQmlEngine *engine) { engine->addImportPath(QStringLiteral(DAYPLEX_QML_DIR)); }
};

QUICK_TEST_MAIN_WITH_SETUP(dayplex_quick, Setup)

#include "quicktestmain.moc"
