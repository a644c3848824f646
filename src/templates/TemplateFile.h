#pragma once

#include "templates/RichText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace varnel::templates {

// A template file that cannot be read or written; the message names the
// file and gives the system's reason, in Polish, ready to be shown.
class TemplateFileError : public std::runtime_error {
public:
    explicit TemplateFileError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The open dialog filter of decision templates and the save dialog filter of
// the template editor, with the default extension.
inline const QString DecisionTemplateFilter = QStringLiteral("Wzorzec decyzji (*.fmz)|*.fmz|Dowolny (*.*)|*.*");
inline const QString TemplateSaveFilter = QStringLiteral("Wzorzec formularza (*.fmz)|*.fmz|Dowolny (*.*)|*.*");
inline const QString TemplateExtension = QStringLiteral("fmz");

// Templates are small; a larger file is refused rather than read.
inline constexpr qint64 MaxTemplateFileSize = 16 * 1024 * 1024;

// Text of a file that is not RTF: UTF-8 when the bytes are valid UTF-8 (a
// byte-order mark dropped), otherwise Windows-1250.
QString decodePlainText(const QByteArray &data);

// The lines of a text, line ends of any system; a final line end closes the
// last line and adds no empty one. An empty text has no lines.
QStringList textLines(const QString &text);

// A document of plain text: one paragraph a line, in the default font.
RichText plainTextDocument(const QString &text);

// The document held in template data: RTF when it begins with "{\rtf",
// otherwise plain text. Throws TemplateFileError, naming `fileName`, when
// the document is larger than the reader takes.
RichText parseTemplate(const QByteArray &data, const QString &fileName);

// Reads a template file (RTF or plain text, as parseTemplate). Throws
// TemplateFileError with the file's error when it cannot be read.
RichText readTemplateFile(const QString &path);

// Writes a document as an RTF template file. The file is replaced only once
// the whole of it is written, so a failed save keeps the old one. Throws
// TemplateFileError with the file's error.
void writeTemplateFile(const QString &path, const RichText &text);

}  // namespace varnel::templates
