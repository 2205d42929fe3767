#pragma once

#include <QByteArray>
#include <QLineEdit>

// One edit field of the phone page. Its text is 8-bit: bytes go in and out
// as Latin-1, and only Latin-1 characters can be typed or pasted. A typing
// filter (on typed character keys only, never on pasted text) drops the
// keys it refuses. Enter does not reach the line edit: enterPressed() lets
// the page run the field's check and decide whether the focus moves on.
// exited() says that the focus left the field within the window (not when
// another window or a message box took it).
class PhoneEdit : public QLineEdit
{
    Q_OBJECT
public:
    // Whether a typed character may go into the field.
    using KeyFilter = bool (*)(char key);

    PhoneEdit(const char *objectName, int maxLength, QWidget *parent = nullptr);

    void setKeyFilter(KeyFilter filter) { filter_ = filter; }

    QByteArray bytes() const { return text().toLatin1(); }
    // Shows bytes unless they are shown already (the cursor then stays put).
    void setBytes(const QByteArray &bytes);

    // Enter's move to the next control of the tab order.
    void moveFocusOn() { focusNextChild(); }

signals:
    void enterPressed();
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyFilter filter_ = nullptr;
};
