#pragma once

#include <QImage>
#include <QPalette>
#include <QProxyStyle>

class QLineEdit;

// The look of the application's style for a field whose text changes many
// times a second while its frame stays as it is (a transfer's line count):
// the field's panel (its background and anti-aliased outline) is drawn once
// into a picture and then copied, instead of being drawn again at every new
// count. Everything else goes to the application's style.
//
// The picture is checked when it is made: the panel is drawn directly and
// through the picture on the field's own backgrounds, and only if the two
// are the same pixel for pixel is the picture used; otherwise (a style whose
// panel depends on where it is drawn, say) the style draws every panel.
class FramePictureStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Gives the field this style when the application's style can be made
    // again by its name; otherwise leaves the field as it is. The style
    // belongs to the field.
    static FramePictureStyle *install(QLineEdit *field);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

    // Whether the last panel drawn came from the picture (for tests).
    bool pictureUsed() const { return pictureUsed_; }

private:
    explicit FramePictureStyle(QStyle *base);

    struct Key
    {
        QSize size;
        int state = 0;
        int direction = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        int features = 0;
        qint64 palette = 0;
        qreal ratio = 1;
        bool operator==(const Key &o) const
        {
            return size == o.size && state == o.state && direction == o.direction && lineWidth == o.lineWidth
                   && midLineWidth == o.midLineWidth && features == o.features && palette == o.palette
                   && ratio == o.ratio;
        }
    };

    QImage drawPanel(const QStyleOption &option, const QWidget *widget, qreal ratio, const QColor &under,
                     bool direct) const;
    void makePicture(const Key &key, const QStyleOption &option, const QWidget *widget) const;

    mutable Key key_;
    mutable bool haveKey_ = false;
    mutable bool exact_ = false;
    mutable QImage picture_;
    mutable bool pictureUsed_ = false;
};
