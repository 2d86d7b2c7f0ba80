#pragma once
#include <QDialog>
#include <QString>
#include <array>

#include "platform/CommonDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class UpDown;
}
namespace winamp {
class WinampLink;
}

namespace playlist {

// "Edit List Entry": ties a Winamp playlist entry (typed, Winamp's current one, or picked in
// Winamp's jump dialog) to a lyrics file and its song title. Created for one Add or Edit; it
// starts at Winamp's current entry with no file, and OK and Cancel only hide it so the
// caller can read the answers.
class frmAssoc : public QDialog {
    Q_OBJECT
  public:
    frmAssoc(const winamp::WinampLink& winamp, QWidget* parent = nullptr);

    // Presets the dialog: file and title, and the entry number when it is one the spinner
    // can hold; any other keeps Winamp's current entry and says so.
    void SetValue(int iVal, const QString& sTit, const QString& sFil);
    void SetDisplay(const QString& sTit, const QString& sFil);
    int GetValue() const;
    const QString& GetFName() const { return fileName; }
    const QString& GetFTitle() const { return title; }
    // True only when the dialog was closed with OK.
    bool ReturnState() const { return returnState; }

  public slots:
    void cmdCurrent_Click();
    void cmdPick_Click();
    void cmdBrowse_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void txtItem_Change();

  private:
    // Winamp's current playlist entry, counted from 1.
    int CurrentEntry() const;

    std::array<QLabel*, 3> lbl;
    QLabel* lblTitle;
    QLabel* lblFile;
    QLineEdit* txtItem;
    platform::UpDown* ud;
    QPushButton* cmdCurrent;
    QPushButton* cmdPick;
    QPushButton* cmdBrowse;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    platform::CommonDialog cmdlg;
    const winamp::WinampLink& winamp;
    QString fileName;
    QString title;
    bool returnState = false;
};

}  // namespace playlist
