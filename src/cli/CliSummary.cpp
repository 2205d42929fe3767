#include "cli/CliSummary.h"

#include <QJsonArray>
#include <QJsonDocument>

QString CliSummary::resultName(int exit)
{
    switch (exit) {
    case 0: return QStringLiteral("done");
    case 1: return QStringLiteral("refused");
    case 2: return QStringLiteral("usage");
    case 3: return QStringLiteral("link failed");
    }
    return QStringLiteral("failed");
}

QByteArray CliSummary::toJson() const
{
    auto textOrNull = [](const QString &text) { return text.isEmpty() ? QJsonValue() : QJsonValue(text); };
    QJsonObject o;
    o.insert(QStringLiteral("action"), action);
    o.insert(QStringLiteral("result"), resultName(exit));
    o.insert(QStringLiteral("exit"), exit);
    o.insert(QStringLiteral("counts"), counts);
    if (!clock.isEmpty())
        o.insert(QStringLiteral("clock"), clock);
    o.insert(QStringLiteral("model"), textOrNull(model));
    o.insert(QStringLiteral("site"), textOrNull(site));
    o.insert(QStringLiteral("file"), textOrNull(file));
    o.insert(QStringLiteral("backup"), textOrNull(backup));
    o.insert(QStringLiteral("duration_s"), qRound(durationS * 1000) / 1000.0);
    if (!interrupted.isEmpty())
        o.insert(QStringLiteral("interrupted"), interrupted);
    auto plainTexts = [](const QStringList &texts) {
        QJsonArray shown;
        for (const QString &e : texts) {
            QString plain = e;
            plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            shown.append(plain);
        }
        return shown;
    };
    o.insert(QStringLiteral("errors"), plainTexts(errors));
    o.insert(QStringLiteral("warnings"), plainTexts(warnings));
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}
