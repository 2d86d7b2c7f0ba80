#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "encoder/TimingFile.h"
#include "encoder/TimingTable.h"
#include "platform/CommonDialog.h"

class QAction;
class QTableView;
class QTimer;

namespace winamp {
class WinampLink;
}

namespace encoder {

// "Timing": the lines of a timed song with their times, corrected while Winamp plays it.
// It follows Winamp (the line being sung is marked and kept in view), plays from just
// before the selected line, and lets the user tap a line's new time, nudge it, or move
// every line from it on; every change can be undone. The rules live in TimingTable; the
// window wires keys and menus to them and to Winamp.
class frmTiming : public QDialog {
    Q_OBJECT
  public:
    // redetect finds Winamp again and tells the user when it is not running (the
    // program's Redetect); outputDelayMs is how far the listener's output lags.
    frmTiming(winamp::WinampLink& link, std::function<bool()> redetect, qint64 outputDelayMs,
              QWidget* parent = nullptr);
    ~frmTiming() override;

    // The lyrics file at path (.cx3, .cx2 or LRC); false, changing nothing, when it cannot
    // be read whole.
    bool OpenFile(const QString& path);
    // Lines just captured, to be saved as a .cx3 at path (empty: asked on the first save).
    void OpenLines(const QString& path, const QString& title, std::vector<TimingRow> rows);

    const TimingTable& Table() const { return table; }
    // The lines as last saved; nothing when the window has not saved.
    const std::optional<std::vector<TimingRow>>& SavedRows() const { return savedRows; }

  public slots:
    // The 40 ms tick: marks the line sung at Winamp's position.
    void tmr_Timer();
    void itmPlay_Click();
    void itmTap_Click();
    // itmNudge(0..3): 100 ms later, 100 ms sooner, 10 ms later, 10 ms sooner.
    void itmNudge_Click(int index);
    void itmShift_Click();
    void itmUndo_Click();
    void itmRedo_Click();
    // Both answer whether the lines are now saved.
    bool itmSave_Click();
    bool itmSaveAs_Click();
    // Closing, by the menu, Escape or the frame: with changes, asks whether to save first.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void BuildMenus();
    void Opened(const QString& path, TimingFormat format, const QString& title,
                std::vector<TimingRow> rows);
    bool SaveTo(const QString& path, TimingFormat format);
    void ShowSelected(int row);
    void UpdateState();

    winamp::WinampLink& link;
    std::function<bool()> redetect;
    qint64 outputDelayMs;
    TimingTable table;
    QString path;
    QString title;
    TimingFormat format = TimingFormat::Cx3;
    // An LRC file that saving in place would write anew; the user is asked once.
    bool askBeforeRewrite = false;
    std::optional<std::vector<TimingRow>> savedRows;
    platform::CommonDialog cmdlg;

    QTableView* lstLines;
    QTimer* tmr;
    QAction* itmUndo;
    QAction* itmRedo;
};

}  // namespace encoder
