#pragma once
// "Publish": shows what will be given to the open lyrics database (title, artist, album,
// length, the synced lines and the plain text made from them) and sends it only when the
// user presses Publish; solving the database's challenge runs in a worker thread meanwhile,
// with its progress and a Cancel.
#include <QDialog>
#include <functional>

#include "online/LrclibClient.h"
#include "online/PublishJob.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace winamp {
class WinampLink;
}

namespace encoder {

class frmPublish : public QDialog {
    Q_OBJECT
  public:
    frmPublish(const online::LyricsRecord& song, QWidget* parent = nullptr);

    // True once the database has taken the song.
    bool ReturnState() const { return returnState; }
    QString GetStatus() const;

  public slots:
    void cmdPublish_Click();
    // Cancel, Escape and the title bar: stops a challenge being solved; closes the dialog
    // otherwise, and once the song is on its way waits for the database's answer.
    void reject() override;

  private:
    void Finished(const online::Result& result);

    online::LyricsRecord song;
    online::LrclibClient client;
    online::PublishJob job;
    QLineEdit* txtAlbum;
    QLabel* lblStatus;
    QProgressBar* prgSolve;
    QPushButton* cmdPublish;
    QPushButton* cmdCancel;
    bool running = false;
    bool returnState = false;
};

// "&File" > "&Publish...": the lyrics file at lyricsPath, with the length Winamp gives, in
// the dialog; a file that cannot be published says why instead.
void PublishLyrics(const QString& lyricsPath, const winamp::WinampLink& winamp, QWidget* owner,
                   const std::function<void(QDialog*)>& showDialog);

}  // namespace encoder
