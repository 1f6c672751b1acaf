// The example host "Terminplaner": a window with the calendar that answers NeedDates.
#include <dayplex/dayplex.h>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Terminplaner"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Terminplaner"));
    auto *agenda = new Dayplex::ucAgenda(&window);
    window.setCentralWidget(agenda);

    QObject::connect(agenda, &Dayplex::ucAgenda::NeedDates, agenda,
                     [agenda](double daystart, double dayende, const QString &) {
                         agenda->SetFilledRange(daystart, dayende);
                     });
    try {
        agenda->Enabled = true;
        agenda->SetDisplayedRange(Dayplex::currentDate(), nullptr, true, true);
    } catch (const Dayplex::Error &error) {
        QMessageBox::critical(&window, QStringLiteral("Terminplaner"), error.message());
    }

    window.resize(1000, 700);
    window.show();
    return app.exec();
}
