#include "rfid/widgets/SystemBeeper.h"

#include <QApplication>

void SystemBeeper::beep()
{
    QApplication::beep();
}
