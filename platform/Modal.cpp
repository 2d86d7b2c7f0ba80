#include "Modal.h"

#include <QDialog>

#include "NoModal.h"

namespace platform {

namespace {

ModalHook& Hook() {
    static ModalHook hook;
    return hook;
}

}  // namespace

void SetModalHook(ModalHook hook) {
    Hook() = std::move(hook);
}

void ShowModal(QDialog* dialog, QWidget* owner) {
    if (dialog == nullptr) {
        return;
    }
    if (owner != nullptr && dialog->parentWidget() != owner) {
        // setParent() alone would turn the dialog into a child widget.
        dialog->setParent(owner, dialog->windowFlags());
    }
    if (const ModalHook hook = Hook()) {
        // As exec() does: a dialog nobody confirms counts as rejected.
        dialog->setResult(QDialog::Rejected);
        hook(dialog);
        if (dialog->isVisible()) {
            dialog->hide();
        }
        return;
    }
    if (detail::NoModal()) {
        detail::RefuseModal("modal dialog", dialog->windowTitle(),
                            QString::fromLatin1(dialog->metaObject()->className()));
    }
    dialog->exec();
}

void ShowModalFromTop(QDialog* dialog, QWidget* owner, bool onTop,
                      const std::function<void()>& toggleOnTop) {
    if (onTop) {
        toggleOnTop();
    }
    ShowModal(dialog, owner);
    if (onTop) {
        toggleOnTop();
    }
}

void SetAlwaysOnTop(QWidget* window, bool onTop) {
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        window->show();  // changing the flags hides the window
    }
    if (!onTop) {
        window->lower();
    }
}

}  // namespace platform
