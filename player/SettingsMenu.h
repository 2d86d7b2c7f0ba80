#pragma once
#include <QObject>
#include <array>

#include "lyrics/SettingsFile.h"

class QAction;
class QMenu;
class QWidget;

namespace player {

// The player's "&Settings" menu over the settings value the window owns: its check marks show
// the value, its items change it and say so. Colours and skins are chosen in dialogs, which
// the window shows.
class SettingsMenu : public QObject {
    Q_OBJECT
  public:
    SettingsMenu(lyrics::Settings& settings, QWidget* owner);

    QMenu* Menu() const { return mnuControl; }
    // Takes up values read at start-up through the items' own commands, so each setting is
    // applied as choosing it would apply it; the two toggles start off.
    void Apply(const lyrics::Settings& values);

  public slots:
    void itmCOnTop_Click();
    void itmSCompact_Click();
    void itmOSFade_Click(int index);
    void itmLSmart_Click(int index);
    void itmOLSave_Click(int index);

  signals:
    void OnTopChanged(bool onTop);
    void StopModeChanged(bool immediate);
    void ListViewChanged();
    void SaveModeChanged(int index);
    void ColourWanted(int index);
    void SkinsWanted();

  private:
    lyrics::Settings& settings;
    QMenu* mnuControl;
    QAction* itmCOnTop;
    QAction* itmSCompact;
    std::array<QAction*, 2> itmLSmart;
    std::array<QAction*, 2> itmOLSave;
    std::array<QAction*, 2> itmOSFade;
};

}  // namespace player
