// Creates each control through the installed headers and library and checks a member of each.
#include <dayplex/dayplex.h>

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef DAYPLEX_PACKAGE_VERSION
    if (std::strcmp(DAYPLEX_VERSION_STR, DAYPLEX_PACKAGE_VERSION) != 0) {
        std::fprintf(stderr, "headers of %s in package %s\n", DAYPLEX_VERSION_STR,
                     DAYPLEX_PACKAGE_VERSION);
        return 1;
    }
#endif
    Dayplex::ucAgenda agenda;
    Dayplex::ctlGantt gantt;
    Dayplex::ctlIntellimouse wheel;
    if (agenda.FirstDay() != Dayplex::currentDate() || agenda.GetAnzahlTage() != 1) {
        std::fprintf(stderr, "unexpected first range\n");
        return 1;
    }
    try {
        agenda.DateAbrunden(1.0, 0.0);
        std::fprintf(stderr, "no error for a zero step\n");
        return 1;
    } catch (const Dayplex::Error &error) {
        // The exception type must be the library's own across the library boundary.
        if (error.number() != Dayplex::DivisionByZero)
            return 1;
    }
    QVariantList args{7, 3};
    if (Dayplex::Dispatch::invoke(&agenda, 0x6003002E, Dayplex::Dispatch::Call::Method, args).toInt() != 7)
        return 1;
    std::puts("installed library works");
    return 0;
}
