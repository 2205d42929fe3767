#include "parameters/ParameterLineBytes.h"

#include "link/PayloadCheck.h"
#include "link/UserPrompt.h"
#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"

namespace ParameterLineBytes {

QString refusal(const ParameterControls &c, const QList<ParamEdit> &fields)
{
    QStringList lines;
    for (ParamEdit field : fields) {
        const QByteArray text = c.text(field);
        if (!PayloadCheck::holdsLineControl(text))
            continue;
        lines << QStringLiteral("%1 holds a line break or NUL: \"%2\"")
                     .arg(QString::fromLatin1(ParameterControlInfo::edit(field).label),
                          PayloadCheck::visibleText(text));
    }
    if (lines.isEmpty())
        return {};
    lines.prepend(QStringLiteral("Nothing was written to the Corvalen."));
    return UserPrompt::joinLines(lines);
}

} // namespace ParameterLineBytes
