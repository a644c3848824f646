#include "admin/Dictionaries.h"

#include "data/Collation.h"
#include "data/Database.h"
#include "data/Table.h"
#include "core/Questions.h"

namespace varnel::admin {

namespace {
const QString Opis = QStringLiteral("Opis");
const QString BylModi = QStringLiteral("BylModi");
}  // namespace

const QVector<ValueDictionary> &valueDictionaries() {
    static const QVector<ValueDictionary> lists = {
        {QStringLiteral("tytprawn.db"), QStringLiteral("Słownik: Tytuły prawne do lokalu"),
         QStringLiteral("Tytuły do zajm. lokalu"), QStringLiteral("SMnuTytulydolkalu")},
        {QStringLiteral("ogrzlok.db"), QStringLiteral("Słownik: Sposoby ogrzewania lokalu"),
         QStringLiteral("Sposoby ogrzewania lokalu"), QStringLiteral("Sposobyogrzewanialokalu1")},
        {QStringLiteral("ogrzwody.db"), QStringLiteral("Słownik: Sposoby ogrzewania wody"),
         QStringLiteral("Sposoby ogrzewania wody"), QStringLiteral("SMnuOgrzWody")},
        {QStringLiteral("statlok.db"), QStringLiteral("Słownik: Statusy lokali"), QStringLiteral("Statusy lokali"),
         QStringLiteral("SMnuStatLokali")},
    };
    return lists;
}

QStringList dictionaryTexts(data::Database &db, const QString &table) {
    data::Table t(db, table);
    t.open();
    QStringList texts;
    texts.reserve(t.recordCount());
    data::Field opis = t.field(Opis);
    for (t.first(); !t.eof(); t.next())
        texts << opis.asString();
    return texts;
}

bool markManagerUsed(data::Database &db, const QString &managerText) {
    data::Table t(db, ManagerDictionary);
    t.open();
    t.setIndexName(QStringLiteral("OpisNdx"));
    if (!t.findKey({managerText}))
        return false;
    // OpisNdx orders without regard to case and a key longer than the field
    // is cut to its size, so the index finds a run of candidates; only the
    // very text counts.
    data::Field opis = t.field(Opis);
    for (; !t.eof() && data::comparePolish(opis.asString(), managerText) == 0; t.next()) {
        if (opis.asString() == managerText) {
            t.edit();
            t.field(BylModi).setBoolean(true);
            t.post();
            return true;
        }
    }
    return false;
}

bool DictionaryRules::isUsed() const {
    return m_table.isOpen() && !m_table.isEmpty() && m_table.field(BylModi).asBoolean();
}

QString DictionaryRules::changeRefusal() const {
    return m_kind == Kind::Managers ? QStringLiteral("Pozycja była używana! Zmiana niemożliwa!")
                                    : QStringLiteral("Zmiana zawartości niemożliwa!");
}

QString DictionaryRules::deleteRefusal() const {
    return m_kind == Kind::Managers ? QStringLiteral("Pozycja była używana! Usunięcie niemożliwe!")
                                    : QStringLiteral("Usunięcie pozycji niemożliwe!");
}

void DictionaryRules::add() { m_table.insert(); }

bool DictionaryRules::change(core::Questions &questions) {
    if (isUsed()) {
        questions.inform(changeRefusal());
        return false;
    }
    m_table.edit();  // on an empty list the engine starts a new row instead
    return true;
}

bool DictionaryRules::remove(core::Questions &questions) {
    if (m_table.isEmpty())
        return false;
    if (isUsed()) {
        questions.inform(deleteRefusal());
        return false;
    }
    if (!questions.confirmDelete(QStringLiteral("Usunąć pozycję?")))
        return false;
    m_table.remove();
    return true;
}

void DictionaryRules::accept() {
    if (!m_table.isEditing())
        return;
    if (m_table.state() == data::TableState::Insert) {
        m_table.field(BylModi).setBoolean(false);
        // A manager's municipal flag is True or False, never blank, so the
        // list and the totals read the same thing.
        if (m_kind == Kind::Managers && m_table.field(QStringLiteral("Wlasn_gminy")).isNull())
            m_table.field(QStringLiteral("Wlasn_gminy")).setBoolean(false);
    }
    m_table.post();
}

void DictionaryRules::discard() {
    if (m_table.isEditing())
        m_table.cancel();
}

}  // namespace varnel::admin
