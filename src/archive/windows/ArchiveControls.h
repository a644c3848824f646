#pragma once

#include <QProgressBar>
#include <QPushButton>
#include <QString>

namespace varnel::archive {

// The controls the archive windows share: a button named for tests and F1
// that never takes Enter by itself, and a progress bar without text that
// keeps its place in the layout while hidden.
inline QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

inline QProgressBar *placeKeepingBar(QWidget *parent, const char *name) {
    auto *p = new QProgressBar(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setTextVisible(false);
    auto policy = p->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    p->setSizePolicy(policy);
    return p;
}

}  // namespace varnel::archive
