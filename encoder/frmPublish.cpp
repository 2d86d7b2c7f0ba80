#include "encoder/frmPublish.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "encoder/PublishDraft.h"
#include "platform/MsgBox.h"
#include "winamp/Link.h"

namespace encoder {

namespace {

const QString PublishTitle = QStringLiteral("Publish");

QPlainTextEdit* ReadOnlyText(const QString& text, QWidget* parent) {
    auto* box = new QPlainTextEdit(text, parent);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

}  // namespace

frmPublish::frmPublish(const online::LyricsRecord& song, QWidget* parent)
    : QDialog(parent), song(song), job(client) {
    setObjectName(QStringLiteral("frmPublish"));
    setWindowTitle(PublishTitle);
    txtAlbum = new QLineEdit(song.AlbumName, this);
    txtAlbum->setObjectName(QStringLiteral("txtAlbum"));
    const long long seconds = std::llround(song.Duration);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Title:"), new QLabel(song.TrackName, this));
    fields->addRow(QStringLiteral("Artist:"), new QLabel(song.ArtistName, this));
    fields->addRow(QStringLiteral("Album:"), txtAlbum);
    fields->addRow(QStringLiteral("Length:"),
                   new QLabel(QStringLiteral("%1:%2 (as Winamp gives it)")
                                  .arg(seconds / 60)
                                  .arg(seconds % 60, 2, 10, QLatin1Char('0')),
                              this));
    auto* texts = new QGridLayout;
    texts->addWidget(new QLabel(QStringLiteral("Synced lines:"), this), 0, 0);
    texts->addWidget(new QLabel(QStringLiteral("Plain text:"), this), 0, 1);
    texts->addWidget(ReadOnlyText(song.SyncedLyrics.value_or(QString()), this), 1, 0);
    texts->addWidget(ReadOnlyText(song.PlainLyrics.value_or(QString()), this), 1, 1);
    lblStatus = new QLabel(
        QStringLiteral("This is what will be sent to the open lyrics database (lrclib.net) for "
                       "everyone to use. Nothing is sent before you press Publish."),
        this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    prgSolve = new QProgressBar(this);
    prgSolve->setObjectName(QStringLiteral("prgSolve"));
    prgSolve->setRange(0, 100);
    prgSolve->hide();
    cmdPublish = new QPushButton(QStringLiteral("&Publish"), this);
    cmdPublish->setObjectName(QStringLiteral("cmdPublish"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prgSolve, 1);
    buttons->addStretch();
    buttons->addWidget(cmdPublish);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(texts, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    resize(720, 480);

    connect(cmdPublish, &QPushButton::clicked, this, &frmPublish::cmdPublish_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPublish::reject);
    connect(&job, &online::PublishJob::Progress, this, [this](quint64 tried, double expected) {
        // The expected count is an average: a search may well run past it.
        prgSolve->setValue(expected > 0 ? std::min(99, int(99.0 * double(tried) / expected)) : 0);
    });
    connect(&job, &online::PublishJob::Sending, this, [this] {
        prgSolve->setValue(100);
        cmdCancel->setEnabled(false);
        lblStatus->setText(QStringLiteral("Sending the song..."));
    });
    connect(&job, &online::PublishJob::Finished, this, &frmPublish::Finished);
}

QString frmPublish::GetStatus() const {
    return lblStatus->text();
}

void frmPublish::cmdPublish_Click() {
    song.AlbumName = txtAlbum->text().simplified();
    if (!job.Start(song)) {
        return;  // one dialog publishes once; a second try needs a new one
    }
    running = true;
    cmdPublish->setEnabled(false);
    txtAlbum->setReadOnly(true);
    prgSolve->setValue(0);
    prgSolve->show();
    lblStatus->setText(
        QStringLiteral("Proving the request to the database (this takes a while "
                       "on one processor core)..."));
}

void frmPublish::reject() {
    if (running) {
        job.Cancel();
        return;
    }
    QDialog::reject();
}

void frmPublish::Finished(const online::Result& result) {
    running = false;
    cmdCancel->setEnabled(true);
    cmdCancel->setText(QStringLiteral("Close"));
    prgSolve->hide();
    returnState = result.What == online::Outcome::Ok;
    if (returnState) {
        lblStatus->setText(QStringLiteral("The lyrics database took the song. Thank you!"));
    } else if (result.What == online::Outcome::Cancelled) {
        lblStatus->setText(QStringLiteral("Cancelled. Nothing was sent."));
    } else {
        lblStatus->setText(QStringLiteral("The lyrics database did not take the song: ") +
                           online::Describe(result.What) + u'.');
    }
}

void PublishLyrics(const QString& lyricsPath, const winamp::WinampLink& winamp, QWidget* owner,
                   const std::function<void(QDialog*)>& showDialog) {
    const PublishDraft draft = DraftForPublish(lyricsPath, winamp.TrackLengthS());
    if (!draft.Problem.isEmpty()) {
        platform::MsgBox(owner, draft.Problem, platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, PublishTitle);
        return;
    }
    frmPublish publish(draft.Song, owner);
    showDialog(&publish);
}

}  // namespace encoder
