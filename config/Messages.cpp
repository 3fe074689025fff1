#include "config/Messages.h"
#include <cstdio>

namespace lexifol {

namespace {
MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}
} // namespace

void ShowMessage(const QString& text, MsgIcon icon, const QString& caption, QWidget* owner)
{
    Message m{text, caption, icon, owner};
    if (handler()) {
        handler()(m);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

QuestionHandler& questionHandler()
{
    static QuestionHandler h;
    return h;
}

bool AskYesNo(const QString& text, QWidget* owner)
{
    return questionHandler()
        && questionHandler()(Message{text, QStringLiteral("Lexifol"), MsgIcon::Information, owner});
}

QuestionHandler SetQuestionHandler(QuestionHandler h)
{
    QuestionHandler old = std::move(questionHandler());
    questionHandler() = std::move(h);
    return old;
}

MessageHandler SetMessageHandler(MessageHandler h)
{
    MessageHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}

} // namespace lexifol
