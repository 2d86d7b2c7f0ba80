#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QMessageBox;
class QWidget;

namespace platform {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Exclamation, Question, Critical };
enum class MsgResult { OK, Cancel, Yes, No };

// A modal message box owned by owner (or the active window). Closing it by its title bar
// answers Cancel where there is a Cancel button, else the only or last button. Enter answers
// defaultButton when given, else the first button.
MsgResult MsgBox(QWidget* owner, const QString& text, MsgButtons buttons, MsgIcon icon,
                 const QString& title, std::optional<MsgResult> defaultButton = std::nullopt);

struct MsgBoxCall {
    QString Title;
    QString Text;
    MsgButtons Buttons;
    MsgIcon Icon;
    std::optional<MsgResult> Default;
};

// Test seam: while a hook is set, every box goes to it instead of the screen.
using MsgBoxHook = std::function<MsgResult(const MsgBoxCall&)>;
void SetMsgBoxHook(MsgBoxHook hook);  // an empty hook removes it

// The box MsgBox shows, built but not shown, and the answer read from it once it has closed.
std::unique_ptr<QMessageBox> BuildMsgBox(QWidget* owner, const QString& text, MsgButtons buttons,
                                         MsgIcon icon, const QString& title,
                                         std::optional<MsgResult> defaultButton = std::nullopt);
MsgResult MsgBoxAnswer(const QMessageBox& box);

}  // namespace platform
