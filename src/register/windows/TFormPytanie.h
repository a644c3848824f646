#pragma once

#include "register/PytanieLayout.h"

#include <QDialog>
#include <QString>
#include <stdexcept>

class QLabel;
class QPushButton;

namespace varnel::reg {

// An icon file of the question dialog that cannot be read. The message names
// the file; the question that needed it is not asked.
class PytanieFileError : public std::runtime_error {
public:
    PytanieFileError(const QString &path, const QString &message)
        : std::runtime_error(message.toStdString()), m_path(path), m_message(message) {}
    const QString &path() const { return m_path; }
    const QString &message() const { return m_message; }

private:
    QString m_path;
    QString m_message;
};

// The question dialog: a caption, an icon, the question in bold and two or
// three buttons, shown modally at a chosen place. One instance serves the
// whole run. The window has no title-bar buttons and is left only through its
// buttons: Esc does nothing with two buttons and answers "Cofnij" with three.
class TFormPytanie : public QDialog
{
    Q_OBJECT

public:
    // programDir: the directory of the icon files "pytajnik.bmp" and
    // "wykrzyknik.bmp", read at each question.
    explicit TFormPytanie(const QString &programDir, QWidget *parent = nullptr);

    // General forms, with the caption, button texts and icon last set. When
    // centred, the dialog is centred on the screen and x, y are ignored;
    // otherwise its top-left corner is placed at (x, y). Return the yes flag
    // (the first button). Throw PytanieFileError when the icon is missing.
    bool PotwTakNie(const QString &text, int x, int y, bool centred);
    bool PotwTakNieCofnij(const QString &text, int x, int y, bool centred, bool &cancelled);

    // Ready-made questions.
    // "Potwierdzenie", "Tak"/"Nie", question icon, centred.
    bool TakNie(const QString &text);
    // "Potwierdzenie", "Tak"/"Nie"/"Cofnij", question icon, centred.
    bool TakNieCofnij(const QString &text, bool &cancelled);
    // "Uwaga!", "Kontynuuj"/"Przerwij", warning icon, at (x, y); true = "Kontynuuj".
    bool KontynuujPrzerwij(const QString &text, int x, int y);

    QString programDir() const { return m_programDir; }
    // The layout of the last question asked.
    const PytanieLayout &lastLayout() const { return m_layout; }

    QLabel *Image;
    QLabel *Label1;
    QPushButton *ButtonTak;
    QPushButton *ButtonNie;
    QPushButton *ButtonCofnij;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setUp(const QString &caption, const QString &first, const QString &second, const QString &iconFile);
    void loadIcon();
    bool ask(const QString &text, int x, int y, bool centred, bool threeButtons);
    void arrange(const QString &text, bool threeButtons);

    QString m_programDir;
    QString m_iconFile;
    PytanieLayout m_layout;
    bool m_yes = false;
    bool m_cancelled = false;
    bool m_threeButtons = false;
};

}  // namespace varnel::reg
