#include "app/Unit1.h"
#include "app/About.h"
#include "app/Application.h"
#include "app/ListModels.h"
#include "config/Glyphs.h"
#include "config/shcut.h"
#include "index/Bookmarks.h"
#include "index/CodePage.h"
#include "index/IndexOps.h"
#include "index/Messages.h"
#include "library/Catalogue.h"
#include "library/Dictionary.h"
#include "library/KeyboardLayout.h"
#include "library/Profile.h"
#include "pageview/WebBrowser.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace lexifol;
using lexifol::glyphs::Glyph;

namespace lexifol {

void TSearchEdit::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton)
        emit clicked();
}

void TSearchEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    emit clicked();
}

void TSearchEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    emit focused();
}

TImage::TImage(QWidget* parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TImage::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

} // namespace lexifol

namespace {

QFont unicodeFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Arial Unicode MS"), QStringLiteral("DejaVu Sans")});
    return f;
}

QToolButton* glyphButton(QWidget* parent, Glyph g, const QString& name, int size = 18)
{
    auto* b = new QToolButton(parent);
    b->setIcon(glyphs::icon(g, size));
    b->setIconSize(QSize(size, size));
    b->setToolTip(name);
    b->setAccessibleName(name);
    b->setAutoRaise(true);
    return b;
}

QString executableFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace

TForm1::TForm1(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
{
    ProgramFolder = programFolder;
    buildControls();
    buildMenu();
    startUp();
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lexifol"));
    move(121, 104);
    resize(676, 415);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QWidget(central);
    Panel1->setFixedHeight(81);
    Panel1->setAutoFillBackground(true);
    {
        QPalette pal = Panel1->palette();
        pal.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
        Panel1->setPalette(pal);
    }
    column->addWidget(Panel1);

    QFont arial;
    arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});

    ListView1 = new QListWidget(Panel1);
    ListView1->setFont(arial);
    ListView1->setGeometry(4, 3, 174, 75);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setAccessibleName(QStringLiteral("Dictionaries"));
    {
        // The selection stays visible when the list loses the focus.
        QPalette pal = ListView1->palette();
        pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
        ListView1->setPalette(pal);
    }
    connect(ListView1, &QListWidget::itemDoubleClicked, this, [this] { OpenDictionary(); });

    SpeedButton1 = glyphButton(Panel1, Glyph::MoveUp, QStringLiteral("Move up"), 16);
    SpeedButton1->setGeometry(181, 6, 24, 24);
    SpeedButton2 = glyphButton(Panel1, Glyph::MoveDown, QStringLiteral("Move down"), 16);
    SpeedButton2->setGeometry(181, 50, 24, 24);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });

    TntEdit1 = new QLineEdit(Panel1);
    TntEdit1->setReadOnly(true);
    TntEdit1->setFocusPolicy(Qt::ClickFocus);
    TntEdit1->setGeometry(212, 4, 300, 22);
    {
        QFont f = unicodeFont();
        f.setBold(true);
        TntEdit1->setFont(f);
        QPalette pal = TntEdit1->palette();
        pal.setColor(QPalette::Base, QColor(0xff, 0xff, 0xe1));
        TntEdit1->setPalette(pal);
    }
    TntEdit1->setAccessibleName(QStringLiteral("Dictionary title"));

    Image2 = new TImage(Panel1);
    Image2->setPixmap(glyphs::icon(Glyph::Preview, 16).pixmap(16, 16));
    Image2->setGeometry(212, 31, 16, 16);
    Image2->setToolTip(QStringLiteral("Normalisation preview"));
    Image2->setAccessibleName(QStringLiteral("Normalisation preview"));
    Image2->hide();
    connect(Image2, &TImage::clicked, this, [this] { Image2Click(); });
    TntLabel1 = new QLabel(Panel1);
    TntLabel1->setFont(unicodeFont());
    TntLabel1->setGeometry(232, 30, 280, 18);

    TntEdit3 = new TSearchEdit(Panel1);
    TntEdit3->setFont(unicodeFont());
    TntEdit3->setGeometry(212, 52, 300, 24);
    TntEdit3->setAccessibleName(QStringLiteral("Search"));
    connect(TntEdit3, &QLineEdit::textChanged, this, [this] { LookupSearchText(); });
    connect(TntEdit3, &QLineEdit::returnPressed, this, [this] { ShowSelectedEntry(); });
    connect(TntEdit3, &TSearchEdit::clicked, this, [this] { RefreshSearchBox(); });
    connect(TntEdit3, &TSearchEdit::focused, this, [this] { PageControl2->setCurrentWidget(TabSheet6); });

    SpeedButton3 = glyphButton(Panel1, Glyph::Back, QStringLiteral("Back"));
    SpeedButton3->setGeometry(518, 52, 26, 24);
    SpeedButton4 = glyphButton(Panel1, Glyph::Forward, QStringLiteral("Forward"));
    SpeedButton4->setGeometry(546, 52, 26, 24);
    SpeedButton5 = glyphButton(Panel1, Glyph::AddBookmark, QStringLiteral("Add bookmark"));
    SpeedButton5->setGeometry(576, 52, 26, 24);
    SpeedButton6 = glyphButton(Panel1, Glyph::Find, QStringLiteral("Find"));
    SpeedButton6->setGeometry(606, 52, 26, 24);
    SpeedButton6->hide();

    Image1 = new TImage(Panel1);
    Image1->setPixmap(glyphs::icon(Glyph::Annotation, 32).pixmap(32, 32));
    Image1->setFixedSize(32, 32);
    Image1->setToolTip(QStringLiteral("Annotation"));
    Image1->setAccessibleName(QStringLiteral("Annotation"));
    Image1->hide();
    connect(Image1, &TImage::clicked, this, [this] { Image1Click(); });
    // Keep the annotation icon at the panel's top right.
    Panel1->installEventFilter(this);

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    column->addWidget(splitter, 1);

    PageControl2 = new QTabWidget(splitter);
    PageControl2->setTabPosition(QTabWidget::East);
    PageControl2->setFont(arial);
    PageControl2->setIconSize(QSize(16, 16));
    // A click on a tab takes the focus, so that coming back to the search box
    // brings the index list back into sight.
    PageControl2->tabBar()->setFocusPolicy(Qt::StrongFocus);
    TabSheet4 = new QWidget;
    TabSheet5 = new QWidget;
    TabSheet6 = new QWidget;
    const struct { QWidget* page; Glyph g; const char* name; } tabs[] = {
        {TabSheet4, Glyph::TabBookmarks, "Bookmarks"},
        {TabSheet5, Glyph::TabHistory, "History"},
        {TabSheet6, Glyph::TabIndex, "Index"},
    };
    for (const auto& t : tabs) {
        const int i = PageControl2->addTab(t.page, glyphs::icon(t.g, 16), QString());
        PageControl2->setTabToolTip(i, QString::fromLatin1(t.name));
        PageControl2->tabBar()->setAccessibleTabName(i, QString::fromLatin1(t.name));
        t.page->setAccessibleName(QString::fromLatin1(t.name));
    }

    auto makeList = [](QWidget* page, const QString& name, const QColor& base) {
        auto* v = new QListView(page);
        v->setUniformItemSizes(true);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setFont(unicodeFont());
        v->setAccessibleName(name);
        if (base.isValid()) {
            QPalette pal = v->palette();
            pal.setColor(QPalette::Base, base);
            v->setPalette(pal);
        }
        auto* l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(v);
        return v;
    };
    TntListBox1 = makeList(TabSheet6, QStringLiteral("Index"), QColor());
    TntListBox2 = makeList(TabSheet5, QStringLiteral("History"), QColor(0xff, 0xfb, 0xf0));
    TntListBox3 = makeList(TabSheet4, QStringLiteral("Bookmarks"), QColor(0xa6, 0xca, 0xf0));
    {
        QFont f = unicodeFont();
        f.setPixelSize(11);
        TntListBox1->setFont(f);
    }
    indexModel_ = new IndexListModel(FirstIndex, this);
    historyModel_ = new EntryListModel(History, this);
    bookmarkModel_ = new EntryListModel(Bookmarks, this);
    TntListBox1->setModel(indexModel_);
    TntListBox2->setModel(historyModel_);
    TntListBox3->setModel(bookmarkModel_);
    connect(TntListBox1, &QListView::doubleClicked, this, [this] { TntListBox1DblClick(); });
    PageControl2->setCurrentWidget(TabSheet6);

    WebBrowser1 = new TWebBrowser(splitter);
    WebBrowser1->setAccessibleName(QStringLiteral("Page"));
    splitter->addWidget(PageControl2);
    splitter->addWidget(WebBrowser1);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 476});

    StatusBar1 = new QStatusBar(this);
    auto* panel = new QLabel(StatusBar1);
    panel->setFixedWidth(348);
    StatusBar1->addWidget(panel);
    setStatusBar(StatusBar1);
}

void TForm1::buildMenu()
{
    file1 = menuBar()->addAction(QStringLiteral("Configuration"));
    connect(file1, &QAction::triggered, this, [this] {
        if (form2_) {
            form2_->show();
            form2_->raise();
            form2_->activateWindow();
        }
    });
    About1 = menuBar()->addMenu(QStringLiteral("Help"));
    LexifolHelp1 = About1->addAction(QStringLiteral("Lexifol Help"));
    KeyboardLayout1 = About1->addAction(QStringLiteral("Current keyboard layout"));
    About2 = About1->addAction(QStringLiteral("About"));
    connect(LexifolHelp1, &QAction::triggered, this, [this] { LexifolHelp1Click(); });
    connect(KeyboardLayout1, &QAction::triggered, this, [this] { KeyboardLayout1Click(); });
    connect(About2, &QAction::triggered, this, [this] {
        if (aboutBox_)
            aboutBox_->show();
    });
}

QString TForm1::dictionaryFolder(const QString& name) const
{
    return DictionaryPaths{ProgramFolder, name}.folder();
}

void TForm1::startUp()
{
    SingleFileOnView = ExtraPageOnView = SkipSearchReplay = false;
    // The application-wide key handling is installed before the catalogue is
    // built, so that keys arriving during start-up already pass through it.
    if (ProgramFolder.isEmpty())
        ProgramFolder = executableFolder();
    else if (!ProgramFolder.endsWith(u'/') && !ProgramFolder.endsWith(QDir::separator()))
        ProgramFolder += u'/';
    const QIcon appIcon = glyphs::icon(Glyph::App, 32);
    setWindowIcon(appIcon);
    QApplication::setWindowIcon(appIcon);
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

    const QStringList discovered = DiscoverDictionaries(ProgramFolder + QStringLiteral("Data"));
    FirstIndex.clear();
    SecondIndex.clear();
    SavedOrder.clear();
    if (QFileInfo::exists(QStringLiteral("diclist.dat"))) {
        if (!LoadSavedOrder(QStringLiteral("diclist.dat"), SavedOrder))
            SavedOrder.clear();
    }
    for (const QString& name : MergeCatalogue(discovered, SavedOrder)) {
        auto* item = new QListWidgetItem(name, ListView1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    PluginParameters.clear();
    applyCheckMarks();

    if (ListView1->count() > 0) {
        int row = 0;
        for (int i = 0; i < ListView1->count(); ++i) {
            if (ListView1->item(i)->checkState() == Qt::Checked) {
                row = i;
                break;
            }
        }
        openDictionaryAtStartUp(row);
    }
    applyPluginParameters(CurrentDictionary);
    setIndexItemCount(FirstIndex.count());

    QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });

    Settings = std::make_unique<ProfileFile>(ProgramFolder + QStringLiteral("Lexifol.ini"));
    BrowserMouse = Settings->readBool(QStringLiteral("Scroll"), QStringLiteral("Browser_Mouse"), false);

    History.clear();
    historyModel_->setItemCount(History.size());
    Bookmarks.clear();
    EntryValueParts.clear();
    ReplacementList.clear();
    if (QFileInfo::exists(QStringLiteral("Bookmarks.dat")))
        bookmarksUnusable_ = !LoadBookmarks(QStringLiteral("Bookmarks.dat"), Bookmarks);
    bookmarkModel_->setItemCount(Bookmarks.size());
    SpeedButton3->hide();
    SpeedButton4->hide();

    const QString intro = ProgramFolder + QStringLiteral("Intro/intro.htm");
    if (QFileInfo::exists(intro)) {
        SingleFileOnView = ExtraPageOnView = true;
        WebBrowser1->Navigate(intro);
    }

    if (!CurrentDictionary.isEmpty()) {
        const DictionaryPaths paths{ProgramFolder, CurrentDictionary};
        LoadSecondIndex(paths.secondIndex(), SecondIndex, FirstIndex, true);
        LoadReplacementList(paths.replacementList(), ReplacementList);
    }
    if (indexItemCount() > 0)
        selectIndexRow(0);
    // The user starts by typing a word.
    TntEdit3->setFocus(Qt::OtherFocusReason);
}

void TForm1::openDictionaryAtStartUp(int row)
{
    QListWidgetItem* item = ListView1->item(row);
    if (!item)
        return;
    const QString name = item->text();
    const DictionaryPaths paths{ProgramFolder, name};
    const QString listPath = paths.firstIndex();
    if (!QFileInfo::exists(listPath)) {
        ShowMessage(QStringLiteral("Can not open ") + QDir::toNativeSeparators(listPath), MsgIcon::Error,
                    QStringLiteral("Lexifol"), this);
        return;
    }
    QString error;
    if (!LoadFirstIndex(listPath, FirstIndex, &error)) {
        ShowMessage(QStringLiteral("Can not open ") + QDir::toNativeSeparators(listPath), MsgIcon::Error,
                    QStringLiteral("Lexifol"), this);
        return;
    }
    CurrentDictionary = name;
    ListView1->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    ListView1->scrollToItem(item);
    applyDescriptor(name, true);
    updateAnnotationIcon(name, true);
}

void TForm1::applyDescriptor(const QString& name, bool startUp)
{
    const DictionaryPaths paths{ProgramFolder, name};
    const QString path = paths.descriptor();
    if (!QFileInfo::exists(path)) {
        TntEdit1->setText(name);
        WholeFile = QStringLiteral("yes");
        // A dictionary without a descriptor says nothing about a text layer.
        if (!startUp)
            SpeedButton6->hide();
        return;
    }
    const Descriptor d = ReadDescriptor(path);
    if (d.name) {
        DictionaryTitle = *d.name;
        TntEdit1->setText(DictionaryTitle.isEmpty() ? name : DictionaryTitle);
    }
    if (d.keyboardLayout) {
        const QByteArray id = Ansi().encode(*d.keyboardLayout);
        if (id.size() == 8)
            LoadKeyboardLayout(id);
    }
    if (d.wholeFile)
        WholeFile = WholeFileValue(d.wholeFile);
    if (d.textLayer)
        SpeedButton6->setVisible(TextLayerVisible(d.textLayer));
    if (d.readFailed) {
        ShowMessage((startUp ? QStringLiteral("Can not open file ") : QStringLiteral("Cannot open file "))
                        + QDir::toNativeSeparators(path),
                    MsgIcon::Error, QStringLiteral("Lexifol"), this);
        TntEdit1->setText(name);
        WholeFile = QStringLiteral("yes");
        if (!startUp && !d.textLayer)
            SpeedButton6->hide();
    }
}

void TForm1::applyPluginParameters(const QString& name)
{
    const DictionaryPaths paths{ProgramFolder, name};
    QString readError;
    PluginLoad load = LoadPluginParameters(paths, ListView1->count() == 0, &readError);
    if (!readError.isEmpty()) {
        ShowMessage(QStringLiteral("Can not open ") + QDir::toNativeSeparators(readError), MsgIcon::Error,
                    QStringLiteral("Lexifol"), this);
        load.parameters = BuiltInPluginParameters();
        load.message.clear();
    }
    PluginParameters = load.parameters;
    if (!load.message.isEmpty())
        ShowMessage(load.message, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

void TForm1::updateAnnotationIcon(const QString& name, bool onlyShow)
{
    const DictionaryPaths paths{ProgramFolder, name};
    const bool has = QFileInfo::exists(paths.annotationDjvu()) || QFileInfo::exists(paths.annotationHtm());
    if (has)
        Image1->show();
    else if (!onlyShow)
        Image1->hide();
}

void TForm1::OpenDictionary()
{
    if (ListView1->count() == 0)
        return;
    QListWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString name = item->text();
    const DictionaryPaths paths{ProgramFolder, name};
    const QString listPath = paths.firstIndex();
    if (!QFileInfo::exists(listPath))
        return;

    // Everything that can fail to read is read before the open dictionary is
    // touched, so that a failure leaves it open and intact.
    IndexList fresh;
    if (!LoadFirstIndex(listPath, fresh)) {
        ShowMessage(QStringLiteral("Can not open ") + QDir::toNativeSeparators(listPath), MsgIcon::Error,
                    QStringLiteral("Lexifol"), this);
        return;
    }
    QString pluginError;
    PluginLoad plugin = LoadPluginParameters(paths, false, &pluginError);
    if (!pluginError.isEmpty()) {
        ShowMessage(QStringLiteral("Can not open ") + QDir::toNativeSeparators(pluginError), MsgIcon::Error,
                    QStringLiteral("Lexifol"), this);
        return;
    }

    FirstIndex.swap(fresh);
    CurrentDictionary = name;
    applyDescriptor(name, false);
    updateAnnotationIcon(name, false);
    setIndexItemCount(FirstIndex.count());
    PluginParameters = plugin.parameters;
    if (!plugin.message.isEmpty())
        ShowMessage(plugin.message, MsgIcon::Error, QStringLiteral("Lexifol"), this);
    SecondIndex.clear();
    LoadSecondIndex(paths.secondIndex(), SecondIndex, FirstIndex, false);
    ReplacementList.clear();
    LoadReplacementList(paths.replacementList(), ReplacementList);
    if (indexItemCount() > 0)
        selectIndexRow(0);

    if (!SkipSearchReplay && !TntEdit3->text().isEmpty()) {
        const QString text = TntEdit3->text();
        TntEdit3->setText(QString());
        TntEdit3->setText(text);
        if (indexItemCount() > 0 && selectedIndexRow() >= 0)
            ShowSelectedEntry();
    }
    SkipSearchReplay = false;
}

bool TForm1::SelectDictionaryByName(const QString& name)
{
    for (int i = 0; i < ListView1->count(); ++i) {
        QListWidgetItem* item = ListView1->item(i);
        if (item->text().compare(name, Qt::CaseInsensitive) == 0) {
            ListView1->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
            ListView1->scrollToItem(item);
            return true;
        }
    }
    return false;
}

void TForm1::ActivateShortcut(int digit)
{
    if (!Settings || digit < 0 || digit > 9)
        return;
    const QString value = Settings->readString(QStringLiteral("Shortcuts"), QString::number(digit));
    if (value.isEmpty())
        return;
    if (SelectDictionaryByName(value))
        OpenDictionary();
}

int TForm1::catalogueCount() const
{
    return ListView1->count();
}

QString TForm1::catalogueName(int row) const
{
    QListWidgetItem* item = ListView1->item(row);
    return item ? item->text() : QString();
}

void TForm1::rebuildSavedOrder()
{
    QList<CatalogueEntry> entries;
    for (int i = 0; i < ListView1->count(); ++i)
        entries.append({ListView1->item(i)->text(), ListView1->item(i)->checkState() == Qt::Checked});
    SavedOrder = BuildSavedOrder(entries);
}

void TForm1::applyCheckMarks()
{
    for (int i = 0; i < ListView1->count(); ++i) {
        QListWidgetItem* item = ListView1->item(i);
        if (const auto mark = SavedCheckMark(SavedOrder, item->text()))
            item->setCheckState(*mark ? Qt::Checked : Qt::Unchecked);
    }
}

void TForm1::moveCatalogueEntry(int direction)
{
    rebuildSavedOrder();
    QListWidgetItem* item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    const int row = ListView1->row(item);
    const int target = row + direction;
    if (target < 0 || target >= ListView1->count())
        return;
    QListWidgetItem* other = ListView1->item(target);
    const QString a = item->text();
    item->setText(other->text());
    other->setText(a);
    ListView1->setCurrentItem(other, QItemSelectionModel::ClearAndSelect);
    ListView1->scrollToItem(other);
    applyCheckMarks();
}

int TForm1::indexItemCount() const
{
    return indexModel_->rowCount();
}

void TForm1::setIndexItemCount(int n)
{
    indexModel_->setItemCount(n);
}

int TForm1::selectedIndexRow() const
{
    const QItemSelectionModel* sel = TntListBox1->selectionModel();
    const QModelIndex cur = sel->currentIndex();
    if (cur.isValid() && sel->isSelected(cur))
        return cur.row();
    const QModelIndexList rows = sel->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TForm1::selectIndexRow(int position)
{
    QItemSelectionModel* sel = TntListBox1->selectionModel();
    if (position < 0 || position >= indexItemCount()) {
        // One past the last row names no entry: nothing stays selected, so
        // Enter cannot show a page that does not hold the word.
        sel->clearSelection();
        sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex idx = indexModel_->index(position);
    sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    TntListBox1->scrollTo(idx, QAbstractItemView::EnsureVisible);
}

int TForm1::searchPosition(const QString& text) const
{
    if (SecondIndex.isEmpty())
        return FindPosition(FirstIndex, text);
    const QString key = NormaliseHeadword(text, ReplacementList);
    return key.isEmpty() ? -1 : FindPosition(SecondIndex, key);
}

void TForm1::LookupSearchText()
{
    const QString text = TntEdit3->text();
    if (text.isEmpty())
        return;
    const int position = searchPosition(text);
    if (position >= 0)
        selectIndexRow(position);
}

namespace {
void reportNoPart()
{
    ShowMessage(QString::fromUtf8(ListIndexError(0).what()), MsgIcon::Error, QString::fromLatin1(kApplicationTitle));
}
} // namespace

void TForm1::showFirstPart(int row)
{
    EntryValueParts = row >= 0 ? SplitValue(FirstIndex.value(row)) : QStringList();
    if (EntryValueParts.isEmpty()) {
        reportNoPart();
        return;
    }
    ShowPage(EntryValueParts.at(0));
}

void TForm1::ShowSelectedEntry()
{
    if (indexItemCount() == 0)
        return;
    int row = selectedIndexRow();
    if (row < 0)
        return;
    EntryValueParts = SplitValue(FirstIndex.value(row));
    if (EntryValueParts.size() >= 2) {
        // The cross-reference is found like a typed word, and followed once.
        const int position = searchPosition(EntryValueParts.at(1));
        if (position < 0)
            return;
        selectIndexRow(position);
        row = selectedIndexRow();
    }
    showFirstPart(row);
}

void TForm1::TntListBox1DblClick()
{
    if (indexItemCount() == 0 || selectedIndexRow() < 0)
        return;
    showFirstPart(selectedIndexRow());
}

void TForm1::RefreshSearchBox()
{
    TntEdit3->setFocus(Qt::OtherFocusReason);
    const QString text = TntEdit3->text();
    TntEdit3->setText(QString());
    TntEdit3->setText(text);
    TntEdit3->selectAll();
}

void TForm1::Image2Click()
{
    TntLabel1->setText(NormaliseHeadword(TntEdit3->text(), ReplacementList));
}

void TForm1::ShowPage(const QString& pageReference)
{
    ExtraPageOnView = false;
    try {
        CompositionInput in;
        in.programFolder = ProgramFolder;
        in.dictionary = CurrentDictionary;
        in.wholeFile = WholeFile;
        in.pluginParameters = PluginParameters;
        in.pageReference = pageReference;
        in.annotationCase = true;
        PageViewState state{SingleFileOnView, ExtraPageOnView};
        const QString line = ComposePageLine(in, state);
        SingleFileOnView = state.singleFileOnView;
        const QString file = PageViewFilePath(ProgramFolder);
        if (!WritePageViewFile(file, line))
            return;
        WebBrowser1->Navigate(file);
        if (indexItemCount() > 0 && selectedIndexRow() >= 0)
            AddHistoryEntry();
    } catch (...) {
        // A page that cannot be shown leaves the view as it was.
    }
}

void TForm1::AddHistoryEntry()
{
    // History keeping comes with the history commands.
}

void TForm1::Image1Click()
{
    const DictionaryPaths paths{ProgramFolder, CurrentDictionary};
    if (QFileInfo::exists(paths.annotationDjvu())) {
        ShowPage(QStringLiteral("Annotation"));
    } else if (QFileInfo::exists(paths.annotationHtm())) {
        SingleFileOnView = ExtraPageOnView = true;
        WebBrowser1->Navigate(paths.annotationHtm());
    }
}

void TForm1::LexifolHelp1Click()
{
    SingleFileOnView = ExtraPageOnView = true;
    WebBrowser1->Navigate(ProgramFolder + QStringLiteral("Help/main.htm"));
}

void TForm1::KeyboardLayout1Click()
{
    const QByteArray id = ActiveKeyboardLayoutName();
    if (id.isEmpty())
        return;
    ShowMessage(QString::fromLatin1(id), MsgIcon::Information, QStringLiteral("Current keyboard layout:"), this);
}

void TForm1::Shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    setIndexItemCount(0);
    FirstIndex.clear();
    SecondIndex.clear();
    PluginParameters.clear();
    rebuildSavedOrder();
    reportSave(QStringLiteral("diclist.dat"), SaveSavedOrder(QStringLiteral("diclist.dat"), SavedOrder));
    SaveBookmarksFile();
    SavedOrder.clear();
}

void TForm1::SaveBookmarksFile()
{
    const QString path = QStringLiteral("Bookmarks.dat");
    // A bookmarks file that could not be read is kept beside the new one:
    // the user's bookmarks are never overwritten unseen.
    if (bookmarksUnusable_) {
        if (!SetUnusableFileAside(path)) {
            reportSave(path, Status::failure(QStringLiteral("the unreadable file could not be renamed")));
            return;
        }
        bookmarksUnusable_ = false;
    }
    reportSave(path, SaveBookmarks(path, Bookmarks));
}

void TForm1::reportSave(const QString& path, const Status& result)
{
    const QString text = saveReport_.message(path, result);
    if (!text.isEmpty())
        ShowMessage(text, MsgIcon::Error, QStringLiteral("Lexifol"), this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel1 && event->type() == QEvent::Resize)
        Image1->move(Panel1->width() - Image1->width() - 6, 4);
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* e)
{
    Shutdown();
    if (aboutBox_)
        aboutBox_->hide();
    if (form2_)
        form2_->hide();
    e->accept();
    QApplication::quit();
}
