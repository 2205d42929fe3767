#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QLabel;

// Asked before a report with private parts is printed (the residents list,
// the parameter sheet): what to include, each choice off until ticked, and
// whether to print (from the preview) or save a PDF. A choice that is
// sensitive (gate codes, the PIN) shows a warning while it is ticked.
//
//     PrintChoicesDialog d(QStringLiteral("Print Residents List"),
//                          {{QStringLiteral("Phone numbers")}, {QStringLiteral("Gate codes"), true},
//                           {QStringLiteral("Sorted by room")}}, this);
//     if (d.exec() == QDialog::Accepted) {
//         options.phoneNumbers = d.isChosen(0); ...
//         const Report r = PhoneListReport::build(entries, options);
//         d.action() == PrintChoicesDialog::Action::Print ? ReportPreview::preview(this, r)
//                                                         : (void)ReportPreview::savePdf(this, r, name);
//     }
class PrintChoicesDialog : public QDialog
{
    Q_OBJECT
public:
    struct Choice
    {
        QString caption;
        bool sensitive = false;
    };
    enum class Action { Print, Pdf };

    PrintChoicesDialog(const QString &title, const QList<Choice> &choices, QWidget *parent = nullptr);

    bool isChosen(int index) const;
    void setChosen(int index, bool on);
    // The button that closed the dialog (meaningful when accepted).
    Action action() const { return action_; }

private:
    void updateWarning();

    QList<Choice> choices_;
    QList<QCheckBox *> boxes_;
    QLabel *warning_ = nullptr;
    Action action_ = Action::Print;
};
