#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class PhoneDirectory;

// What the RFID page shows besides its grid, kept below the windows so that
// the tag read and the buttons work without a window: the three edits of the
// current entry (rfName, rfRoom read-only; rfID editable, at most 10
// characters), the note Lc_exist, the status label iderror, ProgressBar1
// (0-20) and whether Timer3 runs. The page follows the signals and passes
// what the user types into rfID back through setRfID.
class RfidPageState : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRfidMaxLength = 10;
    static inline const QString kReady = QStringLiteral("Ready");
    static inline const QString kReadError = QStringLiteral("Read Error, Try Again");
    static inline const QString kLcExistDesignCaption = QStringLiteral("NOTE: this Matches Room ");
    static inline const QString kLcExistPrefix = QStringLiteral("Note, This record matches room ");

    using QObject::QObject;

    QByteArray rfName() const { return rfName_; }
    QByteArray rfRoom() const { return rfRoom_; }
    QByteArray rfID() const { return rfID_; }
    // A change of rfName hides Lc_exist (rfNameChange).
    void setRfName(const QByteArray &text);
    void setRfRoom(const QByteArray &text);
    // Cut to 10 characters, as the edit takes them.
    void setRfID(const QByteArray &text);

    // The RFID page's part of the directory's after-scroll handler: while
    // ScrollSyncOn is set, rfName, rfRoom and rfID take the current entry's
    // Name, RoomNumber and RFID (empty while a new entry is being added).
    void showCurrentEntry(const PhoneDirectory &directory);

    int ProgressBar1() const { return progress_; }
    void setProgressBar1(int value);

    QString iderror() const { return iderror_; }
    void setIderror(const QString &text);

    bool LcExistVisible() const { return lcVisible_; }
    QString LcExistCaption() const { return lcCaption_; }
    // "Note, This record matches room " + room, shown.
    void showCodeOwner(const QByteArray &room);
    void hideLcExist();

    bool Timer3Active() const { return timer3_; }
    void setTimer3Active(bool active);

    // Opening the page by its button: iderror emptied, Lc_exist hidden.
    void clearStatus();

signals:
    void rfNameChanged(const QByteArray &text);
    void rfRoomChanged(const QByteArray &text);
    void rfIDChanged(const QByteArray &text);
    void progressChanged(int value);
    void iderrorChanged(const QString &text);
    void lcExistChanged(bool visible, const QString &caption);
    void timer3Changed(bool active);

private:
    QByteArray rfName_;
    QByteArray rfRoom_;
    QByteArray rfID_;
    int progress_ = 0;
    QString iderror_;
    bool lcVisible_ = false;
    QString lcCaption_ = kLcExistDesignCaption;
    bool timer3_ = false;
};
