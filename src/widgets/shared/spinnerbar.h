#ifndef DAYPLEX_SPINNERBAR_H
#define DAYPLEX_SPINNERBAR_H

// A scroll bar used as a spinner (shared/spinnerstep): the thumb rests in the middle, and each
// step the user takes (an arrow, a click beside the thumb, the thumb let go, a wheel notch) is
// handed on as a count while the bar is back at rest.
#include <QScrollBar>

#include <functional>

namespace Dayplex {

class SpinnerBar : public QScrollBar
{
public:
    // page: what a click beside the thumb counts (see spinnerStep).
    SpinnerBar(Qt::Orientation orientation, const QString &name, qint32 page, QWidget *parent);

    // Called with the steps taken (0 for a move too small to count), the bar back at rest.
    std::function<void(qint32 steps)> stepped;
    // A wheel turn below a notch waits for the rest of the notch; a jump of the shown days by
    // the host drops it, so that half a notch from before the jump does not step after it.
    void dropWheelTurn() { m_wheelRemainder = 0; }

protected:
    // A notch steps like an arrow; the bar's own handling would step three at once, which the
    // spinner reads as a page.
    void wheelEvent(QWheelEvent *event) override;

private:
    void valueMoved(int value);

    qint32 m_page;
    int m_wheelRemainder = 0;
    bool m_resting = false; // the thumb going back raises valueChanged again
};

} // namespace Dayplex

#endif
