#include "platform/frmNumber.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace platform {

frmNumber::frmNumber(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmNumber"));
    lblText = new QLabel(this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setWordWrap(true);
    txtValue = new QSpinBox(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    txtValue->setAccelerated(true);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblText);
    layout->addWidget(txtValue);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmNumber::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNumber::cmdCancel_Click);
}

void frmNumber::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void frmNumber::SetText(const QString& text) {
    lblText->setText(text);
}

void frmNumber::SetRange(int min, int max) {
    txtValue->setRange(min, max);
}

void frmNumber::SetValue(int value) {
    txtValue->setValue(value);
    txtValue->selectAll();
}

int frmNumber::GetValue() const {
    return txtValue->value();
}

void frmNumber::cmdOK_Click() {
    // What is still being typed counts, as it would on Enter.
    txtValue->interpretText();
    returnState = true;
    hide();
}

void frmNumber::cmdCancel_Click() {
    returnState = false;
    hide();
}

}  // namespace platform
