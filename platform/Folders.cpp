#include "Folders.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {

// Qt works with '/'; the user sees the system's own separator.
QString Shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

}  // namespace

QString ProgramFolder() {
    return Shown(QCoreApplication::applicationDirPath());
}

QString ResourceFolderFor(const QString& programFolder) {
    const QString program = QDir::fromNativeSeparators(programFolder);
    if (QDir(program).exists(QStringLiteral("skins"))) {
        return Shown(program);
    }
    return Shown(program + QStringLiteral("/../share/cantorix"));
}

QString ResourceFolder() {
    return ResourceFolderFor(ProgramFolder());
}

QString SettingsFolder() {
    QString folder = qEnvironmentVariable("CANTORIX_HOME");
    if (folder.isEmpty()) {
#ifdef _WIN32
        folder = ProgramFolder();
#else
        folder = QDir::homePath() + QStringLiteral("/.config/cantorix");
#endif
    }
    folder = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    QDir().mkpath(folder);
    return Shown(folder);
}

QString SettingsFilePath() {
    return SettingsFolder() + PathSeparator() + QStringLiteral("cantorix.ini");
}

QString ConfigFilePath() {
    return SettingsFolder() + PathSeparator() + QStringLiteral("cantorix.conf");
}

QString PathSeparator() {
    return QString(QDir::separator());
}

QString ExecutableName(const QString& baseName) {
#ifdef _WIN32
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

}  // namespace platform
