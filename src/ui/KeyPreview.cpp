#include "ui/KeyPreview.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QWidget>

namespace varnel::ui {

KeyPreview::KeyPreview(QWidget *window, Handler handler)
    : QObject(window), m_window(window), m_handler(std::move(handler)) {
    watch(window);
}

void KeyPreview::watch(QObject *object) {
    if (!object->isWidgetType())
        return;
    object->installEventFilter(this);
    for (QObject *child : object->children())
        watch(child);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ChildAdded)
        watch(static_cast<QChildEvent *>(event)->child());
    // A key the handler leaves alone may travel on to the parent and be
    // offered again; the handler leaves it alone there too.
    // Dialogs the window owns are windows of their own with their own keys.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && m_handler &&
        static_cast<QWidget *>(watched)->window() == m_window)
        return m_handler(static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

}  // namespace varnel::ui
