#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace player {

// "About Cantorix 3": the product name, the program's picture, the version and a few
// words on what the program does.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    static QString VersionText();  // "Version 4.2.1"

  public slots:
    void cmdOK_Click();

  private:
    QLabel* lblTitle;
    QLabel* Image1;
    QLabel* lbl;
    QPushButton* cmdOK;
};

}  // namespace player
