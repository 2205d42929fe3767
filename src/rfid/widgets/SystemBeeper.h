#pragma once

#include "rfid/Beeper.h"

// The system beep of the tag read.
class SystemBeeper : public Beeper
{
public:
    void beep() override;
};
