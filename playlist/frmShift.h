#pragma once
#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class UpDown;
}

namespace playlist {

// "Shift": asks from which track number on, and by how much, to renumber the entries of a
// playlist after songs were added to or taken out of Winamp's own playlist. Both numbers
// start at 1; OK and Cancel only hide it so the caller can read them.
class frmShift : public QDialog {
    Q_OBJECT
  public:
    explicit frmShift(QWidget* parent = nullptr);

    bool ReturnState() const { return returnState; }
    int GetLocation() const;
    int GetShift() const;

  public slots:
    void txtLoc_Change();
    void txtAmt_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    std::array<QLabel*, 3> lbl;
    QLineEdit* txtLoc;
    platform::UpDown* udOne;
    QLineEdit* txtAmt;
    platform::UpDown* udTwo;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    bool returnState = false;
};

}  // namespace playlist
