#include "ui/WindowPlacement.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <algorithm>

namespace varnel::ui {

namespace {

const char *const PlacedProperty = "varnelPlaced";

bool isAsciiLetter(QChar c) { return c.unicode() < 128 && c.isLetter(); }

// The position in the caption of its accelerator letter, -1 when every
// letter is taken. Plain letters come first, as Alt with a Polish letter is
// an AltGr combination on Polish keyboards.
int acceleratorPosition(const QString &caption, const QSet<QChar> &used) {
    auto free = [&](int i) { return !used.contains(caption.at(i).toLower()); };
    for (int i = 0; i < caption.size(); ++i)
        if (isAsciiLetter(caption.at(i)) && (i == 0 || !caption.at(i - 1).isLetterOrNumber()) && free(i))
            return i;
    for (int i = 0; i < caption.size(); ++i)
        if (isAsciiLetter(caption.at(i)) && free(i))
            return i;
    for (int i = 0; i < caption.size(); ++i)
        if (caption.at(i).isLetterOrNumber() && free(i))
            return i;
    return -1;
}

void assignIn(const QList<QAction *> &actions) {
    QSet<QChar> used;
    for (QAction *a : actions) {
        const int amp = a->text().indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < a->text().size())
            used.insert(a->text().at(amp + 1).toLower());
    }
    for (QAction *a : actions) {
        if (a->isSeparator() || a->text().contains(QLatin1Char('&')))
            continue;
        const QString caption = a->text();
        const int i = acceleratorPosition(caption, used);
        if (i < 0)
            continue;
        used.insert(caption.at(i).toLower());
        a->setText(caption.left(i) + QLatin1Char('&') + caption.mid(i));
    }
    for (QAction *a : actions)
        if (QMenu *sub = a->menu())
            assignIn(sub->actions());
}

}  // namespace

void placeOver(QWidget *window, const QWidget *over) {
    if (!window || !over || window->property(PlacedProperty).toBool())
        return;
    window->setProperty(PlacedProperty, true);
    const QWidget *top = over->window();
    QRect area = top->frameGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    if (const QScreen *screen = top->screen()) {
        const QRect avail = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), avail.left(), std::max(avail.left(), avail.right() - frame.width())));
        frame.moveTop(std::clamp(frame.top(), avail.top(), std::max(avail.top(), avail.bottom() - frame.height())));
    }
    window->move(frame.topLeft());
}

void assignAccelerators(QMenuBar *bar) {
    if (bar)
        assignIn(bar->actions());
}

QString captionOf(const QString &itemText) { return QString(itemText).remove(QLatin1Char('&')); }

}  // namespace varnel::ui
