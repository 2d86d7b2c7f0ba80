#pragma once
// "Search Online": the open lyrics database's matches for a few words, to choose from by
// hand; the chosen song's synced lyrics are shown, or its words timed in the encoder.
#include <QDialog>

#include "online/Record.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace online {
class LrclibClient;
}

namespace player {

class OnlineMatches;

class frmOnline : public QDialog {
    Q_OBJECT
  public:
    enum class Use { Show, Time };

    // songS: the length of the song playing, which puts the matches closest to it first.
    frmOnline(online::LrclibClient& client, double songS, QWidget* parent = nullptr);

    // The words searched for; the search starts when the dialog is shown.
    void SetText(const QString& words);
    // True only when a match was chosen by Show Lyrics or Time them now.
    bool ReturnState() const { return returnState; }
    Use GetUse() const { return use; }
    online::LyricsRecord GetMatch() const { return chosen; }
    // What the dialog says under the matches: "Searching...", a failure, or their count.
    QString GetStatus() const;
    const OnlineMatches& Matches() const { return *matches; }

  public slots:
    void cmdSearch_Click();
    void cmdShow_Click();
    void cmdTime_Click();
    void cmdCancel_Click();
    // Picks row of the matches as a click would.
    void SelectMatch(int row);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Choose(Use how);
    void SelectionChanged();
    int SelectedRow() const;

    online::LrclibClient& client;
    double songS;
    OnlineMatches* matches;
    QLineEdit* txtWords;
    QPushButton* cmdSearch;
    QTableView* lstMatches;
    QLabel* lblStatus;
    QPushButton* cmdShow;
    QPushButton* cmdTime;
    QPushButton* cmdCancel;
    quint64 searches = 0;
    bool returnState = false;
    Use use = Use::Show;
    online::LyricsRecord chosen;
};

}  // namespace player
