#include "PanelModelProfile.h"

#include <array>

namespace {
struct Row
{
    const char *name;
    const char *identity;
    int directoryEnd;
};

constexpr std::array<Row, 4> kModels = {{
    {"100", "Corvalen_100_Xarn", 0x1D00},
    {"200", "Corvalen_200_Xarn", 0x2A00},
    {"500", "Corvalen_500_Xarn", 0x5100},
    {"1000", "Corvalen_1000_Xarn", 0x9000},
}};
} // namespace

PanelModelProfile PanelModelProfile::forModel(const QString &nameOrIdentity)
{
    for (const Row &row : kModels)
        if (nameOrIdentity == QLatin1String(row.name))
            return {QString::fromLatin1(row.name), QByteArray(row.identity), row.directoryEnd};
    return {QString(), nameOrIdentity.toLatin1(), 0x9000};
}

bool PanelModelProfile::isModelName(const QString &name)
{
    for (const Row &row : kModels)
        if (name == QLatin1String(row.name))
            return true;
    return false;
}

QStringList PanelModelProfile::modelNames()
{
    QStringList names;
    for (const Row &row : kModels)
        names << QString::fromLatin1(row.name);
    return names;
}
