#pragma once

#include "sites/Site.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class SiteBook;

// The site book as a spreadsheet list (.csv), so that a team can share it:
//
//   Name,Address,Notes,Model,Last contact (UTC),Last backup (UTC),Result,Message
//
// UTF-8 after a byte-order mark, values quoted where needed (RFC 4180), CR
// LF lines, times as "2024-05-02 02:00:04" in UTC (a spreadsheet reads that
// as a time). Folders and how PINs are kept stay on each machine; the PIN
// never travels.
//
// Reading takes what spreadsheets make of it: separator ",", ";" or tab
// (whichever the header line is written with), the columns in any order
// and any case ("last_contact", "Last-Contact" and "Last contact (UTC)" are
// one column), unknown columns passed over, UTF-8 or Latin-1 text.
namespace SiteCsv {

QByteArray format(const QList<Site> &sites, char separator = ',');
// Writes the list atomically; false with *error ("Cannot create file ...").
bool save(const QList<Site> &sites, const QString &fileName, char separator, QString *error);

struct Report
{
    int added = 0;
    int updated = 0;
    QStringList problems;      // "row 4: ...": the rows that were not taken, and why
    QStringList unusedColumns; // header names that are no column of the list
    QString summary() const;   // "3 sites added, 1 updated; 1 row not taken: ..."
};

// Adds the rows whose name is new to the book and updates the sites of the
// same name (ignoring case): a column the file has replaces the address and
// the notes; the model, last contact and last backup are taken when the
// file's are newer than the book's. A row with a mistake is not taken and
// is reported with its row number (as the spreadsheet counts rows); the
// other rows are. Everything taken is one change of the book.
//
// Nothing with *error when the file cannot be read, has no Name column, or
// the book cannot be changed.
std::optional<Report> import(SiteBook &book, const QByteArray &bytes, QString *error);
// A file above kMaxFileBytes is refused (ten thousand sites take 2 MB).
inline constexpr qint64 kMaxFileBytes = qint64(16) << 20;
std::optional<Report> importFile(SiteBook &book, const QString &fileName, QString *error);

} // namespace SiteCsv
