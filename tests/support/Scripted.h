#pragma once
// Scripted answers for message boxes, common dialogs and modal dialogs. Each object
// installs its hook for its lifetime. A box or dialog asked with no answer queued is
// counted as unexpected and answered harmlessly (Cancel where offered, else No, else OK;
// a file dialog is cancelled; a modal dialog is closed as cancelled), so a test fails on
// Unexpected() instead of hanging.
#include <QDialog>
#include <QList>
#include <deque>
#include <functional>

#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"

namespace testsupport {

class ScriptedBoxes {
  public:
    ScriptedBoxes();
    ~ScriptedBoxes() { platform::SetMsgBoxHook(nullptr); }
    void Answer(platform::MsgResult answer) { answers.push_back(answer); }  // to the next box
    const QList<platform::MsgBoxCall>& Asked() const { return asked; }
    int Unexpected() const { return unexpected; }

  private:
    std::deque<platform::MsgResult> answers;
    QList<platform::MsgBoxCall> asked;
    int unexpected = 0;
};

class ScriptedDialogs {
  public:
    ScriptedDialogs();
    ~ScriptedDialogs() { platform::SetDialogHook(nullptr); }
    void ChooseFile(const QString& path) { answers.push_back({true, path, 0}); }
    void ChooseColor(std::uint32_t colorBgr) { answers.push_back({true, QString(), colorBgr}); }
    void Cancel() { answers.push_back({}); }
    const QList<platform::DialogRequest>& Asked() const { return asked; }
    int Unexpected() const { return unexpected; }

  private:
    std::deque<platform::DialogAnswer> answers;
    QList<platform::DialogRequest> asked;
    int unexpected = 0;
};

class ScriptedModal {
  public:
    ScriptedModal();
    ~ScriptedModal() { platform::SetModalHook(nullptr); }
    // Queue what to do with the next modal dialog: the function fills it and clicks OK or
    // Cancel (or does nothing, which leaves it cancelled).
    void Next(std::function<void(QDialog*)> action) { actions.push_back(std::move(action)); }
    const QList<QString>& Shown() const { return shown; }  // class names of the dialogs shown
    int Unexpected() const { return unexpected; }

  private:
    std::deque<std::function<void(QDialog*)>> actions;
    QList<QString> shown;
    int unexpected = 0;
};

}  // namespace testsupport
