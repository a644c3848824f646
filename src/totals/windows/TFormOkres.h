#pragma once

#include "calc/ArchiveList.h"

#include <QDate>
#include <QDialog>
#include <optional>
#include <utility>

class QComboBox;

namespace varnel::core {
struct Context;
}

namespace varnel::totals {

// "Okres": the range of archived months of the statement, chosen among the
// entries of ArcLista ("Od:", "Do:"; the last entry in both at opening).
// "OK" refuses an end before the start with "Nielogiczne następstwo dat!".
class TFormOkres : public QDialog {
    Q_OBJECT
public:
    explicit TFormOkres(core::Context &ctx, QWidget *parent = nullptr);

    // Shows the window; the range chosen with "OK", or nothing.
    std::optional<std::pair<QDate, QDate>> choose();
    bool FormShow();
    void ButtonOKClick();
    std::optional<std::pair<QDate, QDate>> chosen() const { return m_chosen; }

    QComboBox *CBoxOd = nullptr;
    QComboBox *CBoxDo = nullptr;

private:
    core::Context &m_ctx;
    QVector<calc::ArchiveEntry> m_entries;
    std::optional<std::pair<QDate, QDate>> m_chosen;
};

}  // namespace varnel::totals
