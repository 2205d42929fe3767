#pragma once

#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

// The text of a PDF file as poppler's pdftotext reads it (poppler-utils,
// installed by scripts/install-deps.sh), pages separated by form feeds.
inline QString pdfText(const QString &fileName)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext could not read " << fileName.toStdString()
                      << " (is poppler-utils installed? scripts/install-deps.sh): "
                      << p.readAllStandardError().toStdString() << p.errorString().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pdfPages(const QString &text)
{
    QString t = text;
    while (t.endsWith(u'\f') || t.endsWith(u'\n'))
        t.chop(1);
    return t.isEmpty() ? 0 : int(t.count(u'\f')) + 1;
}
