// A week from a QStandardItemModel: dragging an appointment changes the model, which the
// table beside the calendar shows.
#include <dayplex/dayplex.h>

#include <QApplication>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStandardItemModel model(0, 4); // key, subject, start, end: the binding's default columns
    model.setHorizontalHeaderLabels({"Schlüssel", "Betreff", "Beginn", "Ende"});
    const QDate monday = QDate::currentDate().addDays(1 - QDate::currentDate().dayOfWeek());
    const auto add = [&](const QString &subject, int day, int from, int to) {
        const int row = model.rowCount();
        model.insertRow(row);
        model.setData(model.index(row, 0), QString::number(row + 1));
        model.setData(model.index(row, 1), subject);
        model.setData(model.index(row, 2), QDateTime(monday.addDays(day), QTime(from, 0)));
        model.setData(model.index(row, 3), QDateTime(monday.addDays(day), QTime(to, 0)));
    };
    add("Teambesprechung", 0, 9, 10);
    add("Kundentermin Müller", 2, 14, 16);

    QSplitter window;
    auto *agenda = new Dayplex::ucAgenda(&window);
    (new QTableView(&window))->setModel(&model);
    Dayplex::ModelBinding binding(agenda);
    binding.setModel(&model); // answers NeedDates, writes drags back with setData
    double lastDay = Dayplex::toDate(monday) + 6;
    agenda->SetDisplayedRange(Dayplex::toDate(monday), &lastDay);
    window.resize(1300, 650);
    window.setSizes({760, 540});
    window.show();
    return app.exec();
}
