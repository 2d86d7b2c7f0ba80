#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace player {

// "Skin Selection": a folder list that shows the way from the root down to the open
// folder and the open folder's subfolders, and a drive list of the volumes. A click only
// highlights a folder; a double click or Enter opens it, and only the open folder counts.
class frmSkins : public QDialog {
    Q_OBJECT
  public:
    explicit frmSkins(QWidget* parent = nullptr);

    // Opens the folder list at sCurrent (with or without the trailing separator), sets the
    // drive list to the volume holding it and makes it the current folder. An empty or
    // relative sCurrent opens the skins folder (the home folder when there is none); a
    // folder that does not exist opens its nearest existing parent. True when sCurrent
    // itself was opened.
    bool SetValue(const QString& sCurrent);
    // The open folder followed by the path separator.
    QString GetValue() const;
    // True only when the dialog was closed with OK since it was created.
    bool ReturnState() const { return returnState; }

    // The volume of volumes (root paths) that holds folder: the longest one that is a
    // whole-component prefix of it; empty when none is.
    static QString VolumeFor(const QStringList& volumes, const QString& folder);
    // The file-system roots and mount points that hold folders a skin can live in.
    static QStringList Volumes();

  public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void dir_DblClick(QListWidgetItem* item);
    void drive_Change(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Fills the folder list for folder (Qt separators, no trailing one but for a root).
    void OpenFolder(const QString& folder);
    void SelectDrive(const QString& folder);

    QLabel* lbl;
    QListWidget* dir;
    QComboBox* drive;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QString openFolder;
    bool returnState = false;
};

}  // namespace player
