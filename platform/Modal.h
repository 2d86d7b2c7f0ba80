#pragma once
#include <functional>

class QDialog;
class QWidget;

namespace platform {

// Shows dialog modally with owner as its parent window and returns when it is hidden.
// The caller reads the dialog's own state afterwards (ReturnState and the getters).
void ShowModal(QDialog* dialog, QWidget* owner);

// Test seam: while a hook is set, ShowModal hands the dialog to it instead of running a
// modal loop; the hook fills and confirms or cancels it. The dialog is hidden afterwards
// whatever the hook did, so a test never leaves a dialog open.
using ModalHook = std::function<void(QDialog*)>;
void SetModalHook(ModalHook hook);

}  // namespace platform
