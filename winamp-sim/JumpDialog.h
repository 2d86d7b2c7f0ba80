#pragma once
#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace winampsim {

class Winamp;

// The jump-to-file dialog: the playlist with a filter; choosing an entry makes it the
// current one and plays it. It is shown non-modally, so the window keeps answering
// messages while it is open.
class JumpDialog : public QDialog {
    Q_OBJECT
  public:
    JumpDialog(Winamp& model, QWidget* parent = nullptr);

    QLineEdit* Filter() const { return filter; }
    QListWidget* Entries() const { return entries; }
    QPushButton* JumpButton() const { return jumpButton; }

  public slots:
    void ApplyFilter();
    void JumpToChosen();

  private:
    Winamp& model;
    QLineEdit* filter;
    QListWidget* entries;
    QPushButton* jumpButton;
};

}  // namespace winampsim
