// Writes the seed corpus of the options fuzzer: the default options and layout strings and a
// few edited ones, as a host or the dialogs would store them. Usage: fuzz_make_seeds DIR
#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace Dayplex;
using Kind = cContainer::Kind;

namespace {

bool write(const QDir &dir, const char *name, const QString &text)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.toUtf8()) >= 0;
}

QString editedLayout(const QString &raster, double startTime, const QString &font, int days)
{
    cContainer layout;
    layout.setContainerString(defaultLayoutString());
    layout.setValue(QStringLiteral("strAufloesung"), raster, Kind::Text);
    layout.setValue(QStringLiteral("timeStartZeit"), startTime, Kind::Date);
    layout.setValue(QStringLiteral("strFont"), font, Kind::Text);
    layout.setValue(QStringLiteral("lngAnzahlTage"), days, Kind::Integer);
    layout.setValue(QStringLiteral("blnOptimiertezeilenhoehe"), true, Kind::Boolean);
    layout.setValue(QStringLiteral("rgbBackTermine"), 0x99FFFF, Kind::Long);
    layout.setValue(QStringLiteral("lngHoeheTerminzelle"), 2, Kind::Integer);
    return layout.ContainerString();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;

    cContainer options;
    options.setContainerString(defaultOptionsString());
    options.setValue(QStringLiteral("blnGermanLegalHolidays"), false, Kind::Boolean);
    options.setValue(QStringLiteral("timeArbeitszeitVon2"), 7.5 / 24, Kind::Date);
    options.setValue(QStringLiteral("strLayoutScreenCalendar"),
                     editedLayout(QStringLiteral("15 Minuten"), 7.0 / 24,
                                  QStringLiteral("DejaVu Sans, 10 Punkt"), 5),
                     Kind::Text);
    options.setValue(QStringLiteral("strLayoutScreenGantt"),
                     editedLayout(QStringLiteral("60 Minuten"), 0,
                                  QStringLiteral("DejaVu Serif, 9pt"), 31),
                     Kind::Text);
    options.setValue(QStringLiteral("strHostFilter"), QStringLiteral("AKT_Typ = 3\nAND x"),
                     Kind::Text);

    // Numbers and flags written as texts, as the layout dialog stores typed fields.
    cContainer textual;
    textual.setValue(QStringLiteral("lngHoeheTerminzelle"), QStringLiteral("3"), Kind::Text);
    textual.setValue(QStringLiteral("lngAnzahlTage"), QStringLiteral("14"), Kind::Text);
    textual.setValue(QStringLiteral("blnErledigteDurchstreichen"), QStringLiteral("Wahr"),
                     Kind::Text);
    textual.setValue(QStringLiteral("strAufloesung"), QStringLiteral("5 Minuten"), Kind::Text);

    const QString readme = QStringLiteral("cContainer 1\n"
                                          "blnGermanLegalHolidays:b=-1\n"
                                          "lngRandLinks:i=20\n"
                                          "rgbBackTermine:l=65535\n"
                                          "timeStartZeit:d=0.3333333333333333\n"
                                          "strAufloesung:s10=30 Minuten\n");

    const bool ok =
        write(dir, "options_default.txt", defaultOptionsString())
        && write(dir, "layout_default.txt", defaultLayoutString())
        && write(dir, "options_edited.txt", options.ContainerString())
        && write(dir, "options_confirm_off.txt",
                 QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n"))
        && write(dir, "options_readme.txt", readme)
        && write(dir, "layout_edited.txt",
                 editedLayout(QStringLiteral("5 Minuten"), 0.25,
                              QStringLiteral("DejaVu Sans Mono, 12 Punkt"), 14))
        && write(dir, "layout_textual.txt", textual.ContainerString())
        && write(dir, "empty_container.txt", QStringLiteral("cContainer 1\n"));
    return ok ? 0 : 1;
}
