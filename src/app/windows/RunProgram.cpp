#include "app/windows/RunProgram.h"

#include "data/Alias.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "admin/Dictionaries.h"
#include "admin/windows/TFormHaslo.h"
#include "admin/windows/TFormModiIndex.h"
#include "admin/windows/TFormSerwis.h"
#include "admin/windows/TFormSlownZarz.h"
#include "admin/windows/TFormSlowniki.h"
#include "admin/windows/TFormLogin.h"
#include "admin/windows/TFormUsers.h"
#include "app/StartUp.h"
#include "calc/windows/AmountWindows.h"
#include "calc/windows/TFormLiczWszystko.h"
#include "lists/windows/TFormPrtLista.h"
#include "lists/windows/TFormWzorListy.h"
#include "register/Register.h"
#include "register/windows/TFormAbout.h"
#include "register/windows/TFormPomoc.h"
#include "register/windows/TFormProgress.h"
#include "register/windows/TFormPytanie.h"
#include "register/windows/TFormSplash.h"
#include "register/windows/TFormVarnelMain.h"
#include "register/windows/TFormWnioski.h"
#include "core/Guard.h"
#include "templates/windows/PatternDialogs.h"
#include "templates/windows/TFormPrtDec.h"
#include "templates/windows/TFormWzorDec.h"
#include "totals/windows/TFormDotacja.h"
#include "totals/windows/TFormOkres.h"
#include "ui/GuardedApplication.h"
#include "ui/QtFileDialogs.h"
#include "register/windows/QtQuestions.h"

#include <QApplication>
#include <QDir>

namespace varnel::app {

RunValues RunProgram::valuesFor(const QStringList &arguments, const QString &programDir) {
    RunValues v;
    v.programDir = programDir.endsWith(QLatin1Char('/')) ? programDir : programDir + QLatin1Char('/');
    v.helpFile = v.programDir + QStringLiteral("kalvo2a.hlp");
    v.serviceSwitch = arguments.size() > 1 && arguments.at(1).compare(QLatin1String("a"), Qt::CaseInsensitive) == 0;
    return v;
}

RunProgram::RunProgram(const QStringList &arguments)
    : m_values(valuesFor(arguments, QCoreApplication::applicationDirPath())) {
    m_pytanie = std::make_unique<reg::TFormPytanie>(m_values.programDir);
    m_questions = std::make_unique<reg::QtQuestions>(*m_pytanie);
    m_files = std::make_unique<ui::QtFileDialogs>();
}

RunProgram::~RunProgram() {
    if (auto *app = qobject_cast<ui::GuardedApplication *>(qApp); app && app->questions() == m_questions.get())
        app->setQuestions(nullptr);
}

int RunProgram::exec() {
    // Failures no operation handled are shown with the question dialogs and
    // the program goes on.
    if (auto *app = qobject_cast<ui::GuardedApplication *>(qApp))
        app->setQuestions(m_questions.get());

    // The database is found only through the alias; a missing alias or a
    // directory without the database ends the run with a clear message.
    try {
        m_db = data::Database::open(data::Alias::resolve());
    } catch (const core::DbError &e) {
        m_questions->error(e.message());
        return 1;
    }
    m_context = std::make_unique<Context>(Context{*m_db, *m_questions, *m_files, m_values});

    // The splash shows while the windows are made; the other windows of the
    // program are made when first used.
    auto splash = std::make_unique<reg::TFormSplash>();
    splash->showNow();
    m_register = std::make_unique<reg::Register>(*m_context);
    m_main = std::make_unique<reg::TFormVarnelMain>(*m_context, *m_register);
    m_register->setProgressFactory(reg::TFormProgress::factory(m_main.get()));
    splash->advance(50);
    wireMainWindow();
    splash->advance(50);
    splash.reset();

    if (!m_main->FormShow())
        return 0;
    m_main->show();
    return qApp->exec();
}

void RunProgram::wireMainWindow() {
    Context &ctx = *m_context;
    reg::Register &reg = *m_register;
    reg::TFormVarnelMain &main = *m_main;
    // An archive rebuilt in a way that needs a new start ends the run.
    QObject::connect(&reg, &reg::Register::restartRequired, &main, [&main] {
        main.close();
        QCoreApplication::exit(0);
    });
    main.logIn = [&ctx, &main]() -> std::optional<admin::Rights> {
        admin::TFormLogin login(ctx, &main);
        if (!login.run())
            return std::nullopt;
        return login.rights();
    };
    // A rebuild that failed was told and left its table as it was: the
    // start goes on and the register's opening says what is missing.
    main.schemaCheck = [&ctx, &main] {
        return MakeUpgrade(ctx, reg::TFormProgress::factory(&main)) != UpgradeOutcome::Restart;
    };
    main.setMenuHandler(QStringLiteral("SMnuUsers"), [&ctx, &main] {
        admin::TFormUsers users(ctx, &main);
        users.run();
    });
    // The service tools open only after the service password.
    main.setMenuHandler(QStringLiteral("SMnuSerwis"), [this, &ctx, &reg, &main] {
        admin::TFormHaslo haslo(&main);
        if (!haslo.run())
            return;
        admin::TFormSerwis serwis(ctx, reg, reg::TFormProgress::factory(&main), &main);
        serwis.showHelp = [this](int topic) { showHelp(topic); };
        serwis.exec();
    });
    main.setMenuHandler(QStringLiteral("SMnuOProgramie"), [&main] {
        reg::TFormAbout about(&main);
        about.run();
    });
    main.showHelp = [this](int topic) { showHelp(topic); };

    // The application form, also for "Drukuj decyzję" without showing it.
    main.showApplicationForm = [this](reg::TFormVarnelMain::FormMode mode) { wnioski().ShowModal(mode); };
    main.printDecision = [this] { wnioski().ButtonDrukujClick(); };

    // Dictionaries: shown without blocking; closing one refills the lists.
    auto refill = [&ctx, &reg] { core::guarded(ctx.questions, [&reg] { reg.IniAllDictList(); }); };
    main.setMenuHandler(QStringLiteral("SMnuZarzadcy"), [this, &ctx, &main, refill] {
        if (!m_slownZarz) {
            m_slownZarz = std::make_unique<admin::TFormSlownZarz>(ctx, refill, &main);
            m_slownZarz->showHelp = [this](int topic) { showHelp(topic); };
        }
        m_slownZarz->showList();
    });
    main.showValueDictionary = [this, &ctx, &main, refill](const admin::ValueDictionary &list) {
        if (!m_slowniki) {
            m_slowniki = std::make_unique<admin::TFormSlowniki>(ctx, refill, &main);
            m_slowniki->showHelp = [this](int topic) { showHelp(topic); };
        }
        m_slowniki->showFor(list);
    };
    // The field patterns of "Parametry" › "Wzorce pól".
    main.setMenuHandler(QStringLiteral("SMnuWzorNrDec"), [&ctx, &main] { templates::TFormWzorNrDec(ctx, &main).exec(); });
    main.setMenuHandler(QStringLiteral("SMnuWzorTerminPlatn"),
                        [&ctx, &main] { templates::TFormWzorTerminPlatn(ctx, &main).exec(); });
    main.setMenuHandler(QStringLiteral("SMnuWzorOkres"), [&ctx, &main] { templates::TFormWzorPlatneOdDo(ctx, &main).exec(); });
    main.setMenuHandler(QStringLiteral("SMnuStopka"), [&ctx, &main] { templates::TFormWzorStopki(ctx, &main).exec(); });
    // Payment lists: the template editor and the printing window, each made
    // once and shown modally.
    main.setMenuHandler(QStringLiteral("SMnuListy"), [this, &ctx, &main] {
        if (!m_wzorListy)
            m_wzorListy = std::make_unique<lists::TFormWzorListy>(ctx, &main);
        m_wzorListy->ShowModal();
    });
    main.setMenuHandler(QStringLiteral("SMnuDrukujListe"), [this, &ctx, &reg, &main] {
        if (!m_prtLista)
            m_prtLista = std::make_unique<lists::TFormPrtLista>(ctx, reg, &main);
        m_prtLista->ShowModal();
    });
    main.setMenuHandler(QStringLiteral("SMnuFormularze"), [this, &ctx, &main] {
        if (!m_wzorDec)
            m_wzorDec = std::make_unique<templates::TFormWzorDec>(ctx, &main);
        m_wzorDec->run();
    });
    // The amounts and the bulk recalculation.
    main.setMenuHandler(QStringLiteral("SMnuEmeryt"), [&ctx, &reg, &main] {
        calc::TFormEmerytMin form(ctx, reg, &main);
        form.ShowModal();
    });
    main.setMenuHandler(QStringLiteral("SMnuKwh"), [&ctx, &reg, &main] {
        calc::TFormKosztKwh form(ctx, reg, &main);
        form.ShowModal();
    });
    main.setMenuHandler(QStringLiteral("SMnuWskProc"), [&ctx, &reg, &main] {
        calc::TFormWskProc form(ctx, reg, &main);
        form.ShowModal();
    });
    main.setMenuHandler(QStringLiteral("SMnuPrzeliczDod"), [this, &ctx, &reg, &main] {
        if (!m_liczWszystko)
            m_liczWszystko = std::make_unique<calc::TFormLiczWszystko>(ctx, reg, &main);
        m_liczWszystko->SMnuPrzeliczDodClick();
    });
    // The statement of expenditure, for the table in view or a range of
    // archived months.
    main.setMenuHandler(QStringLiteral("SMnuSumaMiesiac"), [this] {
        dotacja().setMonthMode();
        dotacja().ShowModal();
    });
    main.setMenuHandler(QStringLiteral("SMnuSumaOkres"), [this, &ctx, &main] {
        totals::TFormOkres okres(ctx, &main);
        if (const auto range = okres.choose()) {
            dotacja().setRangeMode(range->first, range->second);
            dotacja().ShowModal();
        }
    });
    main.setMenuHandler(QStringLiteral("SMnuIndeksuj"), [&ctx, &reg, &main] {
        admin::TFormModiIndex index(ctx, reg, &main);
        index.exec();
    });
}

reg::TFormWnioski &RunProgram::wnioski() {
    if (!m_wnioski) {
        m_wnioski = std::make_unique<reg::TFormWnioski>(*m_context, *m_register, m_main.get());
        m_wnioski->showHelp = [this](int topic) { showHelp(topic); };
        m_wnioski->printDecision = [this](const QString &templateFile) { prtDec().ShowModal(templateFile); };
    }
    return *m_wnioski;
}

totals::TFormDotacja &RunProgram::dotacja() {
    if (!m_dotacja)
        m_dotacja = std::make_unique<totals::TFormDotacja>(*m_context, *m_register, m_main.get());
    return *m_dotacja;
}

templates::TFormPrtDec &RunProgram::prtDec() {
    if (!m_prtDec) {
        m_prtDec = std::make_unique<templates::TFormPrtDec>(*m_context, m_register->TableWnioski(), m_main.get());
        m_prtDec->showHelp = [this](int topic) { showHelp(topic); };
    }
    return *m_prtDec;
}

help::TFormPomoc &RunProgram::pomoc() {
    if (!m_pomoc)
        m_pomoc = std::make_unique<help::TFormPomoc>(*m_context, m_main.get());
    return *m_pomoc;
}

// F1 opens the help file at a topic; "Pomoc" › "Wyświetl" at its keyword
// search with an empty keyword (topic 0).
void RunProgram::showHelp(int topic) {
    if (topic > 0)
        pomoc().showTopic(topic);
    else
        pomoc().showKeywordSearch();
}

}  // namespace varnel::app
