#pragma once
#include <QString>

namespace platform::detail {

// Tests set CANTORIX_NO_MODAL: a box or dialog that no hook answers would wait for a click
// that never comes, so the program stops instead, naming what was asked.
bool NoModal();
[[noreturn]] void RefuseModal(const char* what, const QString& title, const QString& text);

}  // namespace platform::detail
