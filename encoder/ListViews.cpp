#include "encoder/ListViews.h"

#include <QLabel>

#include "encoder/Capture.h"
#include "platform/Clicks.h"
#include "platform/ListBox.h"
#include "platform/TextRows.h"
#include "platform/Twips.h"
#include "playlist/PlaylistList.h"

namespace encoder {

namespace {

constexpr int ViewsTop = 2040;

void SetBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace

ListViews::ListViews(const Capture& lines, playlist::Playlist& model, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("listViews"));
    setGeometry(platform::TwipsRect(0, ViewsTop, 6855, 2835));
    const std::array<QString, 2> captions{QStringLiteral("Current File View"),
                                          QStringLiteral("Current Playlist View")};
    for (int i = 0; i < 2; ++i) {
        QLabel* tab = lbl[size_t(i)] = new QLabel(captions[size_t(i)], this);
        tab->setObjectName(QStringLiteral("lbl%1").arg(i));
        tab->setGeometry(platform::TwipsRect(120 + 2160 * i, 0, 2055, 255));
        tab->setAlignment(Qt::AlignCenter);
        tab->setAutoFillBackground(true);
        QPalette colours = tab->palette();
        colours.setColor(QPalette::Window, Qt::black);
        colours.setColor(QPalette::WindowText, Qt::white);
        tab->setPalette(colours);
        platform::OnLeftClick(tab, [this, i] { emit TabClicked(i); });
    }
    lstFile = new platform::ListBox(
        new platform::TextRows([&lines] { return lines.LastSourceLine + 1; },
                               [&lines](int row) { return lines.SourceLines[size_t(row)].Text; }),
        this);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->setGeometry(platform::TwipsRect(120, 2280 - ViewsTop, 6615, 2595));
    platform::OnRightButton(lstFile, [this](const QPoint& at) { emit FileListMouseUp(at); });
    // The playlist lies over the line list, hidden until its tab is chosen.
    lstList = new playlist::PlaylistList(model, this);
    lstList->setObjectName(QStringLiteral("lstList"));
    lstList->setGeometry(lstFile->geometry());
    platform::OnRightButton(lstList, [this](const QPoint& at) { emit PlaylistMouseUp(at); });
    ShowFiles(true);
}

void ListViews::ShowFiles(bool files) {
    SetBold(lbl[0], files);
    SetBold(lbl[1], !files);
    lstFile->setVisible(files);
    lstList->setVisible(!files);
}

}  // namespace encoder
