// The parameter file: an arbitrary file loaded by LoadParameterFile and put
// on the page by ApplyParameterFile, then saved the way Save As does. A file
// that is not 467 bytes long is refused and changes nothing; the saved file
// is 467 bytes, keeps the reserved bytes of the loaded one, and loading and
// saving it again gives the same bytes (a file the program wrote comes back
// unchanged).
//
// Input: the file.
#include "directory/PhoneDirectory.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/FuzzSinks.h"
#include "support/ScratchFiles.h"


namespace {

const QString &scratchFile()
{
    static const QString name = ScratchFiles::path(QStringLiteral("SysPara.sys"));
    return name;
}

// Open, then (when the controls took it) Save As. Empty when Open stopped.
QByteArray openAndSave(const QByteArray &file, PhoneDirectory &directory)
{
    ParameterControls c(&directory);
    FuzzPrompt prompt;
    const QByteArray before = c.fileRecord().bytes();
    ScratchFiles::put(scratchFile(), file);
    if (!ParameterFile::LoadParameterFile(c, scratchFile(), prompt)) {
        FUZZ_CHECK(file.size() < ParameterFileRecord::kSize);
        FUZZ_CHECK(c.fileRecord().bytes() == before);
        return {};
    }
    FUZZ_CHECK(c.fileRecord().bytes() == file.left(ParameterFileRecord::kSize));
    if (!ParameterFile::ApplyParameterFile(c, prompt))
        return {};
    ParameterFile::CaptureParameterFile(c);
    FUZZ_CHECK(ParameterFile::SaveParameterFile(c, scratchFile(), prompt));
    return ScratchFiles::get(scratchFile());
}

bool reserved(int offset)
{
    return (offset >= 10 && offset < 15) || (offset >= 25 && offset < 30) || (offset >= 40 && offset < 45)
           || (offset >= 113 && offset < 130) || (offset >= 196 && offset < 295) || offset == 330;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = FuzzInput::bytes(data, size);
    PhoneDirectory directory;
    const QByteArray saved = openAndSave(file, directory);
    if (saved.isEmpty())
        return 0;
    FUZZ_CHECK(saved.size() == ParameterFileRecord::kSize);
    for (int offset = 0; offset < ParameterFileRecord::kSize; ++offset)
        if (reserved(offset))
            FUZZ_CHECK(saved.at(offset) == file.at(offset));
    FUZZ_CHECK(openAndSave(saved, directory) == saved);
    return 0;
}
