#pragma once

#include "MemoryImage.h"

class PanelEngine;

// The file that keeps the panel's memory between runs. A text file, one
// item a line, every byte of the content kept exactly:
//
//   corvalen-xarn-panel-memory 1
//   model 1000
//   identity =Corvalen_1000_Xarn
//   clock 2026-03-05T14:22:10 2026-03-05T14:22:10     (panel, computer)
//   record 0001 =01030503021414000000140?0001000<
//   record 0128 =101,1101,,,0211234567,Adams%20Helen
//   event R 2026-02-20T08:15:00 1 0 0 =101 =Adams%20Helen
//
// A text field starts with "=" (so an empty one is just "="); within it the
// bytes 0x21-0x7E other than "%" stand for themselves and every other byte is
// written %HH. Events: kind (R room, A button, B incoming call, C error),
// time, relay, source (0 local, 1 remote, 2 RF-ID), button or error number,
// room, name. Lines starting with "#" and empty lines are ignored. Parameter
// records are always written, directory slots and RFID records only when they
// hold something. The file is replaced atomically.
namespace MemoryFile {

QByteArray escape(const QByteArray &bytes);
std::optional<QByteArray> unescape(const QByteArray &field);

QByteArray serialise(const MemoryImage &image);
// Empty with *error ("line N: ...") for text that is not a memory file.
std::optional<MemoryImage> parse(const QByteArray &text, QString *error);

// Missing file: empty and *error empty. Unreadable or malformed: empty and
// *error says why.
std::optional<MemoryImage> read(const QString &path, QString *error);
bool write(const QString &path, const MemoryImage &image, QString *error);

MemoryImage capture(const PanelEngine &engine, const QDateTime &hostNow);
// Puts an image into the engine's memory and clock (the clock moves on by
// the time the computer's clock moved since the save). False, with nothing
// changed, when the image holds records this model does not have.
bool apply(const MemoryImage &image, PanelEngine &engine, const QDateTime &hostNow, QString *error);

} // namespace MemoryFile
