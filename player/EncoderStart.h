#pragma once
#include <QString>
#include <QStringList>

namespace player {

// How the encoder beside the player is started to time a song now.
struct EncoderCommand {
    QString Program;
    QStringList Arguments;
};

// The encoder with title ("Song - Artist") filled in. With sourceText, that text is written
// to a temporary file the encoder takes up at once; without it the encoder starts its
// @ Wizard, whose lyrics text the user gives first. Empty Program when the text could not
// be written.
EncoderCommand EncoderCommandFor(const QString& title, const QString& sourceText = {});

// Starts the encoder as EncoderCommandFor describes; false when it could not be started.
bool StartEncoder(const QString& title, const QString& sourceText = {});

}  // namespace player
