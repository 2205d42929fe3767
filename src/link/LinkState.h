#pragma once

#include "link/ReplyMemo.h"

#include <QByteArray>

// Receive side: written by the receive handler, cleared by the senders.
struct ReceiveState
{
    QByteArray ReceiveBuffer;   // everything since a sender last emptied it, NUL bytes dropped
    bool ReplyOk = false;       // the buffer ended with "OK" CR LF after some chunk
    bool DataArrived = false;   // a chunk arrived since the flag was last cleared
    bool EchoSuppressed = false; // received text is not appended to RxMemo
    qint32 LineEndCount = 0;    // CR LF pairs seen inside received chunks
    qint64 BytesReceived = 0;   // every byte the receive handler took, NUL bytes too; never cleared
};

// Connection state of the log-on and the exchanges.
struct ConnectionState
{
    bool LoggedOn = false;
    bool LogOnCancelled = false;
    bool DirectorySynced = false;   // the table matches the panel after a full transfer
    qint32 DirectoryEnd = 0x9000;   // last directory slot of the detected model; 0 if unknown
    QByteArray PanelIdentity;       // the identity line of the last log-on's wake-up, as it came
    qint32 IdleTicks = 0;           // keep-alive seconds since the last command
    QByteArray LogOnPin;
};

// The shared state of the link: what arrived, how the connection stands,
// and the received-text memo that replies are read from.
struct LinkState
{
    ReceiveState rx;
    ConnectionState conn;
    QByteArray LastReplyLine;
    ReplyMemo RxMemo;
};
