#pragma once
#include <QString>

namespace platform {

// The folder of the running program, without a trailing separator.
QString ProgramFolder();

// Read-only resources (skins, ReadMe.HTM): the program folder when it holds "skins",
// else "../share/cantorix" beside it. No trailing separator.
QString ResourceFolder();
// The same rule for a given program folder.
QString ResourceFolderFor(const QString& programFolder);

// Writable files (cantorix.ini, the encoder's temporary file): $CANTORIX_HOME when set,
// else the program folder on Windows and ~/.config/cantorix on Linux. Created when
// missing. No trailing separator.
QString SettingsFolder();

// The settings file both programs share: "cantorix.ini" in the settings folder.
QString SettingsFilePath();

// The settings beyond cantorix.ini's eleven lines: "cantorix.conf" beside it (QSettings INI).
QString ConfigFilePath();

// The path separator of this system as the user sees it ("/" here, "\" on Windows).
QString PathSeparator();

// The name of a sibling program's executable ("cantorix", "cantorix.exe").
QString ExecutableName(const QString& baseName);

}  // namespace platform
