#pragma once
// Scripted answers for message boxes, common dialogs and modal dialogs, each object hooked in
// for its lifetime. One asked with no answer queued counts as Unexpected() and is backed out
// of (Cancel, else No, else OK; a dialog cancelled), so a test fails instead of hanging.
#include <QDialog>
#include <QList>
#include <QStringList>
#include <QtDebug>
#include <deque>
#include <functional>

#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"

namespace testsupport {

template <class Call, class Reply>
class Script {
  public:
    const QList<Call>& Asked() const { return asked; }
    int Unexpected() const { return unexpected; }

  protected:
    Reply Take(const Call& call, Reply harmless, const QString& what) {
        asked.append(call);
        if (replies.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected" << what;
            return harmless;
        }
        Reply reply = std::move(replies.front());
        replies.pop_front();
        return reply;
    }
    std::deque<Reply> replies;

  private:
    QList<Call> asked;
    int unexpected = 0;
};

class ScriptedBoxes : public Script<platform::MsgBoxCall, platform::MsgResult> {
  public:
    ScriptedBoxes() {
        platform::SetMsgBoxHook([this](const platform::MsgBoxCall& call) {
            using platform::MsgButtons, platform::MsgResult;
            const MsgResult harmless = call.Buttons == MsgButtons::YesNo ? MsgResult::No
                                       : call.Buttons == MsgButtons::OK  ? MsgResult::OK
                                                                         : MsgResult::Cancel;
            return Take(call, harmless, "message box \"" + call.Title + "\": " + call.Text);
        });
    }
    ~ScriptedBoxes() { platform::SetMsgBoxHook(nullptr); }
    void Answer(platform::MsgResult answer) { replies.push_back(answer); }  // to the next box
    QStringList Texts() const {  // "title: text" of every box asked
        QStringList texts;
        for (const platform::MsgBoxCall& call : Asked()) {
            texts << call.Title + ": " + call.Text;
        }
        return texts;
    }
};

class ScriptedDialogs : public Script<platform::DialogRequest, platform::DialogAnswer> {
  public:
    ScriptedDialogs() {
        platform::SetDialogHook([this](const platform::DialogRequest& request) {
            return Take(request, {}, "dialog \"" + request.Title + "\" for " + request.FileName);
        });
    }
    ~ScriptedDialogs() { platform::SetDialogHook(nullptr); }
    void ChooseFile(const QString& path) { replies.push_back({true, path, 0}); }
    void ChooseColor(std::uint32_t colorBgr) { replies.push_back({true, QString(), colorBgr}); }
    void Cancel() { replies.push_back({}); }
};

class ScriptedModal : public Script<QString, std::function<void(QDialog*)>> {
  public:
    ScriptedModal() {
        platform::SetModalHook([this](QDialog* dialog) {
            const QString name = QString::fromLatin1(dialog->metaObject()->className());
            Take(
                name, [](QDialog*) {},
                "modal dialog " + name + " \"" + dialog->windowTitle() + '"')(dialog);
        });
    }
    ~ScriptedModal() { platform::SetModalHook(nullptr); }
    // What to do with the next modal dialog; doing nothing leaves it cancelled.
    void Next(std::function<void(QDialog*)> action) { replies.push_back(std::move(action)); }
    const QList<QString>& Shown() const { return Asked(); }  // class names of the dialogs shown
};

}  // namespace testsupport
