#pragma once

#include "cli/CliJob.h"

#include <QByteArray>

class ParameterControls;

// parameters get FILE.sys, parameters put FILE.sys and pin set: the
// parameter page's Read All, Write All and Set PIN with its parameter file.
class ParameterJob : public CliJob
{
public:
    using CliJob::CliJob;
    ~ParameterJob() override;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    CliExit get();
    CliExit put();
    CliExit setPin();
    bool readAll();
    // The parameter file (standard input for "-") into the controls' record.
    bool loadFile(ParameterControls &c);

    QByteArray newPin_;
    QByteArray fileImage_; // the parameter file of a put, as checked before the log-on
};
