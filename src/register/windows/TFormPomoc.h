#pragma once

#include "register/HelpFile.h"

#include <QDateTime>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace varnel::core {
struct Context;
}

namespace varnel::help {

// The help window: the help file of the program directory (RunValues
// helpFile) with its contents, its keyword index and the topic shown. Shown
// without blocking the program; it reads the file again when it changed.
// Asked for from a modal window (the application form, a dialog), it opens
// as that window's own, so that it can be used while the window waits, and
// goes back to its first owner when that window closes. Esc closes it.
class TFormPomoc : public QWidget {
    Q_OBJECT
public:
    explicit TFormPomoc(core::Context &ctx, QWidget *parent = nullptr);

    // F1: the topic of this number. A topic the file lacks leaves the
    // contents to choose from, with a note in place of the topic. False
    // (after telling the user) when the help file cannot be read.
    bool showTopic(int number);
    // "Pomoc" › "Wyświetl": the keyword index at the first keyword beginning
    // with this text; an empty text shows the whole index to pick from.
    bool showKeywordSearch(const QString &keyword = QString());

    int currentTopic() const { return m_current; }
    const HelpFile &file() const { return m_file; }

    QTabWidget *Tabs;
    QListWidget *LBoxSpis;      // contents: every topic in file order
    QLineEdit *EditSzukaj;      // keyword typed
    QListWidget *LBoxIndeks;    // keyword index
    QListWidget *LBoxTematy;    // the topics of the chosen keyword
    QTextBrowser *Tekst;        // the topic shown
    QPushButton *ButtonWstecz;
    QPushButton *ButtonZamknij;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void comeToFront();
    void adoptOwner(QWidget *owner);
    bool ensureLoaded();
    void fillLists();
    void display(int number);
    void shown(int number);
    void keywordChosen(int row);
    void openChosenTopic();

    core::Context &m_ctx;
    QWidget *m_home;  // the owner given at construction
    HelpFile m_file;
    QString m_loadedPath;
    QDateTime m_loadedStamp;
    int m_current = 0;
};

}  // namespace varnel::help
