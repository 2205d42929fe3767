#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The panel models, told apart by the identity line the panel sends when it
// wakes up. The identity is cut to 20 characters and compared exactly.
struct PanelModel
{
    QByteArray identity;
    qint32 directoryEnd; // last directory slot address
    QString caption;     // main window caption once recognised
};

std::optional<PanelModel> IdentifyPanel(const QByteArray &identityLine);
// The model a log-on recognised, by the DirectoryEnd it set.
std::optional<PanelModel> PanelModelByDirectoryEnd(qint32 directoryEnd);

// The caption before a log-on has recognised a model.
QString StartCaption();
