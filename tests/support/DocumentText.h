#pragma once

// Looking into a QTextDocument in tests of the documents tier.

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace varnel::test {

// The character format of the first character of `what` in the document.
inline QTextCharFormat formatAt(const QTextDocument &doc, const QString &what) {
    const QTextCursor found = doc.find(what);
    EXPECT_FALSE(found.isNull()) << what.toStdString();
    QTextCursor c(found);
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

}  // namespace varnel::test
