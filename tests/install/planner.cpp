// A form made in Designer with both views: uic's code must create them with the properties the
// form sets, against the installed headers and library.
#include "ui_planner.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget form;
    Ui::Planner ui;
    ui.setupUi(&form);
    if (ui.agenda->DayInfoHeight() != 2 || ui.agenda->MinDateHeight() != 3
        || ui.agenda->ConfirmChanges() || !ui.gantt->OptimaleZeilenhoehe()) {
        std::fprintf(stderr, "the form's properties did not reach the views\n");
        return 1;
    }
    form.show();
    if (ui.agenda->paintToImage(ui.agenda->size()).isNull()
        || ui.gantt->paintToImage(ui.gantt->size()).isNull()) {
        std::fprintf(stderr, "a view on the form does not paint\n");
        return 1;
    }
    std::puts("the Designer form works");
    return 0;
}
