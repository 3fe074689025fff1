#pragma once
// Every message box of the program goes through here, so that the GUI can
// show it and tests can record it. Only the windows show messages; the
// layers below return error texts. The application installs the handler
// that really shows a box.
#include <QString>
#include <functional>

class QWidget;

namespace lexifol {

enum class MsgIcon { Error, Information };

struct Message {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::Error;
    QWidget* owner = nullptr;
};

using MessageHandler = std::function<void(const Message&)>;

// Shows a modal message (OK button). Caption defaults to "Lexifol".
void ShowMessage(const QString& text, MsgIcon icon = MsgIcon::Error, const QString& caption = QStringLiteral("Lexifol"),
                 QWidget* owner = nullptr);

// Replaces the handler; returns the previous one. Without a handler messages
// go to stderr.
MessageHandler SetMessageHandler(MessageHandler handler);

// A question answered Yes or No. Without a handler the answer is No: nothing
// is started that nobody agreed to.
using QuestionHandler = std::function<bool(const Message&)>;
bool AskYesNo(const QString& text, QWidget* owner = nullptr);
QuestionHandler SetQuestionHandler(QuestionHandler handler);

} // namespace lexifol
