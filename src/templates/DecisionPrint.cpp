#include "templates/DecisionPrint.h"

#include <algorithm>

namespace varnel::templates {

std::optional<int> copiesOf(const QString &text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok, 10);
    if (!ok || n < 1)
        return std::nullopt;
    return n;
}

PrtDecLayout prtDecLayout(QSize window) {
    const int w = std::max(0, window.width());
    const int panelH = std::max(0, window.height() - PrtDecRowHeight);
    const int editorH = std::max(0, panelH - PrtDecRowHeight);
    PrtDecLayout l;
    l.panel = QRect(0, 0, w, panelH);
    l.editor = QRect(0, 0, w, editorH);
    l.copiesRow = QRect(0, editorH, w, panelH - editorH);
    l.buttonRow = QRect(0, panelH, w, std::max(0, window.height()) - panelH);
    return l;
}

}  // namespace varnel::templates
