#include "link/PayloadCheck.h"

namespace PayloadCheck {

bool holdsLineControl(const QByteArray &payload)
{
    for (char c : payload)
        if (c == '\r' || c == '\n' || c == '\0')
            return true;
    return false;
}

} // namespace PayloadCheck
