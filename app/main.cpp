#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MessageBox.h"
#include "app/OutsideRequests.h"
#include "app/Translations.h"
#include "library/Language.h"
#include "library/Profile.h"
#include "app/WindowDialogs.h"
#include "app/SingleInstance.h"
#include "app/MainWindow.h"
#include "djvu/TextHelper.h"

#include <QClipboard>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

using namespace lexifol;

namespace {

int Say(FILE* to, const QString& text, int code)
{
    std::fputs(qPrintable(text.endsWith(u'\n') ? text : text + u'\n'), to);
    return code;
}

// The word of `lexifol --selection`: the primary selection, else the clipboard.
QString SelectedWord()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    QString word = clipboard->supportsSelection() ? SelectionWord(clipboard->text(QClipboard::Selection)) : QString();
    if (word.isEmpty())
        word = SelectionWord(clipboard->text(QClipboard::Clipboard));
    return word;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], djvu::kTextHelperArgument) == 0)
        return djvu::RunTextHelper();
    ReturnLargeBlocksWhenFreed();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    CommandLine line = ParseCommandLine(args);
    switch (line.action) {
    case CommandLine::Action::Help:
        return Say(stdout, CommandLineHelp(), 0);
    case CommandLine::Action::Version:
        return Say(stdout, QStringLiteral("lexifol %1").arg(QStringLiteral(LEXIFOL_VERSION)), 0);
    case CommandLine::Action::Error:
        return Say(stderr, QStringLiteral("lexifol: ") + line.error, 2);
    default:
        break;
    }
    FontConfigurationAhead fonts;
    LexifolApplication app(argc, argv);
    djvu::SetTextHelperProgram(QCoreApplication::applicationFilePath());
    fonts.wait();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lexifol.Lexifol"));
    if (line.action == CommandLine::Action::Selection) {
        line.word = SelectedWord();
        if (line.word.isEmpty())
            return Say(stderr, QStringLiteral("lexifol: nothing is selected"), 1);
    }
    const InstanceRequest request{!line.word.isEmpty(), line.dictionary, line.word, line.files};
    const Locations places = Locations::Decide(MainWindow::DefaultProgramFolder(), XdgFolders::FromEnvironment());
    const QString instance = InstanceName(places.userRoot());
    // A running window that is busy still answers: it is waited for.
    if (const std::optional<QByteArray> reply = HandOver(instance, request, 300, 15000))
        return *reply == "ok" ? 0 : Say(stderr, QString::fromUtf8(*reply), 2);

    InstallMessageBoxes();
    const QString language = ReadViewSettings(ProfileFile(places.settingsFile())).language;
    InstallTranslations(TranslationCandidates(language, [](const char* name) { return qEnvironmentVariable(name); }));
    MainWindow window;
    auto* outside = new OutsideRequests(window);
    if (request.lookUp && !request.dictionary.isEmpty()) {
        outside->readTitlesNow();
        if (window.state().catalogue.findByNameOrTitle(request.dictionary) < 0)
            return Say(stderr, QStringLiteral("lexifol: no dictionary \"%1\" is installed").arg(request.dictionary), 2);
    }
    InstanceServer server(instance, [outside](const InstanceRequest& r, const InstanceServer::Reply& reply) {
        outside->accept(r, reply);
    });
    window.dialogs().makeWhenOpened();

    window.show();
    if (request.lookUp || !request.add.isEmpty())
        outside->apply(request);
    return app.exec();
}
