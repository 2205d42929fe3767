#pragma once

// How the panel misbehaves, for trying the program against a bad line or a
// difficult panel. Everything is off by default. The counters count down as
// the faults are used.
struct PanelFaults
{
    int latencyMs = 0;    // pause before the first byte of every reply
    bool chunks = false;  // replies cut into random chunks with short gaps
    bool nul = false;     // NUL bytes strewn inside replies
    bool silent = false;  // the panel answers nothing at all
    int errorP = 0;       // "Error" to this many more "p" commands
    int errorG = 0;       // "Error" to this many more "g" commands
    int errorW = 0;       // "Error" to this many more directory writes ("w", "b")
    bool dropOk = false;  // the next reply of a session loses its "OK"
    int badReadback = 0;  // this many more "r" replies differ from the record
    int stallAfter = 0;   // above 0: every reply stops after this many bytes
    int pauseAfter = 0;   // above 0: every longer reply pauses after this many bytes ...
    int pauseMs = 2000;   // ... for this long, then goes on
    bool junk = false;    // a line of noise before every reply
    int dropLineAfter = 0; // above 0: the line drops after this many more bytes from the panel
    bool bareOk = false;       // every reply in a session is "OK" alone
    bool emptyReplies = false; // every reply in a session is an empty line, without "OK"
    bool noRecords = false;    // the range reads ("d", "s") give their first line and "OK", no record
    bool silentAfterErase = false; // once an erase ("f5a", "c1418") is answered, the panel goes silent
};
