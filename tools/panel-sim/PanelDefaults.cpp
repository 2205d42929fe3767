#include "PanelDefaults.h"

#include "PanelLines.h"

namespace PanelDefaults {

QByteArray padded(const QByteArray &text, int width, char fill)
{
    return text.size() >= width ? text : text + QByteArray(width - text.size(), fill);
}

QByteArray pinRecord(const QByteArray &pin)
{
    return padded(pin, 32, char(0xFF));
}

QByteArray gateCodeRecord(const QByteArray &g1, const QByteArray &g2, const QByteArray &ic1,
                          const QByteArray &ic2, const QByteArray &sd1, const QByteArray &sd2)
{
    QByteArray out;
    for (const QByteArray &code : {g1, g2, ic1, ic2, sd1, sd2})
        out += padded(code.left(4), 4, char(0xFF));
    return padded(out, 32, char(0xFF));
}

QByteArray speedDialRecord(const QByteArray &first, const QByteArray &second)
{
    return padded(PanelLines::dialToPanel(first), 16, char(0xFF))
         + padded(PanelLines::dialToPanel(second), 16, char(0xFF));
}

QByteArray parameterRecord(int record)
{
    switch (record) {
    case 0:
        return pinRecord(kPin);
    case 1:
        return kSystemParameters;
    case 2:
        return padded("Welcome", 16, ' ') + padded("Enter Room No.", 16, ' ');
    case 3:
        return padded("Press the room number then #", 32, '\0');
    case 4:
        return padded("Enter Room No. then #", 32, '\0');
    case 5:
        return padded("Press Room No.", 16, ' ') + padded("then #", 16, ' ');
    case 6:
        return gateCodeRecord({}, {}, {}, {}, {}, {});
    case 7:
        return speedDialRecord("36001", "36002");
    case 8:
        return speedDialRecord("36003", "36004");
    case 9:
        return speedDialRecord("36005", "36006");
    case 10:
        return speedDialRecord("36007", "36008");
    }
    return {};
}

} // namespace PanelDefaults
