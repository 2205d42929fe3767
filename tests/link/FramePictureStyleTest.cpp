#include "link/widgets/FramePictureStyle.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
// Two fields alike, one drawn by the application's style, one through the
// picture of its panel.
struct TwoFields
{
    QWidget window;
    QLineEdit *byStyle = new QLineEdit(&window);
    QLineEdit *pictured = new QLineEdit(&window);
    FramePictureStyle *style = nullptr;

    TwoFields()
    {
        auto *layout = new QVBoxLayout(&window);
        for (QLineEdit *field : {byStyle, pictured}) {
            field->setReadOnly(true);
            field->setFocusPolicy(Qt::NoFocus);
            field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
            layout->addWidget(field);
        }
        style = FramePictureStyle::install(pictured);
        window.show();
    }
    void setText(const QString &text)
    {
        byStyle->setText(text);
        pictured->setText(text);
    }
    bool same() const { return byStyle->grab().toImage() == pictured->grab().toImage(); }
};
} // namespace

TEST(FramePictureStyleTest, AFieldLooksTheSameDrawnFromThePictureAsByTheStyle)
{
    TwoFields f;
    ASSERT_NE(f.style, nullptr);
    for (const QString &text : {QStringLiteral("0"), QStringLiteral("1027"), QStringLiteral("88888")}) {
        f.setText(text);
        EXPECT_TRUE(f.same()) << qPrintable(text);
    }
    if (f.pictured->style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0) {
        EXPECT_TRUE(f.style->pictureUsed()); // the case it is made for
    }

    f.byStyle->setEnabled(false);
    f.pictured->setEnabled(false);
    EXPECT_TRUE(f.same());
    f.byStyle->setFixedWidth(90);
    f.pictured->setFixedWidth(90);
    f.setText(QStringLiteral("12"));
    EXPECT_TRUE(f.same());
}

TEST(FramePictureStyleTest, APanelThatDependsOnWhereItIsDrawnIsLeftToTheStyle)
{
    TwoFields f;
    ASSERT_NE(f.style, nullptr);
    QPalette patterned = f.byStyle->palette();
    patterned.setBrush(QPalette::Base, QBrush(Qt::darkGreen, Qt::Dense4Pattern));
    f.byStyle->setPalette(patterned);
    f.pictured->setPalette(patterned);
    f.setText(QStringLiteral("42"));
    EXPECT_TRUE(f.same());
    EXPECT_FALSE(f.style->pictureUsed());
}
