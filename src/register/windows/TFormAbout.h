#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace varnel::reg {

// The about window ("O programie"), centred on the window it is opened from.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);

    // Shows the window modally until "OK".
    void run() { exec(); }

    QLabel *PanelTop;
    QLabel *Panel1;
    QLabel *Panel2;
    QPushButton *ButtonOK;

protected:
    void showEvent(QShowEvent *e) override;
};

}  // namespace varnel::reg
