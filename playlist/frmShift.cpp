#include "playlist/frmShift.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Twips.h"
#include "platform/UpDown.h"
#include "playlist/EntryNumber.h"

namespace playlist {

namespace {

constexpr int AmountMin = -1000;
constexpr int AmountMax = 1000;

// A number typed outside its range starts again from 1.
void TakeTyped(QLineEdit* box, platform::UpDown* spinner, int min, int max) {
    spinner->TakeTyped(TypedWholeNumber(box->text(), min, max), [] { return 1; });
}

}  // namespace

frmShift::frmShift(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    using platform::TwipsRect;
    setObjectName(QStringLiteral("frmShift"));
    setWindowTitle(QStringLiteral("Shift"));
    setFixedSize(platform::Px(4200), platform::Px(3300));

    const std::array<QString, 3> captions{
        QStringLiteral("Shift function enables you to rearrange your lyrics playlist without "
                       "editing each one of the affected file."),
        QStringLiteral("Shift files at and from track number:"),
        QStringLiteral("Shift files by amount:")};
    const std::array<QRect, 3> places{TwipsRect(120, 120, 3960, 750),
                                      TwipsRect(120, 990, 3960, 255),
                                      TwipsRect(120, 1740, 3960, 255)};
    for (size_t i = 0; i < lbl.size(); ++i) {
        lbl[i] = new QLabel(captions[i], this);
        lbl[i]->setObjectName(QStringLiteral("lbl%1").arg(i));
        lbl[i]->setGeometry(places[i]);
        lbl[i]->setWordWrap(true);
    }
    auto numberBox = [this](const char* name, QLineEdit*& box, platform::UpDown*& spinner,
                            int top, int min, int max) {
        box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(TwipsRect(120, top, 900, 330));
        spinner = new platform::UpDown(box, min, max, 1, this);
        spinner->setGeometry(TwipsRect(1020, top, 255, 330));
    };
    numberBox("txtLoc", txtLoc, udOne, 1260, EntryNumberMin, EntryNumberMax);
    udOne->setObjectName(QStringLiteral("udOne"));
    numberBox("txtAmt", txtAmt, udTwo, 2010, AmountMin, AmountMax);
    udTwo->setObjectName(QStringLiteral("udTwo"));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(1560, 2730, 1200, 375));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(2880, 2730, 1200, 375));
    cmdCancel->setAutoDefault(false);

    connect(udOne, &platform::UpDown::TextEdited, this, &frmShift::txtLoc_Change);
    connect(udTwo, &platform::UpDown::TextEdited, this, &frmShift::txtAmt_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmShift::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmShift::cmdCancel_Click);
}

int frmShift::GetLocation() const {
    return udOne->Value();
}

int frmShift::GetShift() const {
    return udTwo->Value();
}

void frmShift::txtLoc_Change() {
    TakeTyped(txtLoc, udOne, EntryNumberMin, EntryNumberMax);
}

void frmShift::txtAmt_Change() {
    TakeTyped(txtAmt, udTwo, AmountMin, AmountMax);
}

void frmShift::cmdOK_Click() {
    returnState = true;
    accept();
}

void frmShift::cmdCancel_Click() {
    returnState = false;
    reject();
}

}  // namespace playlist
