import QtQuick
import QtTest
import Dayplex

// The calendar item made from QML: a ListModel shown, a drag that changes it, a pinch and a
// two-finger pan, the questions before a change and the default dialog.
// The test case itself is invisible: the views go into the visible root, where the mouse and the
// fingers reach them.
Item {
    id: root
    width: 900
    height: 640

TestCase {
    id: test
    name: "Agenda"
    when: windowShown

    ListModel { id: appointments }
    Component {
        id: agendaComponent
        Agenda {
            width: 900
            height: 640
            defaultDialogs: false
            model: appointments
        }
    }

    // 4 March 2024 is a Monday; the view shows its week.
    function at(day, hours, minutes) {
        return Qt.formatDateTime(new Date(2024, 2, 4 + day, hours, minutes), "yyyy-MM-ddThh:mm:ss")
    }
    function moment(day, hours, minutes) {
        return new Date(2024, 2, 4 + day, hours, minutes)
    }

    function init() {
        appointments.clear()
        // The first row names the roles the model has.
        appointments.append({ key: "1", subject: "Teambesprechung", start: at(0, 9, 0), end: at(0, 10, 0), allDay: false, readOnly: false, seriesOccurrence: false })
        appointments.append({ key: "2", subject: "Kundentermin", start: at(2, 13, 0), end: at(2, 14, 30), allDay: false })
        appointments.append({ key: "3", subject: "Messe", start: at(1, 0, 0), end: at(1, 0, 0), allDay: true })
        appointments.append({ key: "4", subject: "Nächste Woche", start: at(7, 9, 0), end: at(7, 10, 0), allDay: false })
    }

    function makeView() {
        const view = createTemporaryObject(agendaComponent, root)
        view.setDisplayedRange(moment(0, 0, 0), moment(6, 0, 0))
        waitForRendering(view)
        return view
    }

    // The rows of the shown days become boxes; a row of another week and a changed row follow
    // the model.
    function test_modelShown() {
        const view = makeView()
        verify(view.appointmentRect("1").width > 0)
        verify(view.appointmentRect("2").width > 0)
        verify(view.appointmentRect("3").width > 0)
        compare(view.appointmentRect("4").width, 0)
        appointments.setProperty(3, "start", at(3, 9, 0))
        appointments.setProperty(3, "end", at(3, 10, 0))
        tryVerify(() => view.appointmentRect("4").width > 0)
        appointments.remove(0)
        tryVerify(() => view.appointmentRect("1").width === 0)
    }

    // A ListModel that was empty when it was set names its roles with its first row: the
    // fields are found then, and the rows show.
    function test_modelFilledLater() {
        const later = createTemporaryQmlObject("import QtQuick; ListModel {}", root)
        const view = createTemporaryObject(agendaComponent, root, { model: later })
        view.setDisplayedRange(moment(0, 0, 0), moment(6, 0, 0))
        later.append({ key: "9", subject: "Später", start: at(1, 9, 0), end: at(1, 10, 0) })
        tryVerify(() => view.appointmentRect("9").width > 0)
    }

    function drag(view, from, to) {
        mousePress(view, from.x, from.y + 4, Qt.LeftButton)
        mouseMove(view, from.x, from.y + 14, 0, Qt.LeftButton)
        mouseMove(view, to.x, to.y + 4, 0, Qt.LeftButton)
        mouseRelease(view, to.x, to.y + 4, Qt.LeftButton)
    }

    // A drag of a box to another day and hour writes the new times into the model once the
    // question is answered yes; a no leaves the model and shows the old place.
    function test_dragChangesModel_data() {
        return [
            { tag: "agreed", agree: true, start: at(1, 11, 0), end: at(1, 12, 0) },
            { tag: "refused", agree: false, start: at(0, 9, 0), end: at(0, 10, 0) },
        ]
    }
    function test_dragChangesModel(data) {
        const view = makeView()
        let asked = []
        view.changeQuestion.connect((key, text, buttons) => {
            asked.push(key)
            verify(text.indexOf("Teambesprechung") >= 0)
            compare(buttons, ["Ja", "Nein"])
            view.answerChange(data.agree)
        })
        drag(view, view.pointOf(moment(0, 9, 0)), view.pointOf(moment(1, 11, 0)))
        compare(asked, ["1"])
        tryCompare(appointments.get(0), "start", data.start)
        compare(appointments.get(0).end, data.end)
    }

    // Without a question (ConfirmChanges off) the drag stands at once; a read-only row does
    // not move.
    function test_dragWithoutQuestion() {
        const view = makeView()
        view.confirmChanges = false
        let asked = 0
        view.changeQuestion.connect(() => asked++)
        drag(view, view.pointOf(moment(2, 13, 0)), view.pointOf(moment(2, 15, 0)))
        compare(asked, 0)
        tryCompare(appointments.get(1), "start", at(2, 15, 0))
        appointments.setProperty(0, "readOnly", true)
        wait(0)
        drag(view, view.pointOf(moment(0, 9, 0)), view.pointOf(moment(0, 11, 0)))
        compare(appointments.get(0).start, at(0, 9, 0))
    }

    // An occurrence of a series asks for the scope: only this one is written into the model,
    // a wider scope goes to the host as seriesChangeRequested, "Abbrechen" leaves everything.
    function test_seriesScope_data() {
        return [
            { tag: "only this", button: 0, start: at(0, 11, 0), requested: [] },
            { tag: "the whole series", button: 2, start: at(0, 9, 0), requested: [2] },
            { tag: "cancelled", button: 3, start: at(0, 9, 0), requested: [] },
        ]
    }
    function test_seriesScope(data) {
        appointments.setProperty(0, "seriesOccurrence", true)
        const view = makeView()
        let buttons = []
        let requested = []
        view.seriesScopeQuestion.connect((key, text, choices) => {
            buttons = choices
            view.answerSeriesScope(data.button)
        })
        view.seriesChangeRequested.connect((row, scope) => requested.push(scope))
        drag(view, view.pointOf(moment(0, 9, 0)), view.pointOf(moment(0, 11, 0)))
        compare(buttons.length, 4)
        compare(buttons[3], "Abbrechen")
        tryCompare(appointments.get(0), "start", data.start)
        compare(requested, data.requested)
    }

    // The default dialog asks when the host leaves it on; its first button agrees.
    function test_defaultDialog() {
        const view = makeView()
        view.defaultDialogs = true
        drag(view, view.pointOf(moment(0, 9, 0)), view.pointOf(moment(0, 12, 0)))
        const dialog = findChild(view, "dayplexQuestion")
        tryVerify(() => dialog.opened)
        verify(dialog.contentItem.text.indexOf("Teambesprechung") >= 0)
        const yes = findChild(dialog.footer, "dayplexAnswer0")
        const no = findChild(dialog.footer, "dayplexAnswer1")
        compare([yes.text, no.text], ["Ja", "Nein"])
        // The box places its buttons a frame after they were made.
        tryVerify(() => no.mapToItem(null, 0, 0).x > yes.mapToItem(null, 0, 0).x)
        mouseClick(yes)
        tryCompare(appointments.get(0), "start", at(0, 12, 0))
        verify(!dialog.visible)
    }


    // Two fingers: spreading them by a quarter zooms the raster a step finer, closing them a
    // step coarser, less changes nothing; moving both scrolls by whole days and changes no
    // appointment.
    function test_twoFingers_data() {
        return [
            { tag: "spread a quarter", from: 100, to: 130, shift: 0, raster: 15, firstDay: 4 },
            { tag: "close a quarter", from: 130, to: 100, shift: 0, raster: 60, firstDay: 4 },
            { tag: "spread less", from: 100, to: 120, shift: 0, raster: 30, firstDay: 4 },
            { tag: "pan two days right", from: 100, to: 100, shift: 2.5, raster: 30, firstDay: 2 },
            { tag: "pan a day left", from: 100, to: 100, shift: -1.5, raster: 30, firstDay: 5 },
        ]
    }
    function test_twoFingers(data) {
        const view = makeView()
        const column = view.pointOf(moment(1, 12, 0)).x - view.pointOf(moment(0, 12, 0)).x
        const x = view.pointOf(moment(2, 12, 0)).x
        const y = view.pointOf(moment(0, 12, 0)).y
        const dx = data.shift * column
        const fingers = touchEvent(view)
        fingers.press(0, view, x - data.from / 2, y).press(1, view, x + data.from / 2, y).commit()
        fingers.move(0, view, x + dx - data.to / 2, y).move(1, view, x + dx + data.to / 2, y).commit()
        fingers.release(0, view, x + dx - data.to / 2, y).release(1, view, x + dx + data.to / 2, y).commit()
        compare(view.timeRaster, data.raster)
        compare(view.firstDay.getDate(), data.firstDay)
        compare(appointments.get(0).start, at(0, 9, 0))
    }

    // One finger drags like the mouse.
    function test_oneFingerDrag() {
        const view = makeView()
        view.confirmChanges = false
        const from = view.pointOf(moment(2, 13, 0))
        const to = view.pointOf(moment(3, 13, 0))
        // Qt Quick joins the moves of a frame: each step gets a frame of its own.
        const finger = touchEvent(view)
        finger.press(0, view, from.x, from.y + 4).commit()
        waitForRendering(view)
        finger.move(0, view, from.x, from.y + 14).commit()
        waitForRendering(view)
        finger.move(0, view, to.x, to.y + 4).commit()
        waitForRendering(view)
        finger.release(0, view, to.x, to.y + 4).commit()
        tryCompare(appointments.get(1), "start", at(3, 13, 0))
    }

    // Options that cannot be read and a date that is none change nothing and are named in
    // German in the log; the accessible texts name the view and the selected appointment.
    function test_optionsAndAccessibility() {
        const view = makeView()
        ignoreWarning(/addDate: addDate: ungültiger Datumswert\./)
        view.addDate("x", "kaputt", new Date(NaN), new Date(NaN))
        waitForRendering(view)
        compare(view.appointmentRect("x").width, 0)
        verify(view.appointmentRect("2").width > 0)
        const before = view.options
        ignoreWarning(/.*/)
        view.options = "kein Optionstext"
        compare(view.options, before)
        compare(view.Accessible.name, "Kalender")
        view.selectedDate = "2"
        verify(view.Accessible.description.indexOf("Kundentermin") >= 0)
    }
}
}
