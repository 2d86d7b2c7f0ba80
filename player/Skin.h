#pragma once
#include <QString>
#include <array>
#include <functional>

class QWidget;

namespace player {

// The five skinned buttons, numbered in the order ApplySkin loads their bitmaps.
enum class SkinButton { Play, Stop, Next, Pause, Open };
inline constexpr std::array<SkinButton, 5> SkinLoadOrder{
    SkinButton::Play, SkinButton::Stop, SkinButton::Next, SkinButton::Pause, SkinButton::Open};

// The skins folder and the default skin inside it, both ending in the path separator.
QString SkinsFolder();
QString DefaultSkinFolder();

// "play.bmp" and "play_down.bmp", and so on.
QString NormalBitmapName(SkinButton button);
QString PressedBitmapName(SkinButton button);

// What a button loads when pressed (pressed true) or released: the bitmap in the skin
// folder. Empty when no skin folder is known, so nothing is looked up in whatever the
// current folder happens to be; an empty path never loads, and the button keeps the
// picture it has, as it does for a bitmap missing from the skin.
QString PressFeedbackPath(const QString& skinFolder, SkinButton button, bool pressed);

// Loads one bitmap into a button; false when the file does not load.
using SkinLoader = std::function<bool(SkinButton button, const QString& path)>;

struct SkinLoadResult {
    QString SkinFolder;             // the skin folder from now on
    bool ShowSkinsMessage = false;  // the default skin itself failed
};

// Loads the five normal bitmaps from skinFolder, stopping at the first that fails, and
// falls back to the default skin when the failing folder is empty or lies inside the
// skins folder. applyColours (may be empty) runs at the start of every pass, so the
// colours are set again along with the default skin. The folders are compared exactly,
// letter case included. A folder outside the skins folder that fails is kept as it is,
// silently: the buttons that loaded show it, the others keep their pictures.
SkinLoadResult LoadSkin(const QString& skinFolder, const SkinLoader& load,
                        const std::function<void()>& applyColours, const QString& skinsFolder,
                        const QString& defaultFolder);
// The same with the program's own skins folder and default skin.
SkinLoadResult LoadSkin(const QString& skinFolder, const SkinLoader& load,
                        const std::function<void()>& applyColours);

// The "Skins" box for a default skin that does not load.
void ShowSkinsMessage(QWidget* owner);

}  // namespace player
