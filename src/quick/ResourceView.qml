import QtQuick
import QtQuick.Controls
import Dayplex

// The resource view with what a Qt Quick window adds to ResourceViewItem: the default questions before a
// change, the tooltip, and the name and description for screen readers.
ResourceViewItem {
    id: view

    // Off: the host answers changeQuestion and seriesScopeQuestion itself.
    property bool defaultDialogs: true

    Accessible.role: Accessible.Table
    Accessible.name: view.accessibleName
    Accessible.description: view.accessibleDescription
    Accessible.focusable: true

    onChangeQuestion: (key, text, buttons) => {
        if (defaultDialogs)
            changeDialog.ask(text, buttons)
    }
    onSeriesScopeQuestion: (key, text, buttons) => {
        if (defaultDialogs)
            scopeDialog.ask(text, buttons)
    }

    QuestionDialog {
        id: changeDialog
        onAnswered: (button) => view.answerChange(button === 0)
    }
    QuestionDialog {
        id: scopeDialog
        onAnswered: (button) => view.answerSeriesScope(button)
    }
    ToolTip.visible: view.toolTipText.length > 0
    ToolTip.text: view.toolTipText
}
