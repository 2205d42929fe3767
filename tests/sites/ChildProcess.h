#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// Runs this test program again as a separate process that runs one test
// only: a DISABLED_ test that does its part when the environment asks for
// it. For what one process cannot show: a program killed in the middle of a
// save, two programs changing one file, a process of its own on a private
// D-Bus session.
inline void startChild(QProcess &process, const QString &test, const QProcessEnvironment &environment)
{
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments({QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + test,
                          QStringLiteral("--gtest_brief=1")});
    process.setProcessEnvironment(environment);
    process.start();
}
