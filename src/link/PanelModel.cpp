#include "link/PanelModel.h"

#include <array>

namespace {
const std::array<PanelModel, 4> &models()
{
    static const std::array<PanelModel, 4> table = {{
        {"Corvalen_100_Xarn", 0x1D00, QStringLiteral("Ostrel Corvalen Xarn_100  Programmer   =Corvalen-Pro=  V7")},
        {"Corvalen_200_Xarn", 0x2A00, QStringLiteral("Ostrel Corvalen Xarn_200  Programmer   =Corvalen-Pro=  V7")},
        {"Corvalen_500_Xarn", 0x5100, QStringLiteral("Ostrel Corvalen Xarn_500  Programmer   =Corvalen-Pro=  V7")},
        {"Corvalen_1000_Xarn", 0x9000, QStringLiteral("Ostrel Corvalen Xarn_1000  Programmer   =Corvalen-Pro=  V7")},
    }};
    return table;
}
} // namespace

std::optional<PanelModel> IdentifyPanel(const QByteArray &identityLine)
{
    const QByteArray identity = identityLine.left(20);
    for (const PanelModel &model : models())
        if (model.identity == identity)
            return model;
    return std::nullopt;
}

std::optional<PanelModel> PanelModelByDirectoryEnd(qint32 directoryEnd)
{
    for (const PanelModel &model : models())
        if (model.directoryEnd == directoryEnd)
            return model;
    return std::nullopt;
}

QString StartCaption()
{
    return QStringLiteral("Ostrel Corvalen Xarn_000  Programmer   =Corvalen-Pro=  V7.1");
}
