#include "parameters/ParameterFile.h"

#include "link/UserPrompt.h"
#include "parameters/NibbleCodec.h"
#include "parameters/ParameterControls.h"
#include "parameters/SystemParameters.h"

#include "table/AtomicFile.h"

#include <QFile>

namespace ParameterFile {

using Record = ParameterFileRecord;

void CaptureParameterFile(ParameterControls &c)
{
    Record &record = c.fileRecord();
    for (const Record::TextField &f : Record::kLeadingTexts)
        record.setText(f.offset, f.capacity, c.text(f.edit));
    record.setText(Record::kRelay2Offset, Record::kRelay2Capacity, SystemParameters::EncodeRelay2Mode(c));
    for (const Record::FlagField &f : Record::kFlags)
        record.setFlag(f.offset, c.isChecked(f.check));
    for (const Record::TextField &f : Record::kSpeedDials)
        record.setText(f.offset, f.capacity, c.text(f.edit));
}

bool ApplyParameterFile(ParameterControls &c, UserPrompt &prompt)
{
    const Record &record = c.fileRecord();
    for (const Record::TextField &f : Record::kLeadingTexts)
        c.setText(f.edit, record.text(f.offset, f.capacity));

    const QByteArray relay2 =
        NibbleCodec::DecodeNibbleByte(record.text(Record::kRelay2Offset, Record::kRelay2Capacity));
    if (!SystemParameters::DecodeRelay2Mode(c, relay2, prompt))
        return false;

    bool lineTwoFlagged = false;
    for (const Record::FlagField &f : Record::kFlags) {
        const bool on = record.flag(f.offset);
        c.setChecked(f.check, on);
        if (on && (f.check == ParamCheck::opt931 || f.check == ParamCheck::opt936))
            lineTwoFlagged = true;
    }
    if (!lineTwoFlagged)
        c.setChecked(ParamCheck::RadioButton1, true);

    for (const Record::TextField &f : Record::kSpeedDials)
        c.setText(f.edit, record.text(f.offset, f.capacity));

    c.RefreshCodeHighlights();
    return true;
}

bool SaveParameterFile(const ParameterControls &c, const QString &fileName, UserPrompt &prompt)
{
    switch (AtomicFile::write(fileName, c.fileRecord().bytes())) {
    case AtomicFile::Result::Saved:
        return true;
    case AtomicFile::Result::CannotCreate:
        prompt.message(QStringLiteral("Cannot create file %1").arg(fileName), UserPrompt::Kind::Error);
        return false;
    case AtomicFile::Result::ShortWrite:
        break;
    }
    prompt.message(QStringLiteral("Could not save"), UserPrompt::Kind::Error);
    return false;
}

bool LoadParameterFile(ParameterControls &c, const QString &fileName, UserPrompt &prompt)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt.message(QStringLiteral("Cannot open file %1").arg(fileName), UserPrompt::Kind::Error);
        return false;
    }
    const QByteArray image = file.read(Record::kSize);
    file.close();
    if (!c.fileRecord().setBytes(image)) {
        prompt.message(UserPrompt::joinLines({QStringLiteral("Could not Load from file"), fileName}),
                       UserPrompt::Kind::Error);
        return false;
    }
    return true;
}

} // namespace ParameterFile
