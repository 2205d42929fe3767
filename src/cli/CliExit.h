#pragma once

// The exit status of corvalen-cli, as scripts read it.
enum class CliExit {
    Done = 0,       // the job was done
    Refused = 1,    // the panel refused, or a check failed (a file or a value included)
    Usage = 2,      // the command line was wrong; nothing was tried
    LinkFailed = 3, // the port could not be opened, the panel did not answer, or the line was lost
};

inline int exitStatus(CliExit exit)
{
    return int(exit);
}
