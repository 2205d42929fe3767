#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

// Saves a picture of a widget as <name>.png into the folder named by the
// environment variable CORVALEN_SCREENSHOTS, when it is set; otherwise does
// nothing. For looking at pages rendered offscreen.
inline void saveScreenshot(QWidget &widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("CORVALEN_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    // Views lay out their scroll bars and stretched columns on a zero timer;
    // let that happen so that the picture shows what a user would see.
    QCoreApplication::processEvents();
    widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}
