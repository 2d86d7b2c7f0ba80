#pragma once
// One row of the encoder's table of lines being timed.
#include <QString>
#include <optional>

namespace lyrics {

struct SourceRow {
    // When the display leaves this line, in seconds as Winamp gave it; empty until timed.
    std::optional<double> Seconds;
    QString Text;
};

}  // namespace lyrics
