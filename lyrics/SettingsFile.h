#pragma once
// cantorix.ini: eleven lines in the delimited-field convention, read once when the player
// starts and written once when it ends. The encoder reads only the colours of line 1.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace lyrics {

using ColourTable = std::array<std::uint32_t, 3>;  // background, current line, next line

inline constexpr ColourTable DefaultColours{0x0080C0FF, 0x00FF0000, 0x0000C000};

// The two-way settings of lines 5 to 7: the number is what the file holds and the index of
// the setting's item in its menu.
enum class StopMode { Fade = 0, Immediate = 1 };
enum class ListVisibility { Autohide = 0, Manual = 1 };
enum class ListSaving { OnChange = 0, Manual = 1 };

// The values as the file holds them, line by line. Lines 3 to 9 carry a key after the
// value for the reader's eye; the reader goes by line position only.
struct Settings {
    ColourTable Colours = DefaultColours;                // line 1
    int Left = 0, Top = 0;                               // line 2, twips
    bool OnTop = false;                                  // line 3, "on top"
    bool Compact = false;                                // line 4, "compact"
    StopMode StopFade = StopMode::Fade;                  // line 5
    ListVisibility ListView = ListVisibility::Autohide;  // line 6
    ListSaving ListSave = ListSaving::OnChange;          // line 7
    bool Randomize = false;                              // line 8, stored as 0 for on
    bool Repeat = false;                                 // line 9, stored as 0 for on
    QString SkinFolder;                                  // line 10
    QString PlaylistPath;                                // line 11
};

// What a read gave. LinesRead is how many lines (0 to 11) were read and could be applied;
// reading stops at the first line that fails. A file that fails part-way keeps the window
// position, Always On Top and Retract to Compact from the lines before the failing one;
// everything else is the default.
struct SettingsRead {
    Settings Values;
    int LinesRead = 0;
};

SettingsRead ReadSettingsFile(const QString& path);
// Positions outside the 16-bit range are clamped so the file always reads back.
// Written atomically; false on failure, the old file whole.
bool WriteSettingsFile(const QString& path, const Settings& settings);
// The colours of line 1, for the encoder; nullopt when the file or the line cannot be read.
std::optional<ColourTable> ReadColourLine(const QString& path);

}  // namespace lyrics
