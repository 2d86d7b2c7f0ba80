#pragma once
#include <QPointer>
#include <QWidget>

#include "winamp-sim/JumpDialog.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSlider;
class QTimer;

namespace winampsim {

class Winamp;

// The simulated Winamp's window: the playlist with the current entry marked, the state
// and position, a position slider to drag, and the transport buttons. It only shows the
// model and hands clicks to it; the timer ticks the model and refreshes the view.
class SimWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int RefreshMs = 100;

    explicit SimWindow(Winamp& model, QWidget* parent = nullptr);

    QPushButton* PreviousButton() const { return previousButton; }
    QPushButton* PlayButton() const { return playButton; }
    QPushButton* PauseButton() const { return pauseButton; }
    QPushButton* StopButton() const { return stopButton; }
    QPushButton* NextButton() const { return nextButton; }
    QSlider* PositionSlider() const { return slider; }
    QListWidget* PlaylistView() const { return playlist; }
    QLabel* TrackLabel() const { return trackLabel; }
    QLabel* StateLabel() const { return stateLabel; }
    JumpDialog* Jump() const { return jump; }

    static QString FormatTime(qint64 ms);

  public slots:
    void Refresh();
    void OpenJumpDialog();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void PlayEntry(QListWidgetItem* item);
    void SeekToSlider();
    QString EntryText(int entry) const;

    Winamp& model;
    QLabel* trackLabel;
    QLabel* stateLabel;
    QSlider* slider;
    QPushButton* previousButton;
    QPushButton* playButton;
    QPushButton* pauseButton;
    QPushButton* stopButton;
    QPushButton* nextButton;
    QListWidget* playlist;
    QTimer* timer;
    QPointer<JumpDialog> jump;
    bool refreshing = false;
    int markedEntry = -1;
    int markedState = -1;
};

}  // namespace winampsim
