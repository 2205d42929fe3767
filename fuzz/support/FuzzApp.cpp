#include "support/FuzzApp.h"

FuzzApp::FuzzApp()
{
    QString error;
    port.open(&error);
    link.conn().LoggedOn = true;
    directory.DefinePhoneFields();
    directory.PhoneTable.open();
}

void FuzzApp::answerInTurn(const QList<QByteArray> &replies)
{
    port.setResponder([replies, next = qsizetype(0)](const QByteArray &) mutable {
        return next < replies.size() ? replies.at(next++) : QByteArray();
    });
}
