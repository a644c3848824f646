#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace varnel::ui {

// Lets a window see every key before its controls do: a key pressed in the
// window or any control of it (controls added later included) goes to the
// handler first; a handler that returns true has taken the key and the
// control never sees it.
class KeyPreview : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QKeyEvent *)>;
    KeyPreview(QWidget *window, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QObject *object);
    QWidget *m_window;
    Handler m_handler;
};

}  // namespace varnel::ui
