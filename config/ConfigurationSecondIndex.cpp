// The "Second index" page: replacement rules, the second-index builder and
// the index order checks.
#include "config/Messages.h"
#include "config/ConfigurationDialog.h"
#include "base/AtomicFile.h"
#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"
#include "library/Dictionary.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace lexifol;

void ConfigurationDialog::tell(const QString& text, bool error)
{
    ShowMessage(text, error ? MsgIcon::Error : MsgIcon::Information, QStringLiteral("Lexifol"), this);
}

void ConfigurationDialog::addAndCheckRules()
{
    acceptedRuleList->clear();
    AcceptedRules.clear();
    const RuleCheck check = CheckRules(rulesEditor->toPlainText());
    if (check.badLine >= 0) {
        tell(tr("Error (line %1)").arg(check.badLine), true);
        return;
    }
    acceptedRuleList->addItems(check.accepted);
    AcceptedRules = check.encoded;
    if (acceptedRuleList->count() > 0)
        startButton->setEnabled(true);
}

void ConfigurationDialog::clearAcceptedRules()
{
    acceptedRuleList->clear();
    AcceptedRules.clear();
}

void ConfigurationDialog::clearRuleEditor()
{
    rulesEditor->clear();
}

// Steps 1 to 3 of Start; true when both files were written.
bool ConfigurationDialog::buildSecondIndex(const QString& name)
{
    if (acceptedRuleList->count() == 0 || acceptedRuleList->count() != AcceptedRules.size()) {
        tell(tr("Empty list"), true);
        return false;
    }
    const DictionaryPaths paths{mainWindow_ ? mainWindow_->dictionaryRoot(name) : QString(), name,
                                mainWindow_ ? mainWindow_->userRoot() : QString()};
    IndexList working;
    if (QFileInfo::exists(paths.firstIndex())) {
        if (const Status read = LoadFirstIndex(paths.firstIndex(), working); !read) {
            failure_ = read.error();
            return false;
        }
    }
    if (!QFileInfo(paths.folder()).isDir() || working.isEmpty())
        return false;
    if (!QDir().mkpath(paths.derivedWriteFolder())) {
        failure_ = tr("Can not create %1").arg(QDir::toNativeSeparators(paths.derivedWriteFolder()));
        return false;
    }
    ReplacementList rules;
    rules.setLines(AcceptedRules);
    const Status written = WriteSecondIndexFiles(paths.derivedWriteFolder(), ReplacementFileBytes(AcceptedRules),
                                                 SecondIndexFileBytes(working, rules));
    if (!written) {
        failure_ = written.error();
        return false;
    }
    return true;
}

void ConfigurationDialog::startSecondIndex()
{
    const QString name = indexDictionary->currentIndex() >= 0 ? indexDictionary->currentText() : QString();
    failure_.clear();
    const bool built = indexDictionary->count() > 0 && indexDictionary->currentIndex() >= 0 && buildSecondIndex(name);
    if (built && mainWindow_)
        mainWindow_->reopenDictionary(name);
    const DictionaryPaths paths{mainWindow_ ? mainWindow_->dictionaryRoot(name) : QString(), name,
                                mainWindow_ ? mainWindow_->userRoot() : QString()};
    const bool ok = built && QFileInfo::exists(paths.secondIndex()) && QFileInfo::exists(paths.replacementList());
    if (ok)
        tell(tr("Second index was created successfully"), false);
    else
        tell(tr("Can not create second index"), true);
    if (!failure_.isEmpty())
        ShowMessage(failure_, MsgIcon::Error, QStringLiteral("Lexifol 3.1"), this);
}

void ConfigurationDialog::checkOrder(bool secondIndex)
{
    const QString name = indexDictionary->currentIndex() >= 0 ? indexDictionary->currentText() : QString();
    const QString folder = mainWindow_ ? mainWindow_->programFolder() : QString();
    const DictionaryPaths paths{mainWindow_ ? mainWindow_->dictionaryRoot(name) : QString(), name,
                                mainWindow_ ? mainWindow_->userRoot() : QString()};
    const QString file = secondIndex ? paths.secondIndex() : paths.firstIndex();
    const bool chosen = indexDictionary->count() > 0 && indexDictionary->currentIndex() >= 0;
    IndexList lines;
    Status read;
    if (chosen && QFileInfo::exists(file))
        read = ReadIndexFile(file, lines);
    if (!read || lines.count() < 2) {
        if (secondIndex && !QFileInfo::exists(file))
            tell(tr("There is no second index for this dictionary."), false);
        if (!read)
            ShowMessage(read.error(), MsgIcon::Error, QStringLiteral("Lexifol 3.1"), this);
        return;
    }
    const QString title = secondIndex ? name + QStringLiteral("\\secondindex.list") : name;
    QStringList log{CheckLogHeader(title, QDateTime::currentDateTime())};
    // The order the dictionary declares, as its lookups use it.
    const IndexCollation* declared = QFileInfo::exists(paths.descriptor())
        ? ResolveCollation(ReadDescriptor(paths.descriptor()).collation, paths.descriptor()).collation
        : nullptr;
    for (int k : FindOrderErrors(lines, secondIndex, declared ? *declared : IndexCollation::Default()))
        log << OrderErrorLine(k);
    const bool clean = log.size() == 1;
    if (clean)
        log << tr("No errors was found.");
    QByteArray bytes;
    for (const QString& l : log)
        bytes += Ansi().encode(l) + "\r\n";
    const QString logPath = folder + QStringLiteral("IndexErrors.log");
    const Status written = WriteFileAtomically(logPath, bytes);
    if (clean)
        tell(secondIndex ? tr("Sorting of second index is correct!") : tr("Sorting of first index is correct!"), false);
    else
        tell(title + (secondIndex ? QString() : QStringLiteral(".list")) + tr(" contains errors.")
                 + QStringLiteral("\r\n") + tr("Check ") + QDir::toNativeSeparators(logPath),
             true);
    if (!written)
        ShowMessage(tr("Can not save %1: %2").arg(QDir::toNativeSeparators(logPath), written.error()), MsgIcon::Error,
                    QStringLiteral("Lexifol 3.1"), this);
}
