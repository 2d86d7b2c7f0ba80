#pragma once
#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace encoder {

// "Edit Line": one line's text, for Quick fix's Add and Edit. Once the text box has been
// emptied, OK stays disabled and the user can only cancel.
class frmEdit : public QDialog {
    Q_OBJECT
  public:
    explicit frmEdit(QWidget* parent = nullptr);

    // The answers of the setters mean nothing.
    bool SetText(const QString& text);
    // The text trimmed of spaces.
    QString GetText() const;
    bool ReturnState() const { return returnState; }
    // Adds the comment below the note.
    bool SetComment(const QString& comment);
    bool SetCaption(const QString& caption);

  public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void txtEdit_Change();

  private:
    std::array<QLabel*, 2> lbl;
    QLineEdit* txtEdit;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    bool returnState = false;
};

}  // namespace encoder
