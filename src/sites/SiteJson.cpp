#include "sites/SiteJson.h"

namespace SiteJson {

namespace {
QJsonValue timeValue(const QDateTime &utc)
{
    return utc.isValid() ? QJsonValue(SiteText::timeText(utc)) : QJsonValue(QJsonValue::Null);
}
} // namespace

QJsonObject object(const Site &site)
{
    const QString result = SiteText::backupResultWord(site.backupResult);
    return {
        {QStringLiteral("id"), site.id.toString(QUuid::WithoutBraces)},
        {QStringLiteral("name"), site.name},
        {QStringLiteral("port"), site.address},
        {QStringLiteral("notes"), site.notes},
        {QStringLiteral("folder"), site.folder},
        {QStringLiteral("pin"), SiteText::pinKeepingWord(site.pinKeeping)},
        {QStringLiteral("model"), site.model.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(site.model)},
        {QStringLiteral("last_contact"), timeValue(site.lastContact)},
        {QStringLiteral("last_opened"), timeValue(site.lastOpened)},
        {QStringLiteral("last_backup"), timeValue(site.lastBackup)},
        {QStringLiteral("backup_result"), result.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(result)},
        {QStringLiteral("backup_message"), site.backupMessage},
    };
}

QJsonArray array(const QList<Site> &sites)
{
    QJsonArray out;
    for (const Site &site : sites)
        out.append(object(site));
    return out;
}

} // namespace SiteJson
