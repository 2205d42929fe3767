#include "link/widgets/TTransferF.h"

#include "link/widgets/JpegPicture.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>

namespace {
constexpr int kWidth = 265;
constexpr int kHeight = 73;

QLabel *picture(QWidget *parent, const char *name, const QString &resource)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(0, 0, kWidth, kHeight);
    const QImage image = JpegPicture::load(resource);
    if (!image.isNull())
        label->setPixmap(QPixmap::fromImage(image));
    label->setAccessibleName(QStringLiteral("Transfer picture"));
    label->hide();
    return label;
}
} // namespace

TTransferF::TTransferF(StatusSink &status, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , status_(status)
{
    setObjectName(QStringLiteral("TransferF"));
    setWindowTitle(QStringLiteral("Transfer"));
    setAccessibleName(QStringLiteral("Transfer"));
    setAccessibleDescription(QStringLiteral("Data is moving between the computer and the panel"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kHeight);
    Image1 = picture(this, "Image1", QStringLiteral(":/resources/transfer1.jpg"));
    Image2 = picture(this, "Image2", QStringLiteral(":/resources/transfer2.jpg"));
    Image3 = picture(this, "Image3", QStringLiteral(":/resources/transfer3.jpg"));
    Image1->show();

    Timer1.setInterval(300);
    connect(&Timer1, &QTimer::timeout, this, &TTransferF::Timer1Timer);
    Timer1.start();
}

void TTransferF::Timer1Timer()
{
    const int image = animation_.tick();
    Image1->setVisible(image == 1);
    Image2->setVisible(image == 2);
    Image3->setVisible(image == 3);
}

int TTransferF::shownImage() const
{
    if (!Image1->isHidden())
        return 1;
    if (!Image2->isHidden())
        return 2;
    if (!Image3->isHidden())
        return 3;
    return 0;
}

void TTransferF::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        centre();
        FormShow();
    }
}

void TTransferF::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TTransferF::FormShow()
{
    animation_.restart();
    status_.transferRunning(true);
    status_.setStatusText(QStringLiteral("DownLoading."));
}

void TTransferF::FormHide()
{
    status_.transferRunning(false);
    status_.setStatusText(QStringLiteral("Done"));
}

void TTransferF::centre()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
