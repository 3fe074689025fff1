// The Keyboard page: the layout each dictionary's headwords are typed in,
// kept in its descriptor.
#include "config/ConfigurationDialog.h"
#include "library/Dictionary.h"
#include "library/Profile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

using namespace lexifol;

void ConfigurationDialog::buildKeyboardPage(const QStringList& catalogue)
{
    keyboardTab = new QWidget;
    tabs->addTab(keyboardTab, tr("Keyboard"));
    keyboardDictionary = new QComboBox(keyboardTab);
    keyboardDictionary->setAccessibleName(tr("Dictionary"));
    keyboardDictionary->addItems(catalogue);
    keyboardLayout = new QComboBox(keyboardTab);
    keyboardLayout->setAccessibleName(tr("Keyboard layout"));
    layouts_ = SystemLayouts();
    keyboardSaveButton = new QPushButton(tr("Save"), keyboardTab);
    keyboardNote = new QLabel(keyboardTab);
    keyboardNote->setWordWrap(true);
    auto* close = new QPushButton(tr("Close"), keyboardTab);
    auto* g = new QGridLayout(keyboardTab);
    g->addWidget(new QLabel(tr("Dictionary:")), 0, 0);
    g->addWidget(keyboardDictionary, 0, 1);
    g->addWidget(new QLabel(tr("Typed in:")), 1, 0);
    g->addWidget(keyboardLayout, 1, 1);
    g->addWidget(keyboardNote, 2, 0, 1, 2);
    g->setRowStretch(3, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(keyboardSaveButton);
    row->addWidget(close);
    g->addLayout(row, 4, 0, 1, 2);
    connect(keyboardDictionary, &QComboBox::currentIndexChanged, this, [this] { showKeyboardLayout(); });
    connect(keyboardSaveButton, &QPushButton::clicked, this, [this] { saveKeyboardLayout(); });
    connect(close, &QPushButton::clicked, this, [this] { CloseClick(); });
    // Read when looked at: the descriptor may have changed since.
    connect(tabs, &QTabWidget::currentChanged, this, [this] {
        if (tabs->currentWidget() == keyboardTab)
            showKeyboardLayout();
    });
}

QString ConfigurationDialog::descriptorOf(const QString& name) const
{
    return DictionaryPaths{mainWindow_ ? mainWindow_->dictionaryRoot(name) : QString(), name,
                           mainWindow_ ? mainWindow_->userRoot() : QString()}
        .descriptor();
}

void ConfigurationDialog::showKeyboardLayout()
{
    const QString name = keyboardDictionary->currentText();
    const QString value = name.isEmpty()
        ? QString()
        : ReadDescriptor(descriptorOf(name)).keyboardLayout.value_or(QString()).trimmed();
    keyboardLayout->clear();
    keyboardLayout->addItem(tr("(the system's own)"), QString());
    // A Windows identifier, or a name this system does not list: kept as written.
    const bool listed = std::any_of(layouts_.begin(), layouts_.end(),
                                    [&](const XkbLayoutChoice& l) { return l.name == value; });
    if (!value.isEmpty() && !listed)
        keyboardLayout->addItem(value, value);
    for (const XkbLayoutChoice& l : layouts_)
        keyboardLayout->addItem(QStringLiteral("%1 \u2014 %2").arg(l.name, l.description), l.name);
    const int at = keyboardLayout->findData(value);
    keyboardLayout->setCurrentIndex(at);
    keyboardNote->clear();
}

void ConfigurationDialog::saveKeyboardLayout()
{
    const QString name = keyboardDictionary->currentText();
    if (name.isEmpty())
        return;
    const QString descriptor = descriptorOf(name);
    const Status saved = SaveKeyboardLayout(descriptor, keyboardLayout->currentData().toString(), layouts_);
    keyboardNote->setText(saved ? tr("Saved: typing in “%1” follows it from the next time it is opened.").arg(name)
                                : saveReport_.message(descriptor, saved));
}
