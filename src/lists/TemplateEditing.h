#pragma once

#include "lists/ListTemplate.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace varnel::lists {

// The rules of the list template editor that do not need a screen: its tool
// bar (face, size, styles of the section being edited) and its columns.

// What the tool bar shows: a face among the offered ones, a size among the
// offered sizes, the three style buttons.
struct ToolBarState {
    QString face;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const ToolBarState &) const = default;
};

inline const QString NoSuchFontSize = QStringLiteral("Nie zdefiniowany rozmiar czcionki!");
inline const QString NoSuchFontFace = QStringLiteral("Nie zdefiniowana nazwa czcionki!");

// The face the system itself draws a face name with ("Arial" is drawn with
// "Liberation Sans" on this platform), or an empty text when it only falls
// back to its default face.
using FaceSubstitute = std::function<QString(const QString &face)>;

// Loading a font into the tool bar: the style buttons follow the font; a
// size that is not offered gives "Nie zdefiniowany rozmiar czcionki!" and
// 10; a face that is not offered (compared without regard to letter case)
// gives "Nie zdefiniowana nazwa czcionki!" and the first face offered. A
// face that the system draws with an offered face of its own (a metric twin
// installed in its place, as "Liberation Sans" for "Arial") is that face,
// without a message: the list prints the same with either name.
struct ToolBarLoading {
    ToolBarState state;
    QStringList messages;  // in the order shown: size first, then face
};
ToolBarLoading loadToolBar(const ListFont &font, const QStringList &faces, const FaceSubstitute &substitute = {});

// The font the tool bar's state stands for.
ListFont fontOf(const ToolBarState &state);

// A new column of an item: width 20, "-" for an item that may be totalled,
// else blank.
ListColumn newColumn(const QString &item);
// Switches a column between "+" and "-". For an item that cannot be
// totalled nothing changes and the message "Nie można sumować wg pola: " +
// name is returned; otherwise an empty text.
QString toggleSum(ListColumn &column);

// A width typed for a column: a whole number of characters from 1 to
// MaxColumnWidth. Returns the message for anything else, empty when
// accepted (the width is then in *width).
constexpr int MaxColumnWidth = 999;
QString parseColumnWidth(const QString &text, int *width);

}  // namespace varnel::lists
