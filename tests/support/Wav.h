#pragma once
// Seconds of silence as a WAV file (8 kHz, mono, 16 bits) for a real player to play.
#include <QByteArray>
#include <QString>

#include "Files.h"

namespace testsupport {

inline bool WriteSilence(const QString& path, int seconds) {
    const quint32 data = quint32(seconds) * 8000 * 2;
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            wav += char(v >> (8 * i));
        }
    };
    const auto u16 = [&wav](quint16 v) { wav += char(v), wav += char(v >> 8); };
    wav += "RIFF", u32(36 + data), wav += "WAVEfmt ", u32(16), u16(1), u16(1), u32(8000),
        u32(16000), u16(2), u16(16), wav += "data", u32(data);
    return WriteBytes(path, wav + QByteArray(int(data), '\0'));
}

}  // namespace testsupport
