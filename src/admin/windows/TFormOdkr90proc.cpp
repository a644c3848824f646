#include "admin/windows/TFormOdkr90proc.h"

#include "admin/ServiceTools.h"
#include "core/Context.h"
#include "core/Guard.h"
#include "core/HelpTopics.h"
#include "core/Questions.h"
#include "register/Register.h"
#include "ui/BarProgress.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

namespace {

const QString Note = QStringLiteral(
    "W wersji 1.13 programu, po zmianie przepisów od początku 2002 r., jako koszt wpisywano 90% czynszu.\n"
    "Funkcja przelicza z powrotem czynsz i opłaty dodatkowe, mnożąc je przez 10/9.\n"
    "Przeliczane są tylko wnioski, których okres przysługiwania zaczyna się w podanym dniu lub później.\n"
    "\n"
    "UWAGA! Uruchomić tylko raz!\n"
    "KOPIA przed uruchomieniem.\n"
    "(Kopię bazy danych robi polecenie: varnel-admin backup PLIK; F1 - pomoc.)");

}  // namespace

TFormOdkr90proc::TFormOdkr90proc(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_param(ctx.db, QStringLiteral("param.db")),
      m_source(new ui::DataSource(this)) {
    setObjectName(QStringLiteral("TFormOdkr90proc"));
    setWindowTitle(QStringLiteral("Odkręć 90%"));
    m_source->setTable(&m_param);
    m_source->setQuestions(&ctx.questions);

    Label1 = new QLabel(QStringLiteral("Dla wniosków z początkiem okresu przysłutgiwania późniejszych niż:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DBEOkresOd = new ui::DbLineEdit(this);
    DBEOkresOd->setObjectName(QStringLiteral("DBEOkresOd"));
    DBEOkresOd->setCaption(QStringLiteral("Początek okresu"));
    DBEOkresOd->setFixedWidth(DBEOkresOd->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 24);
    DBEOkresOd->bind(m_source, QStringLiteral("Wzor_OkresOd"));
    Label1->setBuddy(DBEOkresOd);

    Memo1 = new QPlainTextEdit(Note, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setMinimumHeight(Memo1->fontMetrics().lineSpacing() * 9 + 12);

    ProgressBar = ui::newWindowBar(this);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setAutoDefault(false);  // Enter in the date does not convert
    ButtonCofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    ButtonCofnij->setAutoDefault(false);

    auto *date = new QHBoxLayout;
    date->addWidget(Label1);
    date->addWidget(DBEOkresOd);
    date->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCofnij);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(date);
    layout->addWidget(Memo1, 1);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    resize(std::max(sizeHint().width(), 620), sizeHint().height());

    connect(ButtonOK, &QPushButton::clicked, this, &TFormOdkr90proc::ButtonOKClick);
    connect(ButtonCofnij, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormOdkr90proc::showEvent(QShowEvent *e) {
    ProgressBar->hide();
    ButtonOK->setEnabled(true);
    core::guarded(m_ctx.questions, [&] {
        if (!m_param.isOpen())
            m_param.open();
        m_param.first();
        if (!m_param.isEmpty())
            m_param.edit();  // the date may be changed for this run
    });
    DBEOkresOd->load();
    QDialog::showEvent(e);
    DBEOkresOd->setFocus();
}

void TFormOdkr90proc::keyPressEvent(QKeyEvent *e) {
    if (e->key() == Qt::Key_F1 && showHelp) {
        showHelp(help::DatabaseCopy);
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFormOdkr90proc::ButtonOKClick() {
    QDate from;
    const bool read = core::guarded(m_ctx.questions, [&] {
        m_source->updateRecord();  // the date as typed
        if (m_param.isOpen() && !m_param.isEmpty() && !m_param.field(QStringLiteral("Wzor_OkresOd")).isNull())
            from = m_param.field(QStringLiteral("Wzor_OkresOd")).asDate();
    });
    if (!read)
        return;
    // Without a date every application would be converted: the conversion
    // cannot be undone, so a date is required.
    if (!from.isValid()) {
        m_ctx.questions.inform(QStringLiteral("Podaj datę początku okresu przysługiwania."));
        DBEOkresOd->setFocus();
        return;
    }

    ProgressBar->setValue(0);
    ProgressBar->show();
    ButtonOK->setEnabled(false);
    const bool converted = core::guarded(m_ctx.questions, [&] {
        ui::BarProgress bar(ProgressBar);
        Odkrec90proc(m_reg.TableWnioski(), from, &bar);
    });
    ProgressBar->hide();
    // A failure changed nothing (the walk is rolled back): it may be tried again.
    ButtonOK->setEnabled(!converted);
}

void TFormOdkr90proc::done(int result) {
    if (m_param.isOpen())
        m_param.close();  // the date typed is not stored
    QDialog::done(result);
}

}  // namespace varnel::admin
