#include "config/shcut.h"
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

TForm2::TForm2(const QStringList& catalogue, ProfileFile* settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("Configuration"));
    setModal(false);
    resize(420, 360);

    PageControl1 = new QTabWidget(this);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(PageControl1);
    buildShortcutsPage();
    buildSecondIndexPage();

    if (!catalogue.isEmpty()) {
        ListBox1->addItems(catalogue);
        ComboBox1->setCurrentIndex(0);
        Edit1->setText(settings_ ? settings_->readString(QStringLiteral("Shortcuts"), QStringLiteral("0")) : QString());
        ComboBox2->addItems(catalogue);
        ComboBox2->setCurrentIndex(0);
    }
    const bool advanced = settings_ && settings_->readBool(QStringLiteral("main"), QStringLiteral("advanced"), false);
    const QList<QWidget*> advancedControls{CheckBox1, TntMemo1, TntListBox1, ComboBox2, SpeedButton1,
                                           SpeedButton2, SpeedButton3, SpeedButton4, Button3, Button4};
    for (QWidget* w : advancedControls)
        w->setVisible(advanced);

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { CloseClick(); });
    connect(Button5, &QPushButton::clicked, this, [this] { CloseClick(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
        if (mainWindow_)
            mainWindow_->setPreviewVisible(on);
    });
}

void TForm2::buildShortcutsPage()
{
    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Shortcuts"));
    ComboBox1 = new QComboBox(TabSheet1);
    for (int i = 0; i < 10; ++i)
        ComboBox1->addItem(QStringLiteral("Ctrl+%1").arg(i));
    ComboBox1->setEditable(false);
    ComboBox1->setAccessibleName(QStringLiteral("Shortcut key"));
    Edit1 = new QLineEdit(TabSheet1);
    Edit1->setAccessibleName(QStringLiteral("Dictionary name"));
    ListBox1 = new QListWidget(TabSheet1);
    ListBox1->setAccessibleName(QStringLiteral("Dictionaries"));
    Button2 = new QPushButton(QStringLiteral("Save"), TabSheet1);
    Button1 = new QPushButton(QStringLiteral("Close"), TabSheet1);
    {
        auto* g = new QGridLayout(TabSheet1);
        g->addWidget(new QLabel(QStringLiteral("Key:")), 0, 0);
        g->addWidget(ComboBox1, 0, 1);
        g->addWidget(new QLabel(QStringLiteral("Dictionary:")), 1, 0);
        g->addWidget(Edit1, 1, 1);
        g->addWidget(ListBox1, 2, 0, 1, 2);
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(Button2);
        row->addWidget(Button1);
        g->addLayout(row, 3, 0, 1, 2);
    }
}

void TForm2::buildSecondIndexPage()
{
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("Second index"));
    ComboBox2 = new QComboBox(TabSheet2);
    ComboBox2->setEditable(false);
    ComboBox2->setAccessibleName(QStringLiteral("Dictionary"));
    TntMemo1 = new QPlainTextEdit(TabSheet2);
    TntMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    TntMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TntMemo1->setAccessibleName(QStringLiteral("Replacement rules"));
    TntListBox1 = new QListWidget(TabSheet2);
    TntListBox1->setAccessibleName(QStringLiteral("Accepted rules"));
    Button3 = new QPushButton(QStringLiteral("Add&&Check"), TabSheet2);
    Button4 = new QPushButton(QStringLiteral("Start"), TabSheet2);
    Button4->setEnabled(false);
    SpeedButton1 = glyphs::button(TabSheet2, glyphs::Glyph::Cross, QStringLiteral("Clear accepted rules"), 20);
    SpeedButton2 = glyphs::button(TabSheet2, glyphs::Glyph::Cross, QStringLiteral("Clear rules"), 20);
    SpeedButton3 = glyphs::button(TabSheet2, glyphs::Glyph::Abc1, QStringLiteral("Check first index"), 20);
    SpeedButton4 = glyphs::button(TabSheet2, glyphs::Glyph::Abc2, QStringLiteral("Check second index"), 20);
    CheckBox1 = new QCheckBox(TabSheet2);
    CheckBox1->setAccessibleName(QStringLiteral("Show normalisation preview"));
    CheckBox1->setToolTip(QStringLiteral("Show normalisation preview"));
    Button5 = new QPushButton(QStringLiteral("Close"), TabSheet2);
    {
        auto* g = new QGridLayout(TabSheet2);
        g->addWidget(ComboBox2, 0, 0, 1, 3);
        g->addWidget(TntMemo1, 1, 0);
        auto* mid = new QVBoxLayout;
        mid->addWidget(SpeedButton2);
        mid->addWidget(Button3);
        mid->addStretch();
        mid->addWidget(SpeedButton3);
        mid->addWidget(SpeedButton4);
        g->addLayout(mid, 1, 1);
        g->addWidget(TntListBox1, 1, 2);
        auto* row = new QHBoxLayout;
        row->addWidget(CheckBox1);
        row->addWidget(SpeedButton1);
        row->addStretch();
        row->addWidget(Button4);
        row->addWidget(Button5);
        g->addLayout(row, 2, 0, 1, 3);
    }
}

void TForm2::ComboBox1Change()
{
    const int i = ComboBox1->currentIndex();
    if (i < 0 || i > 9 || !settings_)
        return;
    Edit1->setText(settings_->readString(QStringLiteral("Shortcuts"), QString::number(i)));
}

void TForm2::ListBox1DblClick()
{
    if (ListBox1->count() > 0 && ListBox1->currentItem() && ListBox1->currentItem()->isSelected())
        Edit1->setText(ListBox1->currentItem()->text());
}

void TForm2::Button2Click()
{
    const int i = ComboBox1->currentIndex();
    if (i < 0 || i > 9 || !settings_)
        return;
    const QString text = saveReport_.message(settings_->path(),
                                             settings_->writeString(QStringLiteral("Shortcuts"), QString::number(i), Edit1->text()));
    if (!text.isEmpty())
        lexifol::ShowMessage(text, lexifol::MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

void TForm2::CloseClick()
{
    hide();
}
