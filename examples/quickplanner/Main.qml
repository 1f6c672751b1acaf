import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Dayplex

ApplicationWindow {
    id: window
    width: 1280
    height: 660
    visible: true
    title: "Terminplaner – Qt Quick"

    // One row per appointment; the roles are named after the fields the views read.
    ListModel { id: appointments }
    ListModel {
        id: people
        ListElement { key: "AB"; name: "Anna Berger" }
        ListElement { key: "MS"; name: "Markus Schulz" }
        ListElement { key: "PW"; name: "Petra Wagner" }
    }

    function monday() {
        const d = new Date()
        d.setHours(0, 0, 0, 0)
        d.setDate(d.getDate() - (d.getDay() + 6) % 7)
        return d
    }
    function at(day, hours, minutes) {
        const d = monday()
        d.setDate(d.getDate() + day)
        d.setHours(hours, minutes, 0, 0)
        return Qt.formatDateTime(d, "yyyy-MM-ddThh:mm:ss")
    }
    // Each person's appointments in a colour of their own; meetings in grey.
    readonly property var colours: ({ "AB": "#cfe2ff", "MS": "#d1f0d8", "PW": "#ffe5c2" })
    function add(key, subject, day, from, to, participant) {
        appointments.append({ key: key, subject: subject,
                              start: at(day, Math.floor(from), (from % 1) * 60),
                              end: at(day, Math.floor(to), (to % 1) * 60),
                              allDay: false, participant: participant,
                              backgroundColour: colours[participant] || "#e4e4e4" })
    }

    // Both views write a move into the model themselves; the window only says so.
    function moved(key, start) {
        status.text = "Verschoben: Termin " + key + " auf " + Qt.formatDateTime(start, "dd.MM.yyyy hh:mm")
    }

    Component.onCompleted: {
        add("1", "Wochenplanung", 0, 9, 10, "AB|MS|PW")
        add("2", "Kundentermin Müller", 0, 10.5, 12, "MS")
        add("3", "Angebot Schreinerei", 1, 8, 9.5, "AB")
        add("4", "Servicetermin Heizung", 1, 13, 16, "PW")
        add("5", "Baustellenbesuch", 2, 9, 11.5, "MS")
        add("6", "Schulung Kasse", 2, 14, 15.5, "AB")
        add("7", "Lieferung prüfen", 3, 8.5, 9.5, "PW")
        add("8", "Rechnungen", 3, 11, 12.5, "AB")
        add("9", "Teamrunde", 4, 10, 11, "AB|MS|PW")
        add("10", "Wartung Aufzug", 4, 13.5, 15, "MS")
        appointments.append({ key: "11", subject: "Messe Stuttgart", start: at(2, 0, 0),
                              end: at(3, 0, 0), allDay: true, participant: "PW",
                              backgroundColour: colours["PW"] })
        const friday = monday()
        friday.setDate(friday.getDate() + 4)
        agenda.setDisplayedRange(monday(), friday)
        resources.setDisplayedRange(monday(), friday)
    }

    header: ToolBar {
        RowLayout {
            anchors.fill: parent
            Label {
                text: "Eine Woche und die Mitarbeiter aus einem Modell – ziehen, zum Zoomen "
                      + "zwei Finger spreizen"
                leftPadding: 8
                Layout.fillWidth: true
            }
            Label {
                id: status
                rightPadding: 8
            }
        }
    }

    SplitView {
        anchors.fill: parent
        Agenda {
            id: agenda
            objectName: "agenda"
            SplitView.preferredWidth: window.width * 0.55
            modern: true
            model: appointments
            participantModel: people
            onDateChanged: (key, start) => window.moved(key, start)
        }
        ResourceView {
            id: resources
            objectName: "resources"
            modern: true
            model: appointments
            participantModel: people
            onDateChanged: (key, start) => window.moved(key, start)
        }
    }
}
