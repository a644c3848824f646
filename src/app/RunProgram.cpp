#include "app/RunProgram.h"

#include "data/Alias.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "register/TFormPytanie.h"
#include "register/TFormVarnelMain.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtQuestions.h"

#include <QApplication>
#include <QDir>

namespace varnel::app {

RunValues RunProgram::valuesFor(const QStringList &arguments, const QString &programDir) {
    RunValues v;
    v.programDir = programDir.endsWith(QLatin1Char('/')) ? programDir : programDir + QLatin1Char('/');
    v.helpFile = v.programDir + QStringLiteral("kalvo2a.hlp");
    v.serviceSwitch = arguments.size() > 1 && arguments.at(1).compare(QLatin1String("a"), Qt::CaseInsensitive) == 0;
    v.currentTableName = QStringLiteral("Aktualne");
    return v;
}

RunProgram::RunProgram(const QStringList &arguments)
    : m_values(valuesFor(arguments, QCoreApplication::applicationDirPath())) {
    m_pytanie = std::make_unique<reg::TFormPytanie>(m_values.programDir);
    m_questions = std::make_unique<ui::QtQuestions>(*m_pytanie);
    m_files = std::make_unique<ui::QtFileDialogs>();
}

RunProgram::~RunProgram() = default;

int RunProgram::exec() {
    // The database is found only through the alias; a missing alias or a
    // directory without the database ends the run with a clear message.
    try {
        m_db = data::Database::open(data::Alias::resolve());
    } catch (const data::DbError &e) {
        m_questions->error(e.message());
        return 1;
    }
    m_context = std::make_unique<Context>(Context{*m_db, *m_questions, *m_files, m_values});
    m_main = std::make_unique<reg::TFormVarnelMain>(*m_context);
    wireMainWindow();
    if (!m_main->FormShow())
        return 0;
    m_main->show();
    return qApp->exec();
}

void RunProgram::wireMainWindow() {}

}  // namespace varnel::app
