#pragma once
#include <QDialog>

#include "encoder/EditorFile.h"
#include "platform/CommonDialog.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace encoder {

// "Edit Lyrics": the source text in a text box, opened from a file or typed, saved back as
// plain text on the way out. Callers load it, call InitialState or OpenFile, show it
// modally, then read ReturnState and ReturnNewFile.
class frmOpen : public QDialog {
    Q_OBJECT
  public:
    explicit frmOpen(QWidget* parent = nullptr);

    // With 1: New and Open become available and the Open dialog is shown at once. Any other
    // value does nothing. The answer means nothing.
    bool InitialState(int iState = 0);
    // Loads sFN into the text box; false, changing nothing, when it cannot be read.
    bool OpenFile(const QString& sFN);
    // True when the user left with Continue and the text was saved.
    bool ReturnState() const { return file.Confirmed; }
    // The file the text belongs to; after a confirmed exit, the file it was saved to.
    QString ReturnNewFile() const { return file.FileName; }
    // "Could not read file.", as a failed Open or Reload says it.
    void ShowReadFailure();

    QPlainTextEdit* rtb;
    QPushButton* cmdCut;
    QPushButton* cmdCopy;
    QPushButton* cmdPaste;
    QPushButton* cmdSave;
    QPushButton* cmdClose;
    QMenu* mnuFile;
    QAction* itmFNew;
    QAction* itmFOpen;
    QAction* itmFReload;
    QAction* itmFSave;
    QAction* itmFClose;
    QMenu* mnuEdit;
    QAction* itmECut;
    QAction* itmECopy;
    QAction* itmEPaste;
    QAction* itmClear;
    platform::CommonDialog cmdlg;

  public slots:
    void itmFNew_Click();
    void itmFOpen_Click();
    void itmFReload_Click();
    void cmdSave_Click();
    void cmdClose_Click();
    void itmECut_Click();
    void itmECopy_Click();
    void itmEPaste_Click();
    void itmClear_Click();

    // Escape and the window's frame: with changes, first asks whether to save them.
    void reject() override;

  protected:
    // The Edit menu's keys go to its commands also while the text box has the focus, so
    // they move plain text only and Del deletes nothing but the selection.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The text as typed, every character kept (the text box's plain text turns a no-break
    // space into a space), with LF line ends.
    QString Text() const;

    EditorFile file;
};

}  // namespace encoder
