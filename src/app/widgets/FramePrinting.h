#pragma once

#include "directory/DirectoryContext.h"
#include "table/Report.h"

#include <QObject>
#include <functional>

class FrameActions;
class FramePages;
class FrameRecords;
class PrintChoicesDialog;
class QWidget;

// File > "Print": the residents list for the notice board (names and rooms;
// phone numbers and gate codes only when ticked), the parameter sheet (gate
// codes and the PIN only when ticked), each from what its page holds now,
// and the report of the events the archive page selects. Each goes to the
// print preview, from which it is printed, or to a PDF file.
class FramePrinting : public QObject
{
    Q_OBJECT
public:
    FramePrinting(DirectoryContext &ctx, FramePages &pages, FrameRecords &records, FrameActions &actions, QWidget *window);

    // The "Print" submenu before Exit in the File menu. Only the first call counts.
    void enable();

    void printResidentsList();
    void printParameterSheet();
    void printEventReport();

    // Seams for tests: how the choices are asked (exec() by default; false
    // for cancelled) and where a report goes (the preview, or the save
    // dialog and the PDF file).
    void setChoicesRunner(std::function<bool(PrintChoicesDialog &)> run) { ask_ = std::move(run); }
    enum class Output { Preview, Pdf };
    void setOutput(std::function<void(Output, const Report &, const QString &name)> out) { out_ = std::move(out); }

private:
    void send(Output output, const Report &report, const QString &name);

    DirectoryContext &ctx_;
    FramePages &pages_;
    FrameRecords &records_;
    FrameActions &actions_;
    QWidget *window_;
    bool enabled_ = false;
    std::function<bool(PrintChoicesDialog &)> ask_;
    std::function<void(Output, const Report &, const QString &)> out_;
};
