#include "winamp-sim/SimWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "winamp-sim/JumpDialog.h"
#include "winamp-sim/Winamp.h"

namespace winampsim {

SimWindow::SimWindow(Winamp& model, QWidget* parent)
    : QWidget(parent),
      model(model),
      trackLabel(new QLabel(this)),
      stateLabel(new QLabel(this)),
      slider(new QSlider(Qt::Horizontal, this)),
      previousButton(new QPushButton(tr("Previous"), this)),
      playButton(new QPushButton(tr("Play"), this)),
      pauseButton(new QPushButton(tr("Pause"), this)),
      stopButton(new QPushButton(tr("Stop"), this)),
      nextButton(new QPushButton(tr("Next"), this)),
      playlist(new QListWidget(this)),
      timer(new QTimer(this)) {
    setWindowTitle(tr("Winamp (simulated)"));

    QFont bold = trackLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    trackLabel->setFont(bold);
    trackLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    slider->setTracking(false);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {previousButton, playButton, pauseButton, stopButton, nextButton}) {
        button->setFocusPolicy(Qt::TabFocus);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trackLabel);
    layout->addWidget(stateLabel);
    layout->addWidget(slider);
    layout->addLayout(buttons);
    layout->addWidget(playlist, 1);

    for (int i = 0; i < model.Count(); ++i) {
        playlist->addItem(EntryText(i));
    }

    // Each button hands its command to the model and shows the outcome at once.
    connect(previousButton, &QPushButton::clicked, this, [this] {
        this->model.Previous();
        Refresh();
    });
    connect(playButton, &QPushButton::clicked, this, [this] {
        this->model.Play();
        Refresh();
    });
    connect(pauseButton, &QPushButton::clicked, this, [this] {
        this->model.PauseResume();
        Refresh();
    });
    connect(stopButton, &QPushButton::clicked, this, [this] {
        this->model.Stop();
        Refresh();
    });
    connect(nextButton, &QPushButton::clicked, this, [this] {
        this->model.Next();
        Refresh();
    });
    connect(playlist, &QListWidget::itemActivated, this, &SimWindow::PlayEntry);
    // Without tracking, valueChanged comes once a drag is released, or at once for a
    // click on the groove or a key: each is one seek.
    connect(slider, &QSlider::valueChanged, this, &SimWindow::SeekToSlider);
    connect(slider, &QSlider::sliderMoved, this,
            [this](int value) { stateLabel->setText(tr("Seek to %1").arg(FormatTime(value))); });
    connect(&model, &Winamp::JumpDialogRequested, this, &SimWindow::OpenJumpDialog);
    connect(timer, &QTimer::timeout, this, &SimWindow::Refresh);

    timer->start(RefreshMs);
    resize(440, 320);
    Refresh();
}

QString SimWindow::FormatTime(qint64 ms) {
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString SimWindow::EntryText(int entry) const {
    const Track& track = model.Tracks()[entry];
    return QStringLiteral("%1. %2  (%3)")
        .arg(entry + 1)
        .arg(track.Title, FormatTime(qint64(track.LengthS) * 1000));
}

void SimWindow::Refresh() {
    model.Tick();
    const Winamp::State state = model.PlayState();
    const qint64 position = model.PositionMs();
    const int length = model.LengthS();
    const int current = model.PlaylistPosition();
    const int loaded = model.LoadedTrack();
    const int shown = loaded >= 0 ? loaded : current;

    trackLabel->setText(
        shown >= 0 && shown < model.Count()
            ? QStringLiteral("%1. %2").arg(shown + 1).arg(model.Tracks()[shown].Title)
            : tr("(empty playlist)"));
    QString stateText;
    switch (state) {
        case Winamp::State::Playing:
            stateText = model.Fading() ? tr("Playing (fading out)") : tr("Playing");
            break;
        case Winamp::State::Paused:
            stateText = tr("Paused");
            break;
        case Winamp::State::Stopped:
            stateText = tr("Stopped");
            break;
    }
    stateText +=
        QStringLiteral("   %1 / %2").arg(FormatTime(position), FormatTime(qint64(length) * 1000));
    if (model.StopAfterCurrentRequested()) {
        stateText += tr("   (stops after this track)");
    }
    if (!slider->isSliderDown()) {
        stateLabel->setText(stateText);
    }

    refreshing = true;
    slider->setEnabled(state != Winamp::State::Stopped);
    if (slider->maximum() != length * 1000) {
        slider->setRange(0, length * 1000);
        slider->setPageStep(qMax(1000, length * 100));
        slider->setSingleStep(5000);
    }
    if (!slider->isSliderDown()) {
        slider->setValue(static_cast<int>(position));
    }
    refreshing = false;

    // The current entry is bold and selected; the track that is sounding carries a mark.
    const int markState = loaded * 4 + static_cast<int>(state);
    if (current != markedEntry || markState != markedState) {
        for (int i = 0; i < playlist->count(); ++i) {
            QListWidgetItem* item = playlist->item(i);
            QString text = EntryText(i);
            if (i == loaded) {
                text.prepend(state == Winamp::State::Paused ? QStringLiteral("\u2016 ")
                                                            : QStringLiteral("\u25B6 "));
            }
            item->setText(text);
            QFont font = item->font();
            font.setBold(i == current);
            item->setFont(font);
        }
        playlist->setCurrentRow(current);
        markedEntry = current;
        markedState = markState;
    }
}

void SimWindow::SeekToSlider() {
    if (refreshing) {
        return;
    }
    model.Seek(slider->value());
    Refresh();
}

void SimWindow::PlayEntry(QListWidgetItem* item) {
    model.SetPlaylistPosition(playlist->row(item));
    model.Play();
    Refresh();
}

void SimWindow::OpenJumpDialog() {
    // Never modal: the request arrives inside a message handler, which must return.
    if (!jump) {
        jump = new JumpDialog(model, this);
        jump->setWindowFlag(Qt::Window);
        connect(jump, &QDialog::finished, this, &SimWindow::Refresh);
    }
    if (!jump->isVisible()) {
        jump->Filter()->clear();
        jump->Entries()->setCurrentRow(model.PlaylistPosition());
        jump->Filter()->setFocus();
    }
    jump->show();
    jump->raise();
    jump->activateWindow();
}

void SimWindow::closeEvent(QCloseEvent* event) {
    if (jump) {
        jump->close();
    }
    event->accept();
}

}  // namespace winampsim
