#pragma once
#include <functional>

class QDialog;
class QWidget;

namespace platform {

// Shows dialog modally with owner as its parent window and returns when it is hidden.
// The caller reads the dialog's own state afterwards (ReturnState and the getters).
void ShowModal(QDialog* dialog, QWidget* owner);

// ShowModal from a main window that may be kept on top: while onTop, toggleOnTop (the
// window's own always-on-top command) runs once before the dialog is shown and once after it
// has closed, so the dialog is never hidden behind its owner.
void ShowModalFromTop(QDialog* dialog, QWidget* owner, bool onTop,
                      const std::function<void()>& toggleOnTop);

// Keeps window above all others, or takes that away and puts it at the bottom of the
// window order.
void SetAlwaysOnTop(QWidget* window, bool onTop);

// Test seam: while a hook is set, ShowModal hands the dialog to it instead of running a
// modal loop; the hook fills and confirms or cancels it. The dialog is hidden afterwards
// whatever the hook did, so a test never leaves a dialog open.
using ModalHook = std::function<void(QDialog*)>;
void SetModalHook(ModalHook hook);

}  // namespace platform
