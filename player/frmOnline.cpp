#include "player/frmOnline.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "online/LrclibClient.h"
#include "player/OnlineLyrics.h"
#include "player/OnlineMatches.h"

namespace player {

frmOnline::frmOnline(online::LrclibClient& client, double songS, QWidget* parent)
    : QDialog(parent), client(client), songS(songS), matches(new OnlineMatches(this)) {
    setObjectName(QStringLiteral("frmOnline"));
    setWindowTitle(QStringLiteral("Search Online"));
    txtWords = new QLineEdit(this);
    txtWords->setObjectName(QStringLiteral("txtWords"));
    cmdSearch = new QPushButton(QStringLiteral("&Search"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    lstMatches = new QTableView(this);
    lstMatches->setObjectName(QStringLiteral("lstMatches"));
    lstMatches->setModel(matches);
    lstMatches->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstMatches->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMatches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstMatches->verticalHeader()->hide();
    lstMatches->horizontalHeader()->setStretchLastSection(true);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    cmdShow = new QPushButton(QStringLiteral("Show &Lyrics"), this);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdTime = new QPushButton(QStringLiteral("Time them now"), this);
    cmdTime->setObjectName(QStringLiteral("cmdTime"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* words = new QHBoxLayout;
    words->addWidget(txtWords);
    words->addWidget(cmdSearch);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdShow);
    buttons->addWidget(cmdTime);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(words);
    layout->addWidget(lstMatches);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    resize(640, 360);

    connect(cmdSearch, &QPushButton::clicked, this, &frmOnline::cmdSearch_Click);
    connect(txtWords, &QLineEdit::returnPressed, this, &frmOnline::cmdSearch_Click);
    connect(cmdShow, &QPushButton::clicked, this, &frmOnline::cmdShow_Click);
    connect(cmdTime, &QPushButton::clicked, this, &frmOnline::cmdTime_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOnline::cmdCancel_Click);
    connect(lstMatches, &QTableView::doubleClicked, this, [this] {
        if (cmdShow->isEnabled()) {
            cmdShow_Click();
        }
    });
    connect(lstMatches->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmOnline::SelectionChanged);
    SelectionChanged();
}

void frmOnline::SetText(const QString& words) {
    txtWords->setText(words);
}

QString frmOnline::GetStatus() const {
    return lblStatus->text();
}

void frmOnline::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (searches == 0 && !txtWords->text().trimmed().isEmpty()) {
        cmdSearch_Click();
    }
}

void frmOnline::cmdSearch_Click() {
    const QString words = txtWords->text().simplified();
    if (words.isEmpty()) {
        return;
    }
    const quint64 ticket = ++searches;
    lblStatus->setText(QStringLiteral("Searching..."));
    connect(client.Search(words), &online::LrclibRequest::Finished, this,
            [this, ticket, words](const online::Result& result) {
                if (ticket != searches) {
                    return;  // a newer search is under way
                }
                matches->SetMatches(result.Records, songS);
                if (result.What != online::Outcome::Ok) {
                    lblStatus->setText(
                        QStringLiteral("Could not search: %1.").arg(online::Describe(result.What)));
                } else if (result.Records.isEmpty()) {
                    lblStatus->setText(NoLyricsText({}, words));
                } else {
                    lblStatus->setText(QStringLiteral("%1 found.").arg(result.Records.size()));
                    SelectMatch(0);
                }
                SelectionChanged();
            });
}

void frmOnline::SelectMatch(int row) {
    lstMatches->selectRow(row);
}

int frmOnline::SelectedRow() const {
    const QModelIndexList rows = lstMatches->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void frmOnline::SelectionChanged() {
    const int row = SelectedRow();
    const bool any = row >= 0 && row < matches->Matches().size();
    cmdShow->setEnabled(any && HasSynced(matches->Matches()[row]));
    cmdTime->setEnabled(any && !TextToTime(matches->Matches()[row]).isEmpty());
}

void frmOnline::Choose(Use how) {
    chosen = matches->Matches()[SelectedRow()];
    use = how;
    returnState = true;
    hide();
}

void frmOnline::cmdShow_Click() {
    if (cmdShow->isEnabled()) {
        Choose(Use::Show);
    }
}

void frmOnline::cmdTime_Click() {
    if (cmdTime->isEnabled()) {
        Choose(Use::Time);
    }
}

void frmOnline::cmdCancel_Click() {
    returnState = false;
    hide();
}

}  // namespace player
