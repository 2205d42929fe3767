// One directory line: ParsePanelEntry on arbitrary text, and the entry text
// the program would write back for what it read. The fields stay within their
// widths, the entry text within 53 characters, and reading back what is
// written gives the same entry: write(read(write(read(x)))) is
// write(read(x)).
//
// Input: the line, without its CR LF.
#include "directory/EntryText.h"
#include "directory/PanelEntry.h"
#include "directory/PhoneFields.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

QByteArray textOf(const PanelEntry &e)
{
    return PanelEntryText(e.RoomNumber, e.Code1, e.Code2, e.Spare, e.PHnumber, e.Name);
}

bool sameEntry(const PanelEntry &a, const PanelEntry &b)
{
    return a.SlotAddress == b.SlotAddress && a.RoomNumber == b.RoomNumber && a.Code1 == b.Code1
           && a.Code2 == b.Code2 && a.Spare == b.Spare && a.PHnumber == b.PHnumber && a.Name == b.Name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line = FuzzInput::bytes(data, size);
    const PanelEntry e = ParsePanelEntry(line);
    FUZZ_CHECK(e.SlotAddress == line.left(4));
    FUZZ_CHECK(e.RoomNumber.size() <= PhoneFields::kRoomWidth);
    FUZZ_CHECK(e.Code1.size() <= PhoneFields::kCodeWidth);
    FUZZ_CHECK(e.Code2.size() <= PhoneFields::kCodeWidth);
    FUZZ_CHECK(e.Spare.size() <= PhoneFields::kSpareWidth);
    FUZZ_CHECK(e.PHnumber.size() <= PhoneFields::kPhoneWidth);
    FUZZ_CHECK(e.Name.size() <= PhoneFields::kNameWidth);
    FUZZ_CHECK(!e.Name.contains(','));

    // What the program writes for it, as the panel would list it again.
    const QByteArray written = textOf(e);
    FUZZ_CHECK(written.size() <= 53);
    FUZZ_CHECK(!written.contains('\r'));
    const PanelEntry listed = ParsePanelEntry("1000," + written);
    FUZZ_CHECK(listed.RoomNumber == LeadingDigits(e.RoomNumber, PhoneFields::kRoomWidth));
    FUZZ_CHECK(listed.Code1 == LeadingDigits(e.Code1, PhoneFields::kCodeWidth));
    FUZZ_CHECK(listed.Code2 == LeadingDigits(e.Code2, PhoneFields::kCodeWidth));
    FUZZ_CHECK(listed.Spare == LeadingDigits(e.Spare, PhoneFields::kSpareWidth));
    FUZZ_CHECK(textOf(listed) == written);
    FUZZ_CHECK(sameEntry(ParsePanelEntry("1000," + textOf(listed)), listed));
    return 0;
}
