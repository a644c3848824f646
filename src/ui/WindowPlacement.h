#pragma once

#include <QString>

class QMenuBar;
class QWidget;

namespace varnel::ui {

// Places a window over the middle of another (kept on that window's screen)
// the first time it is shown; later showings keep the place the clerk
// moved it to. Without `over` the window stays where it is.
void placeOver(QWidget *window, const QWidget *over);

// Gives every item of a menu bar and of its menus an accelerator letter
// ("&" before it in the item's text) that no other item of the same menu
// uses: the first letter of a word if one is free, else any letter of the
// caption. The captions read as before; items that already have one keep it.
void assignAccelerators(QMenuBar *bar);

// The caption of a menu item without its accelerator mark.
QString captionOf(const QString &itemText);

}  // namespace varnel::ui
