#pragma once

#include "link/UserPrompt.h"

#include <memory>

class PanelContent;
struct TransferContext;

// Asked by every write that erases what the panel holds: "keep what the
// panel holds, show what changes, and may I go on?". Whoever answers keeps
// the panel's present content (reading it with the transfer window), fills
// in the question's details with what the write changes and asks the
// question; the write goes on only when the answer says so. After such a
// write failed or was cut short, the write offers what was kept back.
class ErasePermission
{
public:
    // What was kept before a write; only its keeper knows what it is.
    class Kept
    {
    public:
        virtual ~Kept() = default;
    };
    using KeptHandle = std::shared_ptr<const Kept>;

    struct Answer
    {
        bool proceed = false; // the user said Yes: write
        KeptHandle kept;      // what the panel held, when it was kept
    };

    virtual ~ErasePermission() = default;

    // `question` holds the write's own question; its details are filled in.
    virtual Answer mayErase(TransferContext &ctx, const PanelContent &written, UserPrompt::Question question) = 0;

    // After an erasing write that changed the panel failed or was cut short:
    // names what was kept and offers to put it back (or, when that cannot
    // run now, or `lineLost`, says how to do it later). False when nothing
    // was kept or nothing was asked.
    virtual bool offerRestore(TransferContext &ctx, const KeptHandle &kept, const QString &what,
                              bool lineLost = false) = 0;
};
