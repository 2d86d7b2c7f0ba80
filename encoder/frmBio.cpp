#include "encoder/frmBio.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "encoder/SongTitle.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"

namespace encoder {

frmBio::frmBio(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    using platform::TwipsRect;
    setObjectName(QStringLiteral("frmBio"));
    setWindowTitle(QStringLiteral("Step 2 - Authoring Info"));
    setFixedSize(platform::Px(6480), platform::Px(1095));

    auto field = [this](const char* name, const QString& caption, const QRect& labelAt, int top,
                        QLabel*& label) {
        label = new QLabel(caption, this);
        label->setGeometry(labelAt);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* text = new QLineEdit(this);
        text->setObjectName(QString::fromLatin1(name));
        text->setGeometry(TwipsRect(840, top, 3735, 315));
        label->setBuddy(text);
        return text;
    };
    txtArtist =
        field("txtArtist", QStringLiteral("&Artist:"), TwipsRect(120, 120, 615, 255), 120, lbl[0]);
    txtSong =
        field("txtSong", QStringLiteral("&Song:"), TwipsRect(240, 600, 495, 255), 600, lbl[1]);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(4920, 120, 1215, 315));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(4920, 600, 1215, 315));
    cmdCancel->setAutoDefault(false);
    setTabOrder(txtArtist, txtSong);
    setTabOrder(txtSong, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmBio::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBio::cmdCancel_Click);
}

QString frmBio::GetTitle() const {
    return SongTitle(txtArtist->text(), txtSong->text());
}

QString frmBio::GetMP3Name() const {
    return ProposedFileName(txtArtist->text(), txtSong->text());
}

bool frmBio::SetValue(const QString& title) {
    const TitleFields fields = SplitSongTitle(title);
    txtSong->setText(fields.Song);
    txtArtist->setText(fields.Artist);
    return true;
}

bool frmBio::AcceptBlank(QLineEdit* field, const QString& question, const QString& substitute) {
    if (!IsBlankField(field->text())) {
        return true;
    }
    if (platform::MsgBox(this, question, platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         QStringLiteral("@ Wizard")) != platform::MsgResult::Yes) {
        return false;
    }
    field->setText(substitute);
    return true;
}

void frmBio::cmdOK_Click() {
    if (!AcceptBlank(txtArtist,
                     QStringLiteral("Artist's name was left blank. Would you like to use [Anon.] "
                                    "as substitute?"),
                     AnonymousArtist) ||
        !AcceptBlank(txtSong,
                     QStringLiteral("Song's name was left blank. Would you like to use "
                                    "[Untitled] as substitute?"),
                     UntitledSong)) {
        return;  // the dialog stays open
    }
    returnState = true;
    accept();
}

void frmBio::cmdCancel_Click() {
    reject();
}

}  // namespace encoder
