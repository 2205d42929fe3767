#include "directory/PhoneDirectory.h"

PhoneDirectory::PhoneDirectory(QObject *parent)
    : QObject(parent)
{
    // PhoneTableBeforeDelete: only a confirmed delete goes through, and the
    // confirmation is used up either way.
    PhoneTable.beforeDelete = [this] {
        const bool confirmed = DeleteConfirmed;
        DeleteConfirmed = false;
        return confirmed;
    };
}

void PhoneDirectory::DefinePhoneFields()
{
    PhoneTable.close();
    PhoneTable.redefine(PhoneFields::definition());
}

void PhoneDirectory::allowPhoneFileSave()
{
    saveAllowed_ = true;
    saveAsAllowed_ = true;
    emit saveCommandsAllowed();
}

void PhoneDirectory::setDBFiles(const QString &name)
{
    fileName_ = name;
    emit fileNameChanged(name);
}

void PhoneDirectory::setWriteEachChangeEnabled(bool enabled)
{
    wrtChgEnabled_ = enabled;
    emit writeEachChangeEnabledChanged(enabled);
}

void PhoneDirectory::setWriteEachChangeTicked(bool ticked)
{
    if (wrtChgTicked_ == ticked)
        return;
    wrtChgTicked_ = ticked;
    emit writeEachChangeTickedChanged(ticked);
}

void PhoneDirectory::setCodeColumnsDimmed(bool dimmed)
{
    codesDimmed_ = dimmed;
    emit codeColumnsDimmedChanged(dimmed);
}
