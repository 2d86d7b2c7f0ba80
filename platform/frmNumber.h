#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QSpinBox;

namespace platform {

// Asks for one whole number within a range, with a line saying what it is for. OK and Cancel
// only hide it so the caller can read the answer.
class frmNumber : public QDialog {
    Q_OBJECT
  public:
    explicit frmNumber(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    void SetText(const QString& text);
    void SetRange(int min, int max);
    void SetValue(int value);
    int GetValue() const;
    bool ReturnState() const { return returnState; }

  public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    QLabel* lblText;
    QSpinBox* txtValue;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    bool returnState = false;
};

}  // namespace platform
