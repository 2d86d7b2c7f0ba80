#include "player/PlaylistPanel.h"

#include <QLabel>

#include "platform/Clicks.h"
#include "platform/CommonDialog.h"
#include "platform/Twips.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistList.h"

namespace player {

namespace {

constexpr int PanelTop = 2040;

void ShowSwitch(QLabel* label, bool on) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, on ? platform::ColorFromBgr(0x008080FF) : QColor(Qt::black));
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    QFont font = label->font();
    font.setBold(on);
    label->setFont(font);
}

}  // namespace

PlaylistPanel::PlaylistPanel(playlist::Playlist& model, QWidget* parent)
    : QWidget(parent), model(model) {
    setObjectName(QStringLiteral("playlistPanel"));
    setGeometry(platform::TwipsRect(0, PanelTop, 6870, 3285));
    lstList = new playlist::PlaylistList(model, this);
    lstList->setObjectName(QStringLiteral("lstList"));
    lstList->setGeometry(platform::TwipsRect(120, 0, 6615, 2985));
    lstList->setToolTip(QStringLiteral("Double-click to play"));
    connect(lstList, &QListView::doubleClicked, this, &PlaylistPanel::EntryDoubleClicked);
    platform::OnRightButton(lstList, [this](const QPoint& at) { emit RightButtonUp(at); });

    auto toggle = [this](const char* name, const QString& caption, int left) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(platform::TwipsRect(left, 5070 - PanelTop, 1215, 255));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        return label;
    };
    lblRand = toggle("lblRand", QStringLiteral("Randomize"), 120);
    lblRepeat = toggle("lblRepeat", QStringLiteral("Repeat"), 1455);
    platform::OnLeftClick(lblRand, [this] { lblRand_Click(); });
    platform::OnLeftClick(lblRepeat, [this] { lblRepeat_Click(); });
    ShowSwitches();
    connect(&model, &playlist::Playlist::SwitchesChanged, this, &PlaylistPanel::ShowSwitches);
}

void PlaylistPanel::lblRand_Click() {
    model.SetRandomizeList(!model.RandomizeList());
}

void PlaylistPanel::lblRepeat_Click() {
    model.SetRepeatList(!model.RepeatList());
}

void PlaylistPanel::ShowSwitches() {
    ShowSwitch(lblRand, model.RandomizeList());
    ShowSwitch(lblRepeat, model.RepeatList());
}

}  // namespace player
