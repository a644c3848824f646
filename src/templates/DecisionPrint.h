#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace varnel::templates {

// The print window of a decision ("Drukowanie decyzji"): the rules it
// follows, kept apart from its controls.

inline const QString PrtDecCaption = QStringLiteral("Drukowanie decyzji");
// Every decision goes to the printer as one job of this title.
inline const QString DecisionJobTitle = QStringLiteral("Decyzja");

// The copy count: "1" when the run starts; the spin buttons run from 1 to 9
// in steps of 1 without wrapping, but a number typed beyond them is taken
// as typed.
inline const QString CopiesStartText = QStringLiteral("1");
inline constexpr int SpinCopiesMin = 1;
inline constexpr int SpinCopiesMax = 9;
inline const QString CopiesErrorText = QStringLiteral("Błędna wartość w polu: Liczba kopii");

// The number of copies in the text of the copy count: a whole number in
// decimal digits, with an optional sign and blanks around it. Nothing for
// any other text, and for a number below 1, since no copy can be printed
// then; the window then shows CopiesErrorText.
std::optional<int> copiesOf(const QString &text);

// Where the parts of the window stand for its inner size: the panel takes
// the height less 30 and holds the editor, which takes the panel's height
// less 30, with the copy count in the 30 below it; the buttons stand in the
// 30 at the bottom of the window. Nothing gets a negative size.
struct PrtDecLayout {
    QRect panel;       // in the window
    QRect editor;      // in the panel
    QRect copiesRow;   // in the panel, below the editor
    QRect buttonRow;   // in the window, below the panel
};
inline constexpr int PrtDecRowHeight = 30;
PrtDecLayout prtDecLayout(QSize window);

}  // namespace varnel::templates
