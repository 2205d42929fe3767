#pragma once

#include <QByteArray>
#include <QString>

// What may travel inside a command. A CR ends the command where it stands
// and the panel takes the rest as a command of its own; an LF or a NUL does
// not survive the line either. Texts holding one are refused before they
// are written, never cut or changed on the way.
namespace PayloadCheck {

// Whether the text holds a CR, an LF or a NUL.
bool holdsLineControl(const QByteArray &payload);

// The bytes as Latin-1 text for a message, with CR, LF and NUL shown as
// <CR>, <LF> and <NUL> and other control bytes as <0xNN>.
QString visibleText(const QByteArray &bytes);

} // namespace PayloadCheck
