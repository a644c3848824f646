#include "templates/TemplateEditing.h"

#include "core/FileDialogs.h"
#include "core/Questions.h"
#include "templates/FieldCatalogue.h"
#include "templates/TemplateFile.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace varnel::templates {

QString editorCaption(const QString &fileName) { return QStringLiteral("Wzorzec formularza:  ") + fileName; }

QString caretText(int line, int column) {
    return QStringLiteral("Line: %1   Col: %2").arg(line, 3).arg(column, 3);
}

QStringList editorFieldNames() {
    QStringList names = decisionFieldNames();
    QCollator polish{QLocale(QLocale::Polish)};
    std::stable_sort(names.begin(), names.end(),
                     [&polish](const QString &a, const QString &b) { return polish.compare(a, b) < 0; });
    return names;
}

const QStringList &editorFontSizes() {
    static const QStringList sizes = {
        QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"),
        QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
        QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"),
        QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")};
    return sizes;
}

EditorPopupStates editorPopupStates(bool hasSelection, bool clipboardHasText) {
    EditorPopupStates s;
    s.copy = s.cut = s.remove = hasSelection;
    s.paste = clipboardHasText;
    return s;
}

EditorLayout editorLayout(const EditorLayoutInput &in) {
    // Below these the controls could no longer be used; the window's
    // minimum size keeps them from being reached in practice.
    constexpr int MinEditorWidth = 100;
    constexpr int MinEditorHeight = 60;
    constexpr int MinListHeight = 30;

    const int width = in.window.width();
    const int height = in.window.height();

    EditorLayout out;
    const int editorWidth = std::max(MinEditorWidth, width - in.listWidth - 30);
    const int editorHeight = std::max(MinEditorHeight, height - 100);
    out.editor = QRect(in.left, in.top, editorWidth, editorHeight);
    out.list = QRect(in.left + editorWidth + 10, in.top, in.listWidth, std::max(MinListHeight, editorHeight - 30));
    const int statusTop = std::clamp(height - 50, 0, std::max(0, height - in.statusBarHeight));
    out.statusBar = QRect(0, statusTop, std::max(0, width), in.statusBarHeight);
    return out;
}

TemplateEditing::TemplateEditing(EditedTemplate &document, core::Questions &questions, core::FileDialogs &files,
                                 QString directory, QWidget *dialogParent)
    : m_document(document), m_questions(questions), m_files(files), m_directory(std::move(directory)),
      m_dialogParent(dialogParent) {}

bool TemplateEditing::write(const QString &path) {
    try {
        m_document.saveFile(path);
    } catch (const TemplateFileError &e) {
        m_questions.error(e.message());
        return false;
    }
    m_document.setModified(false);
    return true;
}

TemplateEditing::Check TemplateEditing::saveIfChanged() {
    if (!m_document.isModified())
        return Check::Yes;
    switch (m_questions.confirmOrCancel(SaveChangesQuestion)) {
    case core::Questions::Choice::No: return Check::No;
    case core::Questions::Choice::Cancel: return Check::Cancel;
    case core::Questions::Choice::Yes: break;
    }
    // A save given up or failed must not let the pending operation throw
    // the changes away: the user goes back to the editor with them.
    const bool saved = m_fileName.isEmpty() ? save() : write(m_fileName);
    return saved ? Check::Yes : Check::Cancel;
}

bool TemplateEditing::newTemplate() {
    if (saveIfChanged() == Check::Cancel)
        return false;
    m_fileName.clear();
    m_document.clear();
    m_document.setModified(false);
    return true;
}

bool TemplateEditing::open() {
    if (saveIfChanged() == Check::Cancel)
        return false;
    const QString path = m_files.openFile(m_dialogParent, m_directory, DecisionTemplateFilter, TemplateExtension);
    if (path.isEmpty())
        return false;
    try {
        m_document.loadFile(path);
    } catch (const TemplateFileError &e) {
        m_questions.error(e.message());
        return false;
    }
    m_fileName = path;
    m_document.setModified(false);
    return true;
}

bool TemplateEditing::save() {
    // The dialog opens where the current file is, with its name filled in;
    // a template never saved starts in the database directory.
    const QString start = m_fileName.isEmpty() ? m_directory : m_fileName;
    const QString path = m_files.saveFile(m_dialogParent, start, TemplateSaveFilter, TemplateExtension);
    if (path.isEmpty() || !write(path))
        return false;
    m_fileName = path;
    return true;
}

bool TemplateEditing::close() {
    if (saveIfChanged() == Check::Cancel)
        return false;
    m_document.clear();
    m_document.setModified(false);
    m_fileName.clear();
    return true;
}

}  // namespace varnel::templates
