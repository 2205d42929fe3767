#pragma once

#include "sites/Site.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The site book's text: UTF-8, one block per site, one setting a line, so
// that a person can read it, mend it in an editor and keep it in version
// control:
//
//   [site]
//   id = 0b9c4e0e-3f4b-4d1e-9a55-6d3b0f1c2a77
//   name = 12 Harbour Street, gate 2
//   address = rfc2217://gate2.example.net:4001
//   notes = Caretaker: Ann, 0161 555 0102\nPanel behind the left door
//   folder = /home/ann/Documents/Corvalen-Pro/sites/12 Harbour Street, gate 2
//   pin = keyring
//   model = Corvalen_500_Xarn
//   last-contact = 2024-05-01T10:22:31Z
//   last-backup = 2024-05-02T02:00:04Z
//   backup-result = failed
//   backup-message = No Reponse from Corvalen
//
// Blank lines and lines starting with "#" are passed over (and not kept).
// In a value "\n" stands for a line break, "\t" for a tab, "\\" for a
// backslash, "\s" for a blank at either end, "\xHH" and "\uHHHH" for other
// control characters; a backslash before anything else stands for itself.
// Blanks around the key and the value do not count. Times are
// UTC. Every block needs a name and an address; the other keys may be left
// out. The PIN is never in the book.
namespace SiteBookFormat {

struct Mistake
{
    int line = 0; // 1-based
    QString text; // what is wrong, without the line
};

struct Parsed
{
    QList<Site> sites; // in book order; complete only when mistakes is empty
    QList<Mistake> mistakes; // in line order
    // A block had no id or no folder (written by hand): one was given, and
    // the book should be saved so that they stay.
    bool completed = false;
};

// sitesFolder: where a block without a folder gets one (SiteFolders).
Parsed parse(const QByteArray &bytes, const QString &sitesFolder);

QByteArray format(const QList<Site> &sites);

// "line 7: unknown key "adress" ..." for each mistake, one a line, at most
// maxLines of them and then how many more there are.
QString describe(const QList<Mistake> &mistakes, int maxLines = 10);

// A value as one line of the book, and back.
QString escaped(const QString &value);
QString unescaped(const QString &value);

} // namespace SiteBookFormat
