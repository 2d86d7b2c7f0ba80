#include "winamp-sim/JumpDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "winamp-sim/Winamp.h"

namespace winampsim {

JumpDialog::JumpDialog(Winamp& model, QWidget* parent)
    : QDialog(parent),
      model(model),
      filter(new QLineEdit(this)),
      entries(new QListWidget(this)),
      jumpButton(new QPushButton(tr("&Jump to file"), this)) {
    setWindowTitle(tr("Jump to file"));
    setModal(false);
    // Closing the main window must end the program even while this is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    filter->setPlaceholderText(tr("Search"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(jumpButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(entries);
    layout->addWidget(buttons);

    const TrackList& tracks = model.Tracks();
    for (int i = 0; i < tracks.size(); ++i) {
        auto* item = new QListWidgetItem(QStringLiteral("%1. %2").arg(i + 1).arg(tracks[i].Title));
        item->setData(Qt::UserRole, i);
        entries->addItem(item);
    }
    entries->setCurrentRow(model.PlaylistPosition());

    connect(filter, &QLineEdit::textChanged, this, &JumpDialog::ApplyFilter);
    connect(filter, &QLineEdit::returnPressed, this, &JumpDialog::JumpToChosen);
    connect(entries, &QListWidget::itemActivated, this, &JumpDialog::JumpToChosen);
    connect(buttons, &QDialogButtonBox::accepted, this, &JumpDialog::JumpToChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(360, 320);
}

void JumpDialog::ApplyFilter() {
    const QString text = filter->text().trimmed();
    QListWidgetItem* firstShown = nullptr;
    for (int row = 0; row < entries->count(); ++row) {
        QListWidgetItem* item = entries->item(row);
        const bool shown = text.isEmpty() || item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !firstShown) {
            firstShown = item;
        }
    }
    if (entries->currentItem() == nullptr || entries->currentItem()->isHidden()) {
        entries->setCurrentItem(firstShown);
    }
}

void JumpDialog::JumpToChosen() {
    QListWidgetItem* item = entries->currentItem();
    if (item == nullptr || item->isHidden()) {
        return;
    }
    model.SetPlaylistPosition(item->data(Qt::UserRole).toInt());
    model.Play();
    accept();
}

}  // namespace winampsim
