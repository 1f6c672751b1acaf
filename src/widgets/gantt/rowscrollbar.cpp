#include "gantt/rowscrollbar.h"

namespace Dayplex {

RowScrollBar::RowScrollBar(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
}

void RowScrollBar::showRange()
{
    m_checkPending = false;
    if (range() != m_painted)
        QScrollBar::sliderChange(SliderRangeChange);
}

void RowScrollBar::sliderChange(SliderChange change)
{
    if (change != SliderRangeChange) {
        QScrollBar::sliderChange(change);
        return;
    }
    // Whatever paints next, the range is shown by the next turn of the event loop.
    if (!m_checkPending) {
        m_checkPending = true;
        QMetaObject::invokeMethod(this, &RowScrollBar::showRange, Qt::QueuedConnection);
    }
}

void RowScrollBar::paintEvent(QPaintEvent *event)
{
    m_painted = range();
    QScrollBar::paintEvent(event);
}

} // namespace Dayplex
