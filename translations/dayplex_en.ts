<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>Dayplex::Accessibility</name>
    <message>
        <source>Auswählen</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Kontextmenü</source>
        <translation>Context menu</translation>
    </message>
    <message>
        <source>Wählt den Termin aus</source>
        <translation>Selects the appointment</translation>
    </message>
    <message>
        <source>Zeigt den Termin an</source>
        <translation>Shows the appointment</translation>
    </message>
    <message>
        <source>Öffnet das Kontextmenü am Termin</source>
        <translation>Opens the context menu at the appointment</translation>
    </message>
    <message>
        <source>Kalender</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>Ressourcenansicht</source>
        <translation>Resource view</translation>
    </message>
    <message>
        <source>bis</source>
        <translation>to</translation>
    </message>
    <message>
        <source>ganztägig</source>
        <translation>all day</translation>
    </message>
    <message>
        <source>erledigt</source>
        <translation>done</translation>
    </message>
    <message>
        <source>Hinweis</source>
        <translation>note</translation>
    </message>
    <message>
        <source>Feiertag</source>
        <translation>public holiday</translation>
    </message>
    <message>
        <source>schreibgeschützt</source>
        <translation>read-only</translation>
    </message>
</context>
<context>
    <name>Dayplex::AppointmentDetails</name>
    <message>
        <source>Serientermin</source>
        <translation>Recurring appointment</translation>
    </message>
    <message>
        <source>Teilnehmer: %1</source>
        <translation>Participants: %1</translation>
    </message>
</context>
<context>
    <name>Dayplex::SeriesScope</name>
    <message>
        <source>„%1“ ist ein Serientermin. Für welche Termine gilt die Änderung?</source>
        <translation>“%1” is a recurring appointment. Which appointments does the change apply to?</translation>
    </message>
    <message>
        <source>Nur diesen Termin</source>
        <translation>Only this appointment</translation>
    </message>
    <message>
        <source>Diesen und alle folgenden Termine</source>
        <translation>This and all following appointments</translation>
    </message>
    <message>
        <source>Alle Termine der Serie</source>
        <translation>All appointments of the series</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Dayplex::cCommonCalendar</name>
    <message>
        <source>Ungültige Layouteinstellungen! Bitte prüfen Sie die Layouteinstellungen.</source>
        <translation>Invalid layout settings! Please check the layout settings.</translation>
    </message>
    <message>
        <source>Kalender</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>Drucken</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Anzahl Seiten:</source>
        <translation>Number of pages:</translation>
    </message>
    <message>
        <source>Seitenansicht statt Drucken</source>
        <translation>Print preview instead of printing</translation>
    </message>
    <message>
        <source>Seitenansicht</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Soll der Eintrag &apos;%1&apos;<byte value="xd"/>
 von %2 - %3<byte value="xd"/>
 auf %4 - %5<byte value="xd"/>
verändert werden</source>
        <translation>Should the entry &apos;%1&apos;<byte value="xd"/>
 from %2 - %3<byte value="xd"/>
 to %4 - %5<byte value="xd"/>
be changed?</translation>
    </message>
    <message>
        <source>Bitte geben Sie den ersten und den letzten Tag des Zeitraums an.</source>
        <translation>Please enter the first and the last day of the period.</translation>
    </message>
    <message>
        <source>Der Zeitraum endet vor seinem Beginn. Bitte wählen Sie ein Ende am oder nach dem ersten Tag.</source>
        <translation>The period ends before it begins. Please choose an end on or after the first day.</translation>
    </message>
    <message>
        <source>Tagespläne werden für höchstens %1 Tage gedruckt. Bitte wählen Sie einen kürzeren Zeitraum oder Wochenpläne.</source>
        <translation>Day sheets are printed for at most %1 days. Please choose a shorter period or week sheets.</translation>
    </message>
    <message>
        <source>Der Zeitraum ist länger als ein Jahr. Bitte wählen Sie einen kürzeren Zeitraum.</source>
        <translation>The period is longer than a year. Please choose a shorter period.</translation>
    </message>
    <message>
        <source>Es gibt keine Ressourcenansicht, die gedruckt werden kann.</source>
        <translation>There is no resource view that can be printed.</translation>
    </message>
    <message>
        <source>Tagesplan</source>
        <translation>Day sheet</translation>
    </message>
    <message>
        <source>Wochenplan</source>
        <translation>Week sheet</translation>
    </message>
    <message>
        <source>Ressourcenansicht</source>
        <translation>Resource view</translation>
    </message>
    <message>
        <source>Drucken:</source>
        <translation>Print:</translation>
    </message>
    <message>
        <source>Von:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>Bis:</source>
        <translation>To:</translation>
    </message>
</context>
<context>
    <name>Dayplex::cTools</name>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>Dayplex::cfrmConfigCalendar</name>
    <message>
        <source>Bildschirmlayout Kalender</source>
        <translation>Screen layout: calendar</translation>
    </message>
    <message>
        <source>Bildschirmlayout Gantt</source>
        <translation>Screen layout: Gantt</translation>
    </message>
    <message>
        <source>Drucklayout Wochenblatt</source>
        <translation>Print layout: week sheet</translation>
    </message>
    <message>
        <source>Drucklayout Tagesblatt</source>
        <translation>Print layout: day sheet</translation>
    </message>
    <message>
        <source>Drucklayout Gantt</source>
        <translation>Print layout: Gantt</translation>
    </message>
    <message>
        <source>Sonntag</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>Montag</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>Dienstag</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>Mittwoch</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>Donnerstag</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>Freitag</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>Samstag</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>Kalenderoptionen</source>
        <translation>Calendar options</translation>
    </message>
    <message>
        <source>Arbeitszeit</source>
        <translation>Working hours</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Frei</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Pause %1</source>
        <translation>Break %1</translation>
    </message>
    <message>
        <source>von</source>
        <translation>from</translation>
    </message>
    <message>
        <source>bis</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Zeile nach unten kopieren</source>
        <translation>Copy row down</translation>
    </message>
    <message>
        <source>berechnete Feiertage für Deutschland anzeigen</source>
        <translation>Show the calculated public holidays of Germany</translation>
    </message>
    <message>
        <source>Terminänderungen müssen bestätigt werden</source>
        <translation>Changes to appointments must be confirmed</translation>
    </message>
    <message>
        <source>Terminüberschneidungen automatisch prüfen</source>
        <translation>Check for overlapping appointments</translation>
    </message>
    <message>
        <source>Aktivitätenfenster</source>
        <translation>Activity window</translation>
    </message>
    <message>
        <source>Kalender</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>Gantt</source>
        <translation>Gantt</translation>
    </message>
    <message>
        <source>Feiertage einbeziehen</source>
        <translation>Include public holidays</translation>
    </message>
    <message>
        <source>Bildschirmlayout</source>
        <translation>Screen layout</translation>
    </message>
    <message>
        <source>Drucklayout</source>
        <translation>Print layout</translation>
    </message>
    <message>
        <source>Kalender...</source>
        <translation>Calendar...</translation>
    </message>
    <message>
        <source>Gantt...</source>
        <translation>Gantt...</translation>
    </message>
    <message>
        <source>Tagesblatt...</source>
        <translation>Day sheet...</translation>
    </message>
    <message>
        <source>Wochenblatt...</source>
        <translation>Week sheet...</translation>
    </message>
    <message>
        <source>Standardwerte</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Dayplex::cfrmConfigLayout</name>
    <message>
        <source>Optionen für Kalenderansicht</source>
        <translation>Options for the calendar view</translation>
    </message>
    <message>
        <source>Startzeit</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Endzeit</source>
        <translation>End time</translation>
    </message>
    <message>
        <source>5 Minuten</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>6 Minuten</source>
        <translation>6 minutes</translation>
    </message>
    <message>
        <source>10 Minuten</source>
        <translation>10 minutes</translation>
    </message>
    <message>
        <source>15 Minuten</source>
        <translation>15 minutes</translation>
    </message>
    <message>
        <source>30 Minuten</source>
        <translation>30 minutes</translation>
    </message>
    <message>
        <source>60 Minuten</source>
        <translation>60 minutes</translation>
    </message>
    <message>
        <source>Zeitliche Auflösung</source>
        <translation>Time resolution</translation>
    </message>
    <message>
        <source>Ausgabefelder</source>
        <translation>Output fields</translation>
    </message>
    <message>
        <source>Tage anzeigen</source>
        <translation>days shown</translation>
    </message>
    <message>
        <source>Beim Öffnen</source>
        <translation>On opening</translation>
    </message>
    <message>
        <source>Mindesthöhe in Zeilen</source>
        <translation>Minimum height in rows</translation>
    </message>
    <message>
        <source>Anzeigebereich Tagestermine</source>
        <translation>All-day area</translation>
    </message>
    <message>
        <source>Terminzelle</source>
        <translation>Appointment cell</translation>
    </message>
    <message>
        <source>Optimierte Zeilenhöhe</source>
        <translation>Optimised row height</translation>
    </message>
    <message>
        <source>Erledigte Termine durchstreichen</source>
        <translation>Strike out completed appointments</translation>
    </message>
    <message>
        <source>Schriftart...</source>
        <translation>Font...</translation>
    </message>
    <message>
        <source>Farben</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>individuelle Terminfarben verwenden</source>
        <translation>Use individual appointment colours</translation>
    </message>
    <message>
        <source>Freizeit...</source>
        <translation>Free time...</translation>
    </message>
    <message>
        <source>Arbeitszeit...</source>
        <translation>Working hours...</translation>
    </message>
    <message>
        <source>Markiert...</source>
        <translation>Selected...</translation>
    </message>
    <message>
        <source>Überschrift...</source>
        <translation>Heading...</translation>
    </message>
    <message>
        <source>Feiertage...</source>
        <translation>Holidays...</translation>
    </message>
    <message>
        <source>Tagestermine...</source>
        <translation>All-day entries...</translation>
    </message>
    <message>
        <source>Termine...</source>
        <translation>Appointments...</translation>
    </message>
    <message>
        <source>Monatsübersicht-
kopf...</source>
        <translation>Month overview
heading...</translation>
    </message>
    <message>
        <source>Kopfzeilen...</source>
        <translation>Header rows...</translation>
    </message>
    <message>
        <source>Zeitbalken...</source>
        <translation>Time bar...</translation>
    </message>
    <message>
        <source>Schrift...</source>
        <translation>Text...</translation>
    </message>
    <message>
        <source>Druckausgabe</source>
        <translation>Printout</translation>
    </message>
    <message>
        <source>Querformat</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>Ränder in mm</source>
        <translation>Margins in mm</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Rechts</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Oben</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Unten</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Abstand voneinander in mm</source>
        <translation>Gaps between views in mm</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Vertikal</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>Anzahl Ansichten pro Seite</source>
        <translation>Views per page</translation>
    </message>
    <message>
        <source>Nebeneinander</source>
        <translation>Across</translation>
    </message>
    <message>
        <source>Übereinander</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Beim Öffnen Tage anzeigen</source>
        <translation>Days shown on opening</translation>
    </message>
    <message>
        <source>Farbe %1</source>
        <translation>Colour %1</translation>
    </message>
    <message>
        <source>Schriftfarbe %1</source>
        <translation>Text colour %1</translation>
    </message>
    <message>
        <source>Im Termin anzeigen</source>
        <translation>Show in appointment</translation>
    </message>
    <message>
        <source>Schriftart %1</source>
        <translation>Font %1</translation>
    </message>
    <message>
        <source>Felder</source>
        <translation>Fields</translation>
    </message>
</context>
<context>
    <name>Dayplex::ctlGantt</name>
    <message>
        <source>Der gesuchte Termin ist länger als der Suchbereich.</source>
        <translation>The appointment sought is longer than the search window.</translation>
    </message>
    <message>
        <source>Leider kann kein passender Terminvorschlag gefunden werden.</source>
        <translation>Sorry, no suitable slot could be found.</translation>
    </message>
    <message>
        <source>Freie Termine Suchen</source>
        <translation>Find Free Slots</translation>
    </message>
    <message>
        <source>Von: </source>
        <translation>From: </translation>
    </message>
    <message>
        <source>Bis: </source>
        <translation>To: </translation>
    </message>
    <message>
        <source>1 Tag</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>2 Tage</source>
        <translation>2 days</translation>
    </message>
    <message>
        <source>5 Tage</source>
        <translation>5 days</translation>
    </message>
    <message>
        <source>7 Tage</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>2 Wochen</source>
        <translation>2 weeks</translation>
    </message>
    <message>
        <source>3 Wochen</source>
        <translation>3 weeks</translation>
    </message>
    <message>
        <source>4 Wochen</source>
        <translation>4 weeks</translation>
    </message>
    <message>
        <source>6 Wochen</source>
        <translation>6 weeks</translation>
    </message>
    <message>
        <source>8 Wochen</source>
        <translation>8 weeks</translation>
    </message>
    <message>
        <source>12 Wochen</source>
        <translation>12 weeks</translation>
    </message>
    <message>
        <source>Heute</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Datum...</source>
        <translation>Date...</translation>
    </message>
    <message>
        <source>&gt;&gt;Kalender</source>
        <translation>&gt;&gt;Calendar</translation>
    </message>
    <message>
        <source>Freien Termin suchen</source>
        <translation>Find free slot</translation>
    </message>
    <message>
        <source>Neu</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Anzeigen</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Verschieben</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Teilnehmer...</source>
        <translation>Participants...</translation>
    </message>
    <message>
        <source>Ansicht</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Optionen...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>Drucken...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Freien Termin für alle angezeigten Teilnehmer und Ressourcen suchen</source>
        <translation>Find a free slot for all participants and resources shown</translation>
    </message>
    <message>
        <source>Auch an Feiertagen und  Wochenenden</source>
        <translation>Also on holidays and weekends</translation>
    </message>
    <message>
        <source>AutoZeitwahl &gt;&gt;</source>
        <translation>Auto select &gt;&gt;</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Dauer</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Tage</source>
        <translation>days</translation>
    </message>
    <message>
        <source>Stunden</source>
        <translation>hours</translation>
    </message>
    <message>
        <source>Suchbereich</source>
        <translation>Search window</translation>
    </message>
    <message>
        <source>bis</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Suchen ab</source>
        <translation>Search from</translation>
    </message>
    <message>
        <source>Dauer in Tagen</source>
        <translation>Length in days</translation>
    </message>
    <message>
        <source>Dauer in Stunden</source>
        <translation>Length in hours</translation>
    </message>
    <message>
        <source>Suchbereich von</source>
        <translation>Search window from</translation>
    </message>
    <message>
        <source>Suchbereich bis</source>
        <translation>Search window to</translation>
    </message>
    <message>
        <source>Rückwärts suchen</source>
        <translation>Search backward</translation>
    </message>
    <message>
        <source>AutoZeitwahl vorwärts</source>
        <translation>Auto select forward</translation>
    </message>
    <message>
        <source>Ressourcenansicht</source>
        <translation>Resource view</translation>
    </message>
    <message>
        <source>Stand: %1 %2</source>
        <translation>As of: %1 %2</translation>
    </message>
    <message>
        <source>Seite %1 von %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>Dayplex::plainwords</name>
    <message>
        <source>Teilnehmer</source>
        <translation>Participants</translation>
    </message>
    <message>
        <source>Betreff/Notiz</source>
        <translation>Subject/Note</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Vorname</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Firma</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>Ort</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>%1, %2 pt</source>
        <translation>%1, %2 pt</translation>
    </message>
    <message>
        <source>%1 (angezeigt als %2)</source>
        <translation>%1 (shown as %2)</translation>
    </message>
</context>
<context>
    <name>Dayplex::ucAgenda</name>
    <message>
        <source>ganztägig</source>
        <translation>all day</translation>
    </message>
    <message>
        <source>Fortsetzung der Liste</source>
        <translation>List continued</translation>
    </message>
    <message>
        <source>1 Tag</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>2 Tage</source>
        <translation>2 days</translation>
    </message>
    <message>
        <source>5 Tage</source>
        <translation>5 days</translation>
    </message>
    <message>
        <source>7 Tage</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>14 Tage</source>
        <translation>14 days</translation>
    </message>
    <message>
        <source>Heute</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Datum...</source>
        <translation>Date...</translation>
    </message>
    <message>
        <source>&gt;&gt; Gantt</source>
        <translation>&gt;&gt; Gantt</translation>
    </message>
    <message>
        <source>Freien Termin suchen</source>
        <translation>Find free slot</translation>
    </message>
    <message>
        <source>Neu...</source>
        <translation>New...</translation>
    </message>
    <message>
        <source>Anzeigen</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Verschieben</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Teilnehmer...</source>
        <translation>Participants...</translation>
    </message>
    <message>
        <source>Optionen...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>Drucken...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Fehler %1: %2</source>
        <translation>Error %1: %2</translation>
    </message>
    <message>
        <source>Unbekannter Fehler.</source>
        <translation>Unknown error.</translation>
    </message>
</context>
</TS>
