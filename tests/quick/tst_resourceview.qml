import QtQuick
import QtTest
import Dayplex

// The resource view item made from QML: rows and bars from two ListModels, a drag of a bar
// that changes the model, and a pinch that changes the days shown.
Item {
    id: root
    width: 900
    height: 400

TestCase {
    id: test
    name: "ResourceView"
    when: windowShown

    ListModel { id: appointments }
    ListModel { id: people }
    Component {
        id: viewComponent
        ResourceView {
            width: 900
            height: 400
            defaultDialogs: false
            model: appointments
            participantModel: people
        }
    }

    // 4 March 2024 is a Monday.
    function at(day, hours, minutes) {
        return Qt.formatDateTime(new Date(2024, 2, 4 + day, hours, minutes), "yyyy-MM-ddThh:mm:ss")
    }
    function moment(day, hours, minutes) {
        return new Date(2024, 2, 4 + day, hours, minutes)
    }

    function init() {
        people.clear()
        people.append({ key: "AB", name: "Anna Berger" })
        people.append({ key: "MS", name: "Markus Schulz" })
        appointments.clear()
        appointments.append({ key: "1", subject: "Wartung", start: at(1, 9, 0), end: at(1, 12, 0), allDay: false, readOnly: false, participant: "MS" })
        appointments.append({ key: "2", subject: "Teamrunde", start: at(2, 10, 0), end: at(2, 11, 0), allDay: false, readOnly: false, participant: "AB|MS" })
        appointments.append({ key: "3", subject: "Nächste Woche", start: at(8, 10, 0), end: at(8, 11, 0), allDay: false, readOnly: false, participant: "AB" })
    }

    function makeView() {
        const view = createTemporaryObject(viewComponent, root)
        view.setDisplayedRange(moment(0, 0, 0), moment(6, 0, 0))
        waitForRendering(view)
        return view
    }

    // The participant model's rows and the shown days' bars; a bar of another week is not
    // drawn, and a row added to the model follows.
    function test_modelShown() {
        const view = makeView()
        compare(view.dayCount, 7)
        verify(view.appointmentRect("1").width > 0)
        verify(view.appointmentRect("2").width > 0)
        compare(view.appointmentRect("3").width, 0)
        verify(view.pointOf(moment(1, 9, 0), "MS").y > view.pointOf(moment(1, 9, 0), "AB").y)
        appointments.append({ key: "4", subject: "Neu", start: at(3, 8, 0), end: at(3, 10, 0), allDay: false, readOnly: false, participant: "AB" })
        tryVerify(() => view.appointmentRect("4").width > 0)
    }

    // A bar dragged a day later lands there in the model once the question is answered yes,
    // and stays where it was on a no.
    function test_dragChangesModel_data() {
        return [
            { tag: "agreed", agree: true, start: at(2, 9, 0), end: at(2, 12, 0) },
            { tag: "refused", agree: false, start: at(1, 9, 0), end: at(1, 12, 0) },
        ]
    }
    function test_dragChangesModel(data) {
        const view = makeView()
        let asked = []
        view.changeQuestion.connect((key, text, buttons) => {
            asked.push(key)
            view.answerChange(data.agree)
        })
        // The bar starts where the mouse lets it go: grabbed at its start, dropped a day later.
        const from = view.pointOf(moment(1, 9, 0), "MS")
        const to = view.pointOf(moment(2, 9, 0), "MS")
        const bar = view.appointmentRect("1")
        verify(from.x >= bar.x && from.x < bar.x + bar.width && from.y > bar.y && from.y < bar.y + bar.height)
        mousePress(view, from.x, from.y, Qt.LeftButton)
        mouseMove(view, from.x + 10, from.y, 0, Qt.LeftButton)
        mouseMove(view, to.x, to.y, 0, Qt.LeftButton)
        mouseRelease(view, to.x, to.y, Qt.LeftButton)
        compare(asked, ["1"])
        tryCompare(appointments.get(0), "start", data.start)
        compare(appointments.get(0).end, data.end)
    }

    // Spreading two fingers by a quarter shows fewer days, closing them more; less does nothing.
    function test_pinch_data() {
        return [
            { tag: "spread", from: 100, to: 130, days: 5 },
            { tag: "close", from: 130, to: 100, days: 14 },
            { tag: "less than a quarter", from: 100, to: 115, days: 7 },
        ]
    }
    function test_pinch(data) {
        const view = makeView()
        const x = 450, y = 100
        const fingers = touchEvent(view)
        fingers.press(0, view, x - data.from / 2, y).press(1, view, x + data.from / 2, y).commit()
        fingers.move(0, view, x - data.to / 2, y).move(1, view, x + data.to / 2, y).commit()
        fingers.release(0, view, x - data.to / 2, y).release(1, view, x + data.to / 2, y).commit()
        compare(view.dayCount, data.days)
        compare(appointments.get(0).start, at(1, 9, 0))
    }

    function test_accessibility() {
        const view = makeView()
        compare(view.Accessible.name, "Ressourcenansicht")
        view.selectedDate = "1"
        verify(view.Accessible.description.indexOf("Wartung") >= 0)
    }
}
}
