#pragma once

// corvalen-cli's runner against the virtual panel on virtual time: the
// panel's engine behind a fake port, the console recorded. A run takes no
// real time, so every job and fault is tried in full.
#include "DemoData.h"
#include "cli/CliConsole.h"
#include "cli/CliRunner.h"
#include "link/DeviceMap.h"
#include "support/EnginePanel.h"
#include "support/FakePanelPort.h"
#include "support/Scheduler.h"
#include "support/VirtualClock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>

class RecordingConsole : public CliConsole
{
public:
    void out(const QByteArray &bytes) override { outText += bytes; }
    void err(const QByteArray &bytes) override { errText += bytes; }
    bool errIsTerminal() const override { return terminal; }
    std::optional<QByteArray> readSecret(const QString &question) override
    {
        questions << question;
        if (secrets.isEmpty())
            return std::nullopt;
        return secrets.takeFirst();
    }

    std::optional<QByteArray> readInput(qint64 maxBytes) override
    {
        if (!input)
            return std::nullopt;
        return input->left(maxBytes + 1);
    }

    QByteArray outText;
    QByteArray errText;
    std::optional<QByteArray> input = QByteArray(); // standard input: empty, or nothing readable
    bool terminal = false;
    QList<QByteArray> secrets;
    QStringList questions;
};

struct CliOnPanel : ::testing::Test
{
    VirtualClock clock;
    VirtualWaiter waiter{clock};
    VirtualScheduler scheduler{clock};
    FakePanelPort port{scheduler};
    EnginePanel panel{port};
    DeviceMap devices;
    RecordingConsole console;
    QTemporaryDir dir;
    QProcessEnvironment env;
    // The runs work in the test's own folder, where they keep their history
    // and event archive.
    QString previousFolder = QDir::currentPath();

    CliOnPanel()
    {
        DemoData::seed(panel.memory(), QDateTime(QDate(2024, 3, 1), QTime(12, 0)));
        env.insert(QStringLiteral("CORVALEN_PIN"), QStringLiteral("1234"));
        QDir::setCurrent(dir.path());
    }
    ~CliOnPanel() override { QDir::setCurrent(previousFolder); }

    int run(QStringList args)
    {
        console.outText.clear();
        console.errText.clear();
        CliRunner runner(port, devices, waiter, console, env);
        return runner.run(args);
    }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Every record the panel holds, numbered.
    QByteArray memory()
    {
        QByteArray all;
        for (int record = 0; record <= 1535; ++record)
            if (panel.memory().exists(record))
                all += QByteArray::number(record) + ':' + panel.memory().record(record) + '\n';
        return all;
    }
    int commandsStartingWith(char c) const
    {
        int n = 0;
        for (const QByteArray &command : port.commands())
            n += command.startsWith(c);
        return n;
    }
    // When the panel first sees a command beginning with `prefix`, `fault` runs.
    void onCommand(const QByteArray &prefix, std::function<void(PanelFaults &)> fault)
    {
        auto done = std::make_shared<bool>(false);
        panel.engine().setCommandObserver([this, prefix, fault, done](const QByteArray &command) {
            if (!*done && command.startsWith(prefix)) {
                *done = true;
                fault(panel.faults());
            }
        });
    }
    // The lines of a memory() that differ from another's.
    static QString differences(const QByteArray &a, const QByteArray &b)
    {
        const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
        QString text;
        for (qsizetype i = 0; i < qMax(la.size(), lb.size()); ++i) {
            const QByteArray x = la.value(i), y = lb.value(i);
            if (x != y)
                text += QStringLiteral("- %1\n+ %2\n").arg(QString::fromLatin1(x.toPercentEncoding(" :,?")),
                                                         QString::fromLatin1(y.toPercentEncoding(" :,?")));
        }
        return text;
    }
    QString err() const { return QString::fromLocal8Bit(console.errText); }
    QString out() const { return QString::fromLocal8Bit(console.outText); }
};
