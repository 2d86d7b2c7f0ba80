#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace encoder {

// "About Cantorix 3 Encoder": the product name, the version, and what the program is for.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    static QString VersionText();  // "Version 1.1.2"

  public slots:
    void cmdOK_Click();

  private:
    QLabel* lblTitle;
    QLabel* lbl;
    QPushButton* cmdOK;
};

}  // namespace encoder
