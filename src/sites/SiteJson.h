#pragma once

#include "sites/Site.h"

#include <QJsonArray>
#include <QJsonObject>

// A site as corvalen-cli's "sites list --json" and "sites show --json"
// print it, for scripts: name, port, notes, folder, pin ("keyring", "file"
// or "none"), model, last_contact, last_opened, last_backup (ISO 8601 UTC,
// or null when never), backup_result ("ok", "failed" or null),
// backup_message, and the id. Never the PIN.
namespace SiteJson {

QJsonObject object(const Site &site);
QJsonArray array(const QList<Site> &sites);

} // namespace SiteJson
