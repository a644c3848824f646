#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace varnel::reg {

// The window shown while the program starts: a picture, the version and a
// bar from 0 to 100 that the start advances. No title bar; centred on the
// screen.
class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(QWidget *parent = nullptr);

    // Shows the window and paints it at once (the event loop is not running
    // yet while the program starts).
    void showNow();
    // Moves the bar on; it stops at 100.
    void advance(int by);
    int position() const;

    // The picture, drawn rather than read from a file.
    static QPixmap picture(const QSize &size);

    QLabel *Image;
    QLabel *LabelVersion;
    QProgressBar *ProgressBar;

protected:
    void showEvent(QShowEvent *e) override;
};

}  // namespace varnel::reg
