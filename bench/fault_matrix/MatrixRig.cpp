#include "MatrixRig.h"

#include "DemoData.h"
#include "directory/PhoneListFile.h"
#include "events/ComputerClock.h"
#include "events/widgets/EventsPage.h"

#include "app/widgets/FrameStatusBar.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>

const QDateTime MatrixRig::kStart(QDate(2026, 3, 5), QTime(14, 22, 10));

namespace {
const QByteArray kUserList = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"
                             "Zeta Moss,501,0215550101,5101,,,,1000\r\n"
                             "Young Pat,502,*31#021555,5102,,,,1020\r\n"
                             "Xu Lin,503,9p0215550303,,,,,1040\r\n"
                             "Walsh Nora,504,0215550404,5104,5204,,,1060\r\n"
                             "Vance Ray,505,0215550505,,,,,1080\r\n";
} // namespace

void MatrixRig::CappedWaiter::pump(qint32 ticks)
{
    if (rig_.capNs > 0 && rig_.clock.nowNs() > rig_.capNs && rig_.onHang)
        rig_.onHang();
    QCoreApplication::sendPostedEvents();
    VirtualWaiter::pump(ticks);
}

MatrixRig::MatrixRig()
{
    QDir::setCurrent(dir.path());
    QFile list(dir.filePath(QStringLiteral("CorvalenPhList.csv")));
    if (list.open(QIODevice::WriteOnly))
        list.write(kUserList);
    list.close();
    DemoData::seed(panel.memory(), kStart);
    panel.engine().clock().set(kStart);
    form = std::make_unique<TCorvalenForm>(port, waiter, devices, &prompt);
    form->setLogOnDialog(&pin);
    form->enableBackups(dir.filePath(QStringLiteral("backups")));
    form->eventsPage()->setComputerClock(
        ComputerClock([this] { return computerNow(); }, QLocale(QLocale::English, QLocale::UnitedKingdom)));
}

MatrixRig::~MatrixRig()
{
    form.reset();
    QDir::setCurrent(previousDir);
}

void MatrixRig::settle()
{
    for (int round = 0; round < 10; ++round)
        QCoreApplication::sendPostedEvents();
}

QString MatrixRig::statusText() const
{
    return form->statusSink().statusText();
}

bool MatrixRig::logOn()
{
    pin.answers << panel.engine().pin();
    form->connection().OnLine1Click();
    return link().conn().LoggedOn;
}

void MatrixRig::openUserList()
{
    PhoneListFile(form->context()).open(dir.filePath(QStringLiteral("CorvalenPhList.csv")));
}

bool MatrixRig::click(const char *objectName)
{
    auto *button = child<QAbstractButton>(objectName);
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

QByteArray MatrixRig::userFiles() const
{
    QByteArray all;
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        all += name.toLatin1() + '\n';
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return all;
}

QByteArray MatrixRig::rows(const Table &table)
{
    QByteArray out;
    for (int i = 0; i < table.count(); ++i)
        out += table.row(i).join('|') + '\n';
    return out;
}
