#ifndef DAYPLEX_ROWSCROLLBAR_H
#define DAYPLEX_ROWSCROLLBAR_H

#include <QScrollBar>

#include <tuple>

namespace Dayplex {

// The resource view's bar of rows. Its range follows every row the host adds while it
// refills the view (the position is held in it as before), but a range is painted only when
// the refill is over and the bar then looks different from its last paint: a refill that ends
// with the rows it began with paints no bar.
class RowScrollBar : public QScrollBar
{
public:
    explicit RowScrollBar(QWidget *parent);

    // Paints the bar if its range is not the one it shows; the view calls it before it paints.
    void showRange();

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::tuple<int, int, int> range() const { return {minimum(), maximum(), pageStep()}; }

    std::tuple<int, int, int> m_painted{0, -1, 0};
    bool m_checkPending = false;
};

} // namespace Dayplex

#endif
