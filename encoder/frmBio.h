#pragma once
#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace encoder {

// "Step 2 - Authoring Info": the artist and the song, from which the song title and the
// name offered for the lyrics file are formed. A blank field is refused unless the user
// takes the substitute offered. OK and Cancel only hide it, so the caller can read it.
class frmBio : public QDialog {
    Q_OBJECT
  public:
    explicit frmBio(QWidget* parent = nullptr);

    // True once the user confirmed with OK.
    bool ReturnState() const { return returnState; }
    // "Song - Artist", the title written into the lyrics file.
    QString GetTitle() const;
    // "Artist - Song", the name offered for the lyrics file (without ".cx3").
    QString GetMP3Name() const;
    // Fills both fields from a title made by GetTitle. The answer means nothing.
    bool SetValue(const QString& title);

  public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    // The question about a blank field; Yes puts the substitute in it.
    bool AcceptBlank(QLineEdit* field, const QString& question, const QString& substitute);

    std::array<QLabel*, 2> lbl;
    QLineEdit* txtArtist;
    QLineEdit* txtSong;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    bool returnState = false;
};

}  // namespace encoder
