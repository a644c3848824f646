#include "register/PytanieLayout.h"

#include <algorithm>

namespace varnel::reg {

namespace {
// C++ integer division rounds toward zero, as the layout requires.
int half(int v) { return v / 2; }

constexpr int TextGap = 30;     // between the icon and the text, and after the text
constexpr int ButtonGap = 16;   // between two buttons
constexpr int ButtonsBelow = 20;  // from the icon or text down to the buttons
constexpr int BottomMargin = 16;
}  // namespace

PytanieLayout layoutPytanie(const PytanieMetrics &m) {
    PytanieLayout l;
    const int w = m.buttonWidth;
    const int t = m.textWidth;
    const int r = m.icon.x() + m.icon.width();
    const int needed = r + TextGap + t + TextGap;

    int width;
    if (!m.threeButtons) {
        const int minimum = 2 * w + 76;
        if (needed > minimum) {
            width = needed;
            l.buttonLeft[0] = half(width) - 8 - w;
        } else {
            width = minimum;
            l.buttonLeft[0] = 30;
        }
        l.buttonLeft[1] = l.buttonLeft[0] + w + ButtonGap;
        l.buttonLeft[2] = l.buttonLeft[1] + w + ButtonGap;  // hidden
    } else {
        const int minimum = 3 * w + 92;
        width = std::max(needed, minimum);
        l.buttonLeft[1] = half(width) - half(w);
        l.buttonLeft[0] = l.buttonLeft[1] - w - ButtonGap;
        l.buttonLeft[2] = l.buttonLeft[1] + w + ButtonGap;
    }

    const int textTop = m.icon.y();
    l.textPos = QPoint(half(width) - half(t), textTop);
    const int contentBottom = std::max(m.icon.y() + m.icon.height(), textTop + m.textHeight);
    l.buttonTop = contentBottom + ButtonsBelow;
    l.size = QSize(width, l.buttonTop + m.buttonHeight + BottomMargin);
    return l;
}

QPoint centredOrigin(QSize screen, QSize window) {
    return QPoint(half(screen.width()) - half(window.width()), half(screen.height()) - half(window.height()));
}

}  // namespace varnel::reg
