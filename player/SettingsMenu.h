#pragma once
#include <QObject>
#include <array>

#include "lyrics/ConfFile.h"
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
    // conf: the settings kept in cantorix.conf, each written there as soon as it changes.
    SettingsMenu(lyrics::Settings& settings, lyrics::ConfSettings& conf, QWidget* owner);

    QMenu* Menu() const { return mnuControl; }
    // Takes up values read at start-up through the items' own commands, so each setting is
    // applied as choosing it would apply it; the two toggles start off.
    void Apply(const lyrics::Settings& values);
    // The same for the switches of cantorix.conf; values is a copy, as it may be the very
    // value the menu stands over.
    void ApplyConf(lyrics::ConfSettings values);

  public slots:
    void itmCOnTop_Click();
    void itmSCompact_Click();
    void itmOSFade_Click(int index);
    void itmLSmart_Click(int index);
    void itmOLSave_Click(int index);
    void itmSKaraoke_Click();
    void itmSOverlay_Click();
    // Only while the overlay is shown.
    void itmSLock_Click();

  signals:
    void OnTopChanged(bool onTop);
    void StopModeChanged(bool immediate);
    void ListViewChanged();
    void SaveModeChanged(int index);
    void ColourWanted(int index);
    void SkinsWanted();
    void DelayWanted();
    void KaraokeChanged(bool on);
    void OverlayChanged(bool shown);
    void OverlayLockChanged(bool locked);

  private:
    // Flips the switch behind item, shows it and keeps it in cantorix.conf.
    bool Flip(QAction* item, bool& value, lyrics::ConfKey key);

    lyrics::Settings& settings;
    lyrics::ConfSettings& conf;
    QMenu* mnuControl;
    QAction* itmCOnTop;
    QAction* itmSCompact;
    std::array<QAction*, 2> itmLSmart;
    std::array<QAction*, 2> itmOLSave;
    std::array<QAction*, 2> itmOSFade;
    QAction* itmSKaraoke;
    QAction* itmSOverlay;
    QAction* itmSLock;
};

}  // namespace player
