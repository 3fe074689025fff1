#include "config/ConfigurationDialog.h"
#include "config/Glyphs.h"
#include "config/Messages.h"
#include "library/Profile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace lexifol;

ConfigurationDialog::ConfigurationDialog(const QStringList& catalogue, ProfileFile* settings, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
{
    setWindowTitle(tr("Configuration"));
    setModal(false);
    resize(420, 360);

    tabs = new QTabWidget(this);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(tabs);
    buildShortcutsPage();
    buildSecondIndexPage();
    buildKeyboardPage(catalogue);

    if (!catalogue.isEmpty()) {
        dictionaryList->addItems(catalogue);
        shortcutKey->setCurrentIndex(0);
        shortcutDictionary->setText(settings_ ? settings_->readString(QStringLiteral("Shortcuts"), QStringLiteral("0"))
                                              : QString());
        indexDictionary->addItems(catalogue);
        indexDictionary->setCurrentIndex(0);
    }
    const bool advanced = settings_ && settings_->readBool(QStringLiteral("main"), QStringLiteral("advanced"), false);
    const QList<QWidget*> advancedControls{
        previewCheck,      rulesEditor,      acceptedRuleList,       indexDictionary, clearRulesButton,
        clearEditorButton, checkOrderButton, checkSecondOrderButton, addCheckButton,  startButton};
    for (QWidget* w : advancedControls)
        w->setVisible(advanced);

    connect(shortcutKey, &QComboBox::activated, this, [this] { shortcutKeyChanged(); });
    connect(dictionaryList, &QListWidget::itemDoubleClicked, this, [this] { pickDictionary(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { saveShortcut(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { CloseClick(); });
    connect(closeIndexButton, &QPushButton::clicked, this, [this] { CloseClick(); });
    connect(addCheckButton, &QPushButton::clicked, this, [this] { addAndCheckRules(); });
    connect(startButton, &QPushButton::clicked, this, [this] { startSecondIndex(); });
    connect(clearRulesButton, &QToolButton::clicked, this, [this] { clearAcceptedRules(); });
    connect(clearEditorButton, &QToolButton::clicked, this, [this] { clearRuleEditor(); });
    connect(checkOrderButton, &QToolButton::clicked, this, [this] { checkFirstIndexOrder(); });
    connect(checkSecondOrderButton, &QToolButton::clicked, this, [this] { checkSecondIndexOrder(); });
    connect(previewCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (mainWindow_)
            mainWindow_->setPreviewVisible(on);
    });
}

void ConfigurationDialog::buildShortcutsPage()
{
    shortcutsTab = new QWidget;
    tabs->addTab(shortcutsTab, tr("Shortcuts"));
    shortcutKey = new QComboBox(shortcutsTab);
    for (int i = 0; i < 10; ++i)
        shortcutKey->addItem(QStringLiteral("Ctrl+%1").arg(i));
    shortcutKey->setEditable(false);
    shortcutKey->setAccessibleName(tr("Shortcut key"));
    shortcutDictionary = new QLineEdit(shortcutsTab);
    shortcutDictionary->setAccessibleName(tr("Dictionary name"));
    dictionaryList = new QListWidget(shortcutsTab);
    dictionaryList->setAccessibleName(tr("Dictionaries"));
    saveButton = new QPushButton(tr("Save"), shortcutsTab);
    closeButton = new QPushButton(tr("Close"), shortcutsTab);
    {
        auto* g = new QGridLayout(shortcutsTab);
        g->addWidget(new QLabel(tr("Key:")), 0, 0);
        g->addWidget(shortcutKey, 0, 1);
        g->addWidget(new QLabel(tr("Dictionary:")), 1, 0);
        g->addWidget(shortcutDictionary, 1, 1);
        g->addWidget(dictionaryList, 2, 0, 1, 2);
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(saveButton);
        row->addWidget(closeButton);
        g->addLayout(row, 3, 0, 1, 2);
    }
}

void ConfigurationDialog::buildSecondIndexPage()
{
    secondIndexTab = new QWidget;
    tabs->addTab(secondIndexTab, tr("Second index"));
    indexDictionary = new QComboBox(secondIndexTab);
    indexDictionary->setEditable(false);
    indexDictionary->setAccessibleName(tr("Dictionary"));
    rulesEditor = new QPlainTextEdit(secondIndexTab);
    rulesEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    rulesEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rulesEditor->setAccessibleName(tr("Replacement rules"));
    acceptedRuleList = new QListWidget(secondIndexTab);
    acceptedRuleList->setAccessibleName(tr("Accepted rules"));
    addCheckButton = new QPushButton(tr("Add&&Check"), secondIndexTab);
    startButton = new QPushButton(tr("Start"), secondIndexTab);
    startButton->setEnabled(false);
    clearRulesButton = glyphs::button(secondIndexTab, glyphs::Glyph::Cross, tr("Clear accepted rules"), 20);
    clearEditorButton = glyphs::button(secondIndexTab, glyphs::Glyph::Cross, tr("Clear rules"), 20);
    checkOrderButton = glyphs::button(secondIndexTab, glyphs::Glyph::Abc1, tr("Check first index"), 20);
    checkSecondOrderButton = glyphs::button(secondIndexTab, glyphs::Glyph::Abc2, tr("Check second index"), 20);
    previewCheck = new QCheckBox(secondIndexTab);
    previewCheck->setAccessibleName(tr("Show normalisation preview"));
    previewCheck->setToolTip(tr("Show normalisation preview"));
    closeIndexButton = new QPushButton(tr("Close"), secondIndexTab);
    {
        auto* g = new QGridLayout(secondIndexTab);
        g->addWidget(indexDictionary, 0, 0, 1, 3);
        g->addWidget(rulesEditor, 1, 0);
        auto* mid = new QVBoxLayout;
        mid->addWidget(clearEditorButton);
        mid->addWidget(addCheckButton);
        mid->addStretch();
        mid->addWidget(checkOrderButton);
        mid->addWidget(checkSecondOrderButton);
        g->addLayout(mid, 1, 1);
        g->addWidget(acceptedRuleList, 1, 2);
        auto* row = new QHBoxLayout;
        row->addWidget(previewCheck);
        row->addWidget(clearRulesButton);
        row->addStretch();
        row->addWidget(startButton);
        row->addWidget(closeIndexButton);
        g->addLayout(row, 2, 0, 1, 3);
    }
}

void ConfigurationDialog::shortcutKeyChanged()
{
    const int i = shortcutKey->currentIndex();
    if (i < 0 || i > 9 || !settings_)
        return;
    shortcutDictionary->setText(settings_->readString(QStringLiteral("Shortcuts"), QString::number(i)));
}

void ConfigurationDialog::pickDictionary()
{
    if (dictionaryList->count() > 0 && dictionaryList->currentItem() && dictionaryList->currentItem()->isSelected())
        shortcutDictionary->setText(dictionaryList->currentItem()->text());
}

void ConfigurationDialog::saveShortcut()
{
    const int i = shortcutKey->currentIndex();
    if (i < 0 || i > 9 || !settings_)
        return;
    const QString text = saveReport_.message(
        settings_->path(),
        settings_->writeString(QStringLiteral("Shortcuts"), QString::number(i), shortcutDictionary->text()));
    if (!text.isEmpty())
        lexifol::ShowMessage(text, lexifol::MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

void ConfigurationDialog::CloseClick()
{
    hide();
}
