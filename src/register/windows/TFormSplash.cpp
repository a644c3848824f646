#include "register/windows/TFormSplash.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace varnel::reg {

namespace {
const QSize PictureSize(440, 230);
}

TFormSplash::TFormSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TFormSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);

    Image = new QLabel(frame);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setPixmap(picture(PictureSize));
    Image->setFixedSize(PictureSize);

    LabelVersion = new QLabel(frame);
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    QFont f = LabelVersion->font();
    f.setBold(true);
    LabelVersion->setFont(f);

    ProgressBar = new QProgressBar(frame);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setFixedHeight(14);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(10, 6, 10, 8);
    bottom->setSpacing(12);
    bottom->addWidget(LabelVersion);
    bottom->addWidget(ProgressBar, 1);

    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(1, 1, 1, 1);
    inner->setSpacing(0);
    inner->addWidget(Image);
    inner->addLayout(bottom);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    // The version label is filled when shown: make room for it now.
    LabelVersion->setMinimumWidth(LabelVersion->fontMetrics().horizontalAdvance(QStringLiteral("Ver. 1.18b")) + 4);
    setFixedSize(sizeHint());
}

QPixmap TFormSplash::picture(const QSize &size) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();

    // Evening sky over a row of houses.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x1f, 0x3c, 0x73));
    sky.setColorAt(1, QColor(0x8f, 0xb4, 0xd9));
    p.fillRect(QRectF(0, 0, w, h), sky);

    const qreal ground = h * 0.78;
    p.fillRect(QRectF(0, ground, w, h - ground), QColor(0x4b, 0x6b, 0x3a));

    struct House {
        qreal x, width, height;
        QColor wall;
    };
    const House houses[] = {
        {w * 0.50, w * 0.15, h * 0.30, QColor(0xd9, 0xc7, 0xa3)},
        {w * 0.66, w * 0.12, h * 0.42, QColor(0xc9, 0xa9, 0x86)},
        {w * 0.79, w * 0.16, h * 0.26, QColor(0xe3, 0xd6, 0xbd)},
    };
    for (const House &b : houses) {
        const QRectF wall(b.x, ground - b.height, b.width, b.height);
        p.fillRect(wall, b.wall);
        QPainterPath roof;
        roof.moveTo(b.x - 4, wall.top());
        roof.lineTo(b.x + b.width / 2, wall.top() - b.width * 0.45);
        roof.lineTo(b.x + b.width + 4, wall.top());
        roof.closeSubpath();
        p.fillPath(roof, QColor(0x9c, 0x3b, 0x2e));
        // Lit windows.
        const qreal win = b.width / 5;
        for (qreal y = wall.top() + win; y + win * 1.2 < ground - win * 0.5; y += win * 1.8)
            for (int c = 0; c < 2; ++c)
                p.fillRect(QRectF(b.x + win * (1 + 2 * c), y, win, win * 1.2), QColor(0xf6, 0xd8, 0x6b));
    }

    p.setPen(Qt::white);
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(int(h * 0.22));
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(w * 0.05, h * 0.10, w * 0.5, h * 0.3), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Varnel"));
    QFont sub(QStringLiteral("Liberation Sans"));
    sub.setPixelSize(int(h * 0.075));
    p.setFont(sub);
    p.drawText(QRectF(w * 0.05, h * 0.40, w * 0.45, h * 0.3), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Dodatki mieszkaniowe"));
    return pm;
}

void TFormSplash::showEvent(QShowEvent *e) {
    LabelVersion->setText(QStringLiteral("Ver. 1.18b"));
    if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.left() + area.width() / 2 - width() / 2, area.top() + area.height() / 2 - height() / 2);
    }
    QWidget::showEvent(e);
}

void TFormSplash::showNow() {
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormSplash::advance(int by) {
    ProgressBar->setValue(std::min(100, ProgressBar->value() + by));
    if (isVisible())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int TFormSplash::position() const { return ProgressBar->value(); }

}  // namespace varnel::reg
