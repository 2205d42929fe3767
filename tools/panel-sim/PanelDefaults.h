#pragma once

#include <QByteArray>

// A panel as it leaves the factory: PIN 1234, the default system parameters,
// its standard messages, no gate codes and the speed dials 36001 to 36008.
namespace PanelDefaults {

inline constexpr char kPin[] = "1234";
// Mic 1, speaker 3, relay 5 s, run timer 3 min, 2 rings, silence 20 s,
// continuous tone 2.0 s, lift relay 0, scroll speed 20, no-answer 15 s,
// relay 2 normal, button 1 s, options: switch off after release, modem.
inline constexpr char kSystemParameters[] = "01030503021414000000140?0001000<";

// Record 0000-0010 as the factory writes them.
QByteArray parameterRecord(int record);

// The PIN record: the PIN followed by 0xFF up to 32.
QByteArray pinRecord(const QByteArray &pin);
// A gate-code record from six codes (digits, at most four each).
QByteArray gateCodeRecord(const QByteArray &g1, const QByteArray &g2, const QByteArray &ic1,
                          const QByteArray &ic2, const QByteArray &sd1, const QByteArray &sd2);
// A speed-dial record from two dial texts ("*", "#", "p" allowed).
QByteArray speedDialRecord(const QByteArray &first, const QByteArray &second);
// Text filled with `fill` up to `width` (longer text stays as it is).
QByteArray padded(const QByteArray &text, int width, char fill);

} // namespace PanelDefaults
