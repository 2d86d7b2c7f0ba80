#include "player/SettingsMenu.h"

#include <QMenu>
#include <QWidget>

#include "platform/Folders.h"
#include "platform/Menus.h"

namespace player {

namespace {

// Two items of which exactly one is ticked, each running command with its index.
template <typename Command>
void AddChoice(QMenu* menu, std::array<QAction*, 2>& items, const char* name,
               const std::array<QString, 2>& captions, QObject* receiver, Command command) {
    for (int i = 0; i < 2; ++i) {
        items[size_t(i)] =
            platform::AddMenuItem(menu, QString::fromLatin1(name) + QString::number(i),
                                  captions[size_t(i)], {}, receiver, [command, i] { command(i); });
        items[size_t(i)]->setCheckable(true);
    }
}

void Tick(std::array<QAction*, 2>& items, int index) {
    items[size_t(index)]->setChecked(true);
    items[size_t(1 - index)]->setChecked(false);
}

}  // namespace

SettingsMenu::SettingsMenu(lyrics::Settings& settings, lyrics::ConfSettings& conf, QWidget* owner)
    : QObject(owner),
      settings(settings),
      conf(conf),
      mnuControl(new QMenu(QStringLiteral("&Settings"), owner)) {
    mnuControl->setObjectName(QStringLiteral("mnuControl"));
    itmCOnTop = platform::AddMenuItem(mnuControl, "itmCOnTop", QStringLiteral("&Always On Top"),
                                      Qt::Key_F12, this, &SettingsMenu::itmCOnTop_Click);
    itmCOnTop->setCheckable(true);
    itmSCompact =
        platform::AddMenuItem(mnuControl, "itmSCompact", QStringLiteral("&Retract to Compact"), {},
                              this, &SettingsMenu::itmSCompact_Click);
    itmSCompact->setCheckable(true);
    mnuControl->addSeparator();
    QMenu* colours = mnuControl->addMenu(QStringLiteral("&Colours"));
    const std::array<QString, 3> colourCaptions{QStringLiteral("&Background..."),
                                                QStringLiteral("&Current Line..."),
                                                QStringLiteral("&Next Line...")};
    for (int i = 0; i < 3; ++i) {
        platform::AddMenuItem(colours, QStringLiteral("itmCColour%1").arg(i),
                              colourCaptions[size_t(i)], {}, this,
                              [this, i] { emit ColourWanted(i); });
    }
    platform::AddMenuItem(mnuControl, "itmSSkins", QStringLiteral("&Skins..."), {}, this,
                          &SettingsMenu::SkinsWanted);
    platform::AddMenuItem(mnuControl, "itmSDelay", QStringLiteral("Output &Delay..."), {}, this,
                          &SettingsMenu::DelayWanted);
    mnuControl->addSeparator();
    itmSKaraoke = platform::AddMenuItem(mnuControl, "itmSKaraoke", QStringLiteral("&Karaoke"), {},
                                        this, &SettingsMenu::itmSKaraoke_Click);
    itmSOverlay = platform::AddMenuItem(mnuControl, "itmSOverlay", QStringLiteral("&Overlay"), {},
                                        this, &SettingsMenu::itmSOverlay_Click);
    itmSLock = platform::AddMenuItem(mnuControl, "itmSLock", QStringLiteral("&Lock Overlay"), {},
                                     this, &SettingsMenu::itmSLock_Click);
    for (QAction* item : {itmSKaraoke, itmSOverlay, itmSLock}) {
        item->setCheckable(true);
    }
    itmSLock->setEnabled(false);
    mnuControl->addSeparator();
    AddChoice(mnuControl->addMenu(QStringLiteral("&Playlist Visibility")), itmLSmart, "itmLSmart",
              {QStringLiteral("&Autohide"), QStringLiteral("&Manual")}, this,
              [this](int i) { itmLSmart_Click(i); });
    AddChoice(platform::AddSubmenu(mnuControl, "itmOLS", QStringLiteral("Playlist Save")),
              itmOLSave, "itmOLSave", {QStringLiteral("&On Change"), QStringLiteral("&Manual")},
              this, [this](int i) { itmOLSave_Click(i); });
    AddChoice(platform::AddSubmenu(mnuControl, "itmOStop", QStringLiteral("&Stop Mode")), itmOSFade,
              "itmOSFade", {QStringLiteral("&Fade"), QStringLiteral("&Immediate")}, this,
              [this](int i) { itmOSFade_Click(i); });
    Tick(itmLSmart, int(settings.ListView));
    Tick(itmOLSave, int(settings.ListSave));
    Tick(itmOSFade, int(settings.StopFade));
}

void SettingsMenu::Apply(const lyrics::Settings& values) {
    settings = values;
    settings.OnTop = settings.Compact = false;
    if (values.OnTop) {
        itmCOnTop_Click();
    }
    if (values.Compact) {
        itmSCompact_Click();
    }
    itmOSFade_Click(int(values.StopFade));
    itmLSmart_Click(int(values.ListView));
    itmOLSave_Click(int(values.ListSave));
}

void SettingsMenu::ApplyConf(lyrics::ConfSettings values) {
    conf = values;
    conf.Karaoke = conf.Overlay = conf.OverlayLocked = false;
    if (values.Karaoke) {
        itmSKaraoke_Click();
    }
    if (values.Overlay) {
        itmSOverlay_Click();
    }
    if (values.Overlay && values.OverlayLocked) {
        itmSLock_Click();
    }
}

bool SettingsMenu::Flip(QAction* item, bool& value, lyrics::ConfKey key) {
    value = !value;
    item->setChecked(value);
    // Not kept, it still holds until the player ends; not worth a box over a switch.
    lyrics::WriteConfSwitch(platform::ConfFilePath(), key, value);
    return value;
}

void SettingsMenu::itmSKaraoke_Click() {
    emit KaraokeChanged(Flip(itmSKaraoke, conf.Karaoke, lyrics::ConfKey::Karaoke));
}

void SettingsMenu::itmSOverlay_Click() {
    const bool shown = Flip(itmSOverlay, conf.Overlay, lyrics::ConfKey::Overlay);
    itmSLock->setEnabled(shown);
    emit OverlayChanged(shown);
}

void SettingsMenu::itmSLock_Click() {
    if (conf.Overlay) {
        emit OverlayLockChanged(Flip(itmSLock, conf.OverlayLocked, lyrics::ConfKey::OverlayLocked));
    }
}

void SettingsMenu::itmCOnTop_Click() {
    settings.OnTop = !settings.OnTop;
    itmCOnTop->setChecked(settings.OnTop);
    emit OnTopChanged(settings.OnTop);
}

void SettingsMenu::itmSCompact_Click() {
    settings.Compact = !settings.Compact;
    itmSCompact->setChecked(settings.Compact);
}

void SettingsMenu::itmOSFade_Click(int index) {
    Tick(itmOSFade, index);
    settings.StopFade = lyrics::StopMode(index);
    emit StopModeChanged(settings.StopFade == lyrics::StopMode::Immediate);
}

void SettingsMenu::itmLSmart_Click(int index) {
    Tick(itmLSmart, index);
    settings.ListView = lyrics::ListVisibility(index);
    emit ListViewChanged();
}

void SettingsMenu::itmOLSave_Click(int index) {
    Tick(itmOLSave, index);
    settings.ListSave = lyrics::ListSaving(index);
    emit SaveModeChanged(index);
}

}  // namespace player
