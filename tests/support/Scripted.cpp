#include "support/Scripted.h"

#include <QtDebug>

namespace testsupport {

namespace {

const char* ButtonsName(platform::MsgButtons buttons) {
    switch (buttons) {
        case platform::MsgButtons::OK:
            return "OK";
        case platform::MsgButtons::OKCancel:
            return "OK/Cancel";
        case platform::MsgButtons::YesNo:
            return "Yes/No";
        case platform::MsgButtons::YesNoCancel:
            return "Yes/No/Cancel";
    }
    return "?";
}

// The answer that does least harm: back out where the box allows it.
platform::MsgResult Harmless(platform::MsgButtons buttons) {
    switch (buttons) {
        case platform::MsgButtons::OKCancel:
        case platform::MsgButtons::YesNoCancel:
            return platform::MsgResult::Cancel;
        case platform::MsgButtons::YesNo:
            return platform::MsgResult::No;
        case platform::MsgButtons::OK:
            return platform::MsgResult::OK;
    }
    return platform::MsgResult::OK;
}

const char* KindName(platform::DialogKind kind) {
    switch (kind) {
        case platform::DialogKind::Open:
            return "open";
        case platform::DialogKind::Save:
            return "save";
        case platform::DialogKind::Color:
            return "colour";
    }
    return "?";
}

}  // namespace

ScriptedBoxes::ScriptedBoxes() {
    platform::SetMsgBoxHook([this](const platform::MsgBoxCall& call) {
        asked.append(call);
        if (answers.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected message box" << ButtonsName(call.buttons) << "\""
                                 << call.title << "\":" << call.text;
            return Harmless(call.buttons);
        }
        const platform::MsgResult answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

ScriptedBoxes::~ScriptedBoxes() {
    platform::SetMsgBoxHook(nullptr);
}

void ScriptedBoxes::Answer(platform::MsgResult answer) {
    answers.push_back(answer);
}

void ScriptedBoxes::Clear() {
    answers.clear();
    asked.clear();
    unexpected = 0;
}

ScriptedDialogs::ScriptedDialogs() {
    platform::SetDialogHook([this](const platform::DialogRequest& request) {
        asked.append(request);
        if (answers.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected" << KindName(request.kind) << "dialog \""
                                 << request.title << "\" for" << request.fileName;
            return platform::DialogAnswer{};
        }
        platform::DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

ScriptedDialogs::~ScriptedDialogs() {
    platform::SetDialogHook(nullptr);
}

void ScriptedDialogs::ChooseFile(const QString& path) {
    answers.push_back({true, path, 0});
}

void ScriptedDialogs::ChooseColor(std::uint32_t colorBgr) {
    answers.push_back({true, QString(), colorBgr});
}

void ScriptedDialogs::Cancel() {
    answers.push_back({false, QString(), 0});
}

void ScriptedDialogs::Clear() {
    answers.clear();
    asked.clear();
    unexpected = 0;
}

ScriptedModal::ScriptedModal() {
    platform::SetModalHook([this](QDialog* dialog) {
        shown.append(QString::fromLatin1(dialog->metaObject()->className()));
        if (actions.empty()) {
            ++unexpected;
            qWarning().noquote() << "Unexpected modal dialog" << dialog->metaObject()->className()
                                 << "\"" << dialog->windowTitle() << "\"";
            return;  // ShowModal leaves it hidden and rejected
        }
        const auto action = std::move(actions.front());
        actions.pop_front();
        action(dialog);
    });
}

ScriptedModal::~ScriptedModal() {
    platform::SetModalHook(nullptr);
}

void ScriptedModal::Next(std::function<void(QDialog*)> action) {
    actions.push_back(std::move(action));
}

void ScriptedModal::Clear() {
    actions.clear();
    shown.clear();
    unexpected = 0;
}

}  // namespace testsupport
