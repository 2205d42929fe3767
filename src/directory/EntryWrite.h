#pragma once

#include <QByteArray>
#include <functional>

class CommandExchange;
class LineSilence;

// One directory entry written to its slot, as the upload and a restore of the
// directory write it: WriteBlock first, then up to three WriteRecord retries,
// each after a bare CR. Every attempt runs under the line's silence watch:
// a panel that refuses still answers, and the retries go on; attempts that get
// no byte back at all, `silence`'s limit of them in a row, end the write as a
// lost line instead of retrying for seconds more.
namespace EntryWrite {

enum class Result { Written, Refused, LineLost };

// `failedRetry` runs after each failed retry (the upload leaves a trace).
Result write(CommandExchange &link, const QByteArray &slot, const QByteArray &text, LineSilence &silence,
             const std::function<void()> &failedRetry = {});

} // namespace EntryWrite
