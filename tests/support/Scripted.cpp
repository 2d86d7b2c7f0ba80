#include "support/Scripted.h"

namespace testsupport {

using platform::MsgButtons;
using platform::MsgResult;

ScriptedBoxes::ScriptedBoxes() {
    platform::SetMsgBoxHook([this](const platform::MsgBoxCall& call) {
        // The answer that does least harm: back out where the box allows it.
        const MsgResult harmless = call.Buttons == MsgButtons::YesNo ? MsgResult::No
                                   : call.Buttons == MsgButtons::OK  ? MsgResult::OK
                                                                     : MsgResult::Cancel;
        return Take(call, harmless,
                    QStringLiteral("message box \"%1\": %2").arg(call.Title, call.Text));
    });
}

ScriptedDialogs::ScriptedDialogs() {
    platform::SetDialogHook([this](const platform::DialogRequest& request) {
        return Take(request, {},
                    QStringLiteral("dialog \"%1\" for %2").arg(request.Title, request.FileName));
    });
}

ScriptedModal::ScriptedModal() {
    platform::SetModalHook([this](QDialog* dialog) {
        const QString name = QString::fromLatin1(dialog->metaObject()->className());
        // Doing nothing leaves it hidden and rejected, as ShowModal leaves it.
        const auto action = Take(
            name, [](QDialog*) {},
            QStringLiteral("modal dialog %1 \"%2\"").arg(name, dialog->windowTitle()));
        action(dialog);
    });
}

}  // namespace testsupport
