#include "support/Scripted.h"

#include <QtDebug>

namespace testsupport {

using platform::MsgButtons;
using platform::MsgResult;

ScriptedBoxes::ScriptedBoxes() {
    platform::SetMsgBoxHook([this](const platform::MsgBoxCall& call) {
        asked.append(call);
        if (answers.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected message box \"" << call.Title << "\":" << call.Text;
            // The answer that does least harm: back out where the box allows it.
            return call.Buttons == MsgButtons::YesNo ? MsgResult::No
                   : call.Buttons == MsgButtons::OK  ? MsgResult::OK
                                                     : MsgResult::Cancel;
        }
        const MsgResult answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

ScriptedDialogs::ScriptedDialogs() {
    platform::SetDialogHook([this](const platform::DialogRequest& request) {
        asked.append(request);
        if (answers.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected dialog \"" << request.Title << "\" for"
                                 << request.FileName;
            return platform::DialogAnswer{};
        }
        const platform::DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

ScriptedModal::ScriptedModal() {
    platform::SetModalHook([this](QDialog* dialog) {
        shown.append(QString::fromLatin1(dialog->metaObject()->className()));
        if (actions.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected modal dialog" << shown.last() << "\""
                                 << dialog->windowTitle() << "\"";
            return;  // ShowModal leaves it hidden and rejected
        }
        const auto action = std::move(actions.front());
        actions.pop_front();
        action(dialog);
    });
}

}  // namespace testsupport
