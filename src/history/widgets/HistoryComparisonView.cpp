#include "history/widgets/HistoryComparisonView.h"

#include "history/HistoryDiff.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

HistoryComparisonView::HistoryComparisonView(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Comparison"));
    setAccessibleName(QStringLiteral("Comparison"));
    auto *layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("ComparisonHeading"));
    heading_->setWordWrap(true);
    heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ComparisonSummary"));
    QFont bold = summary_->font();
    bold.setBold(true);
    summary_->setFont(bold);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("ComparisonText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setAccessibleName(QStringLiteral("Differences"));
    text_->setAccessibleDescription(
        QStringLiteral("One line per entry: + added, - removed, * changed with its fields from what to what"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setAccessibleName(QStringLiteral("Comparison commands"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(heading_);
    layout->addWidget(summary_);
    layout->addWidget(text_, 1);
    layout->addWidget(buttons);
    resize(640, 420);
}

void HistoryComparisonView::showComparison(const QString &heading, const HistoryDiff &diff)
{
    heading_->setText(heading);
    summary_->setText(diff.summary());
    QStringList lines = diff.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst(); // the summary, shown above
    text_->setPlainText(lines.join(QLatin1Char('\n')));
}

void HistoryComparisonView::showError(const QString &heading, const QString &why)
{
    heading_->setText(heading);
    summary_->setText(QStringLiteral("They cannot be compared."));
    text_->setPlainText(why);
}

QString HistoryComparisonView::heading() const
{
    return heading_->text();
}

QString HistoryComparisonView::summary() const
{
    return summary_->text();
}

QString HistoryComparisonView::text() const
{
    return text_->toPlainText();
}
