#include "headless.h"

#include "hostbridge.h"

#include <dayplex/dayplex.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QTextStream>
#include <cmath>

namespace Terminplaner {

namespace {

// The reason in German and the exit code: 2 for what the arguments ask for and cannot be
// done, 1 for a failure on the way.
struct Failure
{
    QString text;
    int exitCode = 1;
};

// Prepares a view as the window does, but never shows it.
template <typename View, typename Fill>
void prepare(View &view, const QString &storedOptions, const CommandLine &cl, Fill fill, QString &loadError,
             QTextStream &err)
{
    const QString warning = HostBridge::restoreOptions(view, storedOptions);
    if (!warning.isEmpty())
        err << "terminplaner: " << warning << Qt::endl;
    QObject::connect(&view, &View::NeedDates, &view,
                     [&view, fill, &loadError](double first, double last, const QString &fields) {
                         try {
                             fill(view, first, last, fields);
                         } catch (const std::exception &error) {
                             loadError = QString::fromUtf8(error.what());
                             view.Clear();
                         }
                     });
    view.resize(cl.imageSize);
    view.Enabled = true;
    const double first = Dayplex::toDate(cl.from.isValid() ? cl.from : QDate::currentDate());
    double last = first + cl.days - 1;
    // Exactly the asked days: no alignment on a weekday.
    view.SetDisplayedRange(first, &last, false, false);
    if (!loadError.isEmpty())
        throw Failure{QStringLiteral("Die Termine konnten nicht geladen werden: %1").arg(loadError)};
}

void removeOld(const QString &path)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw Failure{QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(info.absolutePath()), 2};
    if (info.exists() && !QFile::remove(path))
        throw Failure{QStringLiteral("Die Datei „%1“ kann nicht überschrieben werden.").arg(path)};
}

void saveImage(const QImage &image, const CommandLine &cl)
{
    // A picture the view cannot paint is refused, never written blank.
    if (image.isNull())
        throw Failure{QStringLiteral("Ein Bild von %1x%2 Pixeln%3 ist zu groß für die Ansicht; "
                                     "bitte eine kleinere --size wählen.")
                          .arg(cl.imageSize.width())
                          .arg(cl.imageSize.height())
                          .arg(cl.scale == 1 ? QString()
                                             : QStringLiteral(" mit Pixelverhältnis %1")
                                                   .arg(QLocale().toString(cl.scale))),
                      2};
    if (image.deviceIndependentSize().toSize() != cl.imageSize)
        throw Failure{QStringLiteral("Die Ansicht hat kein Bild der Größe %1x%2 geliefert.")
                          .arg(cl.imageSize.width())
                          .arg(cl.imageSize.height())};
    removeOld(cl.outputFile);
    if (!image.save(cl.outputFile, "PNG"))
        throw Failure{QStringLiteral("Das Bild kann nicht nach „%1“ geschrieben werden.").arg(cl.outputFile)};
}

void checkPdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(5) != "%PDF-")
        throw Failure{QStringLiteral("Die PDF-Datei „%1“ wurde nicht erzeugt.").arg(path)};
}

// Renders one prepared view into the asked file: a PNG of its screen picture, or a PDF
// through its print job.
template<typename View, typename PrintFn>
void renderView(View &view, const CommandLine &cl, PrintFn print)
{
    if (cl.mode == RunMode::Screenshot) {
        saveImage(view.paintToImage(cl.imageSize, cl.scale), cl);
        return;
    }
    removeOld(cl.outputFile);
    Dayplex::printNextJobToPdf(cl.outputFile, cl.pages);
    print(view);
    checkPdf(cl.outputFile);
}

} // namespace

int runHeadless(const CommandLine &cl, Database &db, QTextStream &err)
{
    HostBridge bridge(db);
    QString loadError;
    // Weeks start on Monday in both views, as in the window; both print in the modern
    // presentation, as the window does.
    const auto run = [&](auto &view, const QString &options, auto fill, auto print) {
        view.setAlignOnWeekday(2);
        view.setPresentation(cl.classicLook ? Dayplex::Presentation::Classic
                                            : Dayplex::Presentation::Modern);
        prepare(view, options, cl, fill, loadError, err);
        renderView(view, cl, print);
    };
    try {
        if (cl.view == ViewKind::Calendar) {
            Dayplex::ucAgenda view;
            run(view, bridge.calendarOptions(),
                [&bridge](Dayplex::ucAgenda &v, double first, double last, const QString &fields) {
                    bridge.fillCalendar(v, first, last, fields);
                },
                [&cl](Dayplex::ucAgenda &v) {
                    v.setPrintPresentation(cl.classicLook ? Dayplex::Presentation::Classic
                                                          : Dayplex::Presentation::Modern);
                    v.PrintCalendar(false);
                });
        } else {
            Dayplex::ctlGantt view;
            run(view, bridge.ganttOptions(),
                [&bridge](Dayplex::ctlGantt &v, double first, double last, const QString &fields) {
                    bridge.fillGantt(v, first, last, fields);
                },
                [&cl](Dayplex::ctlGantt &v) {
                    v.setPrintPresentation(cl.classicLook ? Dayplex::Presentation::Classic
                                                          : Dayplex::Presentation::Modern);
                    v.PrintGantt(false);
                });
        }
        if (!loadError.isEmpty())
            throw Failure{QStringLiteral("Die Termine konnten nicht geladen werden: %1").arg(loadError)};
    } catch (const Failure &failure) {
        err << "terminplaner: " << failure.text << Qt::endl;
        return failure.exitCode;
    } catch (const std::exception &error) {
        err << "terminplaner: " << QString::fromUtf8(error.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace Terminplaner
