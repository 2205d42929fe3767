#include "link/widgets/FramePictureStyle.h"

#include <QLineEdit>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionFrame>

#include <cmath>

namespace {
bool whole(qreal value)
{
    return std::abs(value - std::round(value)) < 1e-9;
}

// Where the check draws the panel inside its image: away from the corner,
// so a panel that depends on where it is drawn shows it.
const QPoint kCheckOffset(3, 5);
} // namespace

FramePictureStyle::FramePictureStyle(QStyle *base)
    : QProxyStyle(base)
{
}

FramePictureStyle *FramePictureStyle::install(QLineEdit *field)
{
    const QString name = field->style()->name();
    QStyle *base = name.isEmpty() ? nullptr : QStyleFactory::create(name);
    if (!base)
        return nullptr;
    auto *style = new FramePictureStyle(base);
    style->setParent(field);
    field->setStyle(style);
    return style;
}

void FramePictureStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    if (element != PE_PanelLineEdit || !frame || !painter || !painter->device() || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    pictureUsed_ = false;
    const QTransform &at = painter->worldTransform();
    const qreal ratio = painter->device()->devicePixelRatio();
    const bool plain = at.type() <= QTransform::TxTranslate && whole(at.dx()) && whole(at.dy()) && whole(ratio)
                       && painter->opacity() == 1.0
                       && painter->compositionMode() == QPainter::CompositionMode_SourceOver
                       && option->palette.base().style() == Qt::SolidPattern
                       && option->palette.window().style() == Qt::SolidPattern;
    if (!plain) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const Key key{option->rect.size(),   int(option->state),        int(option->direction),
                  frame->lineWidth,      frame->midLineWidth,        int(frame->features),
                  option->palette.cacheKey(), ratio};
    if (!haveKey_ || !(key == key_))
        makePicture(key, *option, widget);
    if (!exact_) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->drawImage(option->rect.topLeft(), picture_);
    pictureUsed_ = true;
}

// The panel in an image of its own size plus `offset`, on `under`: drawn by
// the style (direct) or copied from the picture.
QImage FramePictureStyle::drawPanel(const QStyleOption &option, const QWidget *widget, qreal ratio,
                                    const QColor &under, bool direct) const
{
    const QPoint offset = under.alpha() == 0 ? QPoint() : kCheckOffset;
    QImage image((option.rect.size() + QSize(offset.x(), offset.y())) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(under);
    QPainter painter(&image);
    if (!direct) {
        painter.drawImage(offset, picture_);
        return image;
    }
    QStyleOptionFrame moved = *qstyleoption_cast<const QStyleOptionFrame *>(&option);
    moved.rect = QRect(offset, option.rect.size());
    QProxyStyle::drawPrimitive(PE_PanelLineEdit, &moved, &painter, widget);
    return image;
}

void FramePictureStyle::makePicture(const Key &key, const QStyleOption &option, const QWidget *widget) const
{
    key_ = key;
    haveKey_ = true;
    picture_ = drawPanel(option, widget, key.ratio, Qt::transparent, true);
    exact_ = true;
    for (const QColor &under : {option.palette.window().color(), option.palette.base().color()}) {
        const QColor opaque = QColor::fromRgb(under.rgb());
        if (drawPanel(option, widget, key.ratio, opaque, true) != drawPanel(option, widget, key.ratio, opaque, false)) {
            exact_ = false;
            picture_ = QImage();
            return;
        }
    }
}
