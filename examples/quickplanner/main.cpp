#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/Main.qml")));
    // Without the module Dayplex on the import path the window cannot be made.
    if (engine.rootObjects().isEmpty())
        return 1;
    return app.exec();
}
