#include "player/Skin.h"

#include "platform/Folders.h"
#include "platform/MsgBox.h"

namespace player {

namespace {

QString BaseName(SkinButton button) {
    switch (button) {
        case SkinButton::Play:
            return QStringLiteral("play");
        case SkinButton::Stop:
            return QStringLiteral("stop");
        case SkinButton::Next:
            return QStringLiteral("next");
        case SkinButton::Pause:
            return QStringLiteral("pause");
        case SkinButton::Open:
            return QStringLiteral("open");
    }
    return QString();
}

// One pass over the five bitmaps; false at the first that does not load. An empty folder
// fails at once rather than reading bitmaps from the current folder.
bool LoadAll(const QString& folder, const SkinLoader& load) {
    if (folder.isEmpty()) {
        return false;
    }
    for (SkinButton button : SkinLoadOrder) {
        if (!load(button, folder + NormalBitmapName(button))) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString SkinsFolder() {
    const QString sep = platform::PathSeparator();
    return platform::ResourceFolder() + sep + QStringLiteral("skins") + sep;
}

QString DefaultSkinFolder() {
    return SkinsFolder() + QStringLiteral("default") + platform::PathSeparator();
}

QString NormalBitmapName(SkinButton button) {
    return BaseName(button) + QStringLiteral(".bmp");
}

QString PressedBitmapName(SkinButton button) {
    return BaseName(button) + QStringLiteral("_down.bmp");
}

QString PressFeedbackPath(const QString& skinFolder, SkinButton button, bool pressed) {
    if (skinFolder.isEmpty()) {
        return QString();
    }
    return skinFolder + (pressed ? PressedBitmapName(button) : NormalBitmapName(button));
}

SkinLoadResult LoadSkin(const QString& skinFolder, const SkinLoader& load,
                        const std::function<void()>& applyColours, const QString& skinsFolder,
                        const QString& defaultFolder) {
    SkinLoadResult result{skinFolder, false};
    // At most two passes: a failing folder other than the default leads to the default,
    // and a failing default ends it.
    for (;;) {
        if (applyColours) {
            applyColours();
        }
        if (LoadAll(result.SkinFolder, load)) {
            return result;
        }
        if (result.SkinFolder == defaultFolder) {
            result.SkinFolder.clear();
            result.ShowSkinsMessage = true;
            return result;
        }
        if (!result.SkinFolder.isEmpty() &&
            !result.SkinFolder.startsWith(skinsFolder, Qt::CaseSensitive)) {
            return result;
        }
        result.SkinFolder = defaultFolder;
    }
}

SkinLoadResult LoadSkin(const QString& skinFolder, const SkinLoader& load,
                        const std::function<void()>& applyColours) {
    return LoadSkin(skinFolder, load, applyColours, SkinsFolder(), DefaultSkinFolder());
}

void ShowSkinsMessage(QWidget* owner) {
    platform::MsgBox(owner,
                     QStringLiteral("Error in skins could not be corrected. Please reinstall "
                                    "skin.") +
                         QChar(13) +
                         QStringLiteral("Ignoring this error may cause desirable "
                                        "operations."),
                     platform::MsgButtons::OK, platform::MsgIcon::Critical,
                     QStringLiteral("Skins"));
}

}  // namespace player
