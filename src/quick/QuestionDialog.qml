import QtQuick
import QtQuick.Controls

// The views' default question before a change: the text and one button per answer. Closing it
// without a button (Escape) answers with the last button, "Nein" or "Abbrechen".
Dialog {
    id: dialog
    objectName: "dayplexQuestion"

    signal answered(int button)

    property var buttons: []
    property bool waiting: false

    function ask(question, choices) {
        label.text = question
        buttons = choices
        waiting = true
        open()
    }

    function answer(button) {
        if (!waiting)
            return
        waiting = false
        close()
        answered(button)
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(parent ? parent.width - 24 : 480, 480)
    modal: true
    closePolicy: Popup.CloseOnEscape
    onClosed: answer(buttons.length - 1)

    contentItem: Label {
        id: label
        wrapMode: Text.WordWrap
    }
    footer: DialogButtonBox {
        Repeater {
            model: dialog.buttons
            Button {
                objectName: "dayplexAnswer" + index
                text: modelData
                // The box answers by the button, not by a role.
                DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
                onClicked: dialog.answer(index)
            }
        }
    }
}
