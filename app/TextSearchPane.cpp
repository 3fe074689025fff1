#include "app/TextSearchPane.h"

#include "app/StatusLine.h"
#include "app/MainControls.h"
#include "app/MainWidgets.h"
#include "config/Glyphs.h"
#include "library/TextSearch.h"
#include "pageview/PageView.h"
#include "search/TextQuery.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtConcurrent>
#include <algorithm>
#include <utility>

namespace lexifol {

namespace {
constexpr int kResults = 100;
// Results whose lines are read first: a screenful.
constexpr int kFirstLines = 20;
} // namespace

TextSearchPane::TextSearchPane(const WindowParts& w)
    : QWidget(nullptr)
    , w_(w)
{
    setAccessibleName(tr("Text search"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    field_ = new QLineEdit(this);
    field_->setAccessibleName(tr("Text search"));
    field_->setPlaceholderText(tr("words, \"a phrase\", prefix*"));
    // The style's own clear button looks its icon up in the icon theme, a
    // cost every start-up would pay for a tab seldom opened first.
    QAction* clear = field_->addAction(glyphs::icon(glyphs::Glyph::Cross, 16), QLineEdit::TrailingPosition);
    clear->setToolTip(tr("Clear"));
    clear->setVisible(false);
    connect(clear, &QAction::triggered, field_, &QLineEdit::clear);
    connect(field_, &QLineEdit::textChanged, clear,
            [clear](const QString& text) { clear->setVisible(!text.isEmpty()); });
    everywhere_ = new QCheckBox(tr("All checked dictionaries"), this);
    list_ = new QListWidget(this);
    list_->setAccessibleName(tr("Found pages"));
    list_->setWordWrap(true);
    list_->setUniformItemSizes(false);
    progress_ = new QProgressBar(this);
    progress_->setAccessibleName(tr("Making the pages searchable"));
    cancel_ = new QPushButton(tr("Cancel"), this);
    auto* building = new QHBoxLayout;
    building->addWidget(progress_, 1);
    building->addWidget(cancel_);
    column->addWidget(field_);
    column->addWidget(everywhere_);
    column->addLayout(building);
    column->addWidget(list_, 1);
    progress_->hide();
    cancel_->hide();
    builder_.setMaxThreadCount(1);
    connectControls();
}

void TextSearchPane::connectControls()
{
    typing_ = new QTimer(this);
    typing_->setSingleShot(true);
    typing_->setInterval(250);
    refresh_ = new QTimer(this);
    refresh_->setInterval(800); // while pages are made searchable, results grow
    connect(field_, &QLineEdit::textChanged, typing_, qOverload<>(&QTimer::start));
    connect(field_, &QLineEdit::returnPressed, this, [this] {
        if (list_->count() > 0 && !typing_->isActive())
            showResult(qMax(list_->currentRow(), 0));
        else
            search();
    });
    connect(typing_, &QTimer::timeout, this, &TextSearchPane::search);
    connect(refresh_, &QTimer::timeout, this, &TextSearchPane::search);
    connect(everywhere_, &QCheckBox::toggled, this, &TextSearchPane::search);
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { showResult(list_->row(item)); });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        queue_.clear();
        cancelBuild_ = true;
    });
    connect(&searching_, &QFutureWatcherBase::finished, this, &TextSearchPane::searchDone);
    connect(&filling_, &QFutureWatcherBase::finished, this, &TextSearchPane::fillDone);

    auto* go = new QAction(tr("Text search"), &w_.window);
    go->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    go->setShortcutContext(Qt::WindowShortcut);
    connect(go, &QAction::triggered, this, [this] {
        w_.ui.listTabs->setCurrentWidget(this);
        field_->setFocus(Qt::ShortcutFocusReason);
        field_->selectAll();
    });
    w_.window.addAction(go);
}

TextSearchPane::~TextSearchPane()
{
    queue_.clear();
    cancelBuild_ = true;
    builder_.waitForDone();
    *cancelSearch_ = true;
    searching_.waitForFinished();
    filling_.waitForFinished();
}

bool TextSearchPane::active() const
{
    return w_.ui.listTabs->currentWidget() == this;
}

QList<search::TextSource> TextSearchPane::sources() const
{
    QList<search::TextSource> out;
    const QString user = w_.state.places.userRoot();
    if (!everywhere_->isChecked()) {
        if (!w_.state.dictionary.name.isEmpty())
            out << TextSourceFor(DictionaryPaths{w_.state.programFolder, w_.state.dictionary.name, user});
        return out;
    }
    for (int row = 0; row < w_.state.catalogue.count(); ++row)
        if (w_.state.catalogue.checked(row))
            out << TextSourceFor(DictionaryPaths{w_.state.catalogue.root(row), w_.state.catalogue.name(row), user});
    return out;
}

void TextSearchPane::search()
{
    typing_->stop();
    const QString typed = field_->text();
    const search::TextQuery parsed = search::ParseQuery(typed, {});
    if (parsed.match.isEmpty()) {
        list_->clear();
        found_.clear();
        refresh_->stop();
        return;
    }
    if (parsed.cut)
        w_.ui.status->say(tr("Only the first %1 words (%2 characters) are searched")
                              .arg(search::kMostQueryWords)
                              .arg(search::kMostQueryChars));
    if (searching_.isRunning()) {
        again_ = true;
        *cancelSearch_ = true;
        return;
    }
    searched_ = sources();
    const QList<search::TextSource> in = searched_;
    if (in.isEmpty()) {
        list_->clear();
        found_.clear();
        w_.ui.status->say(everywhere_->isChecked() ? tr("No dictionary is checked") : tr("No dictionary is open"));
        return;
    }
    const QString cache = w_.state.places.cacheFolder();
    *cancelSearch_ = true; // the lines still being read for the last one
    cancelSearch_ = std::make_shared<std::atomic<bool>>(false);
    searching_.setFuture(QtConcurrent::run([in, cache, typed, cancel = cancelSearch_] {
        QList<search::PageResult> all;
        QStringList unbuilt;
        QHash<QString, QByteArray> keyOf;
        for (const search::TextSource& s : in) {
            if (in.size() > 1)
                keyOf.insert(s.name, search::ContentKey(s));
            int done = 0, total = 0;
            if (*cancel)
                break;
            const auto found = search::SearchPages(s, cache, typed, kResults, &done, &total, cancel.get(), 0);
            if (*cancel)
                break; // nothing to tell: a newer search follows
            if (found)
                all += found.value();
            if (!found || done < total)
                unbuilt << s.name;
        }
        std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.rank < b.rank; });
        search::KeepEachPageOnce(all, keyOf);
        if (all.size() > kResults)
            all.resize(kResults);
        return std::make_pair(all, unbuilt);
    }));
}

void TextSearchPane::searchDone()
{
    const auto [results, unbuilt] = searching_.result();
    found_ = results;
    unbuilt_ = unbuilt;
    const int keep = list_->currentRow();
    list_->clear();
    for (const search::PageResult& r : found_)
        list_->addItem(itemText(r));
    if (keep >= 0 && keep < list_->count())
        list_->setCurrentRow(keep);
    ++generation_;
    startFilling(0);
    // What is not searchable yet is made so, one dictionary after another.
    for (const search::TextSource& s : searched_)
        if (unbuilt_.contains(s.name) && s.name != buildingName_ && !failedBuilds_.contains(s.name)
            && std::none_of(queue_.begin(), queue_.end(), [&](const auto& q) { return q.name == s.name; }))
            queue_.push_back(s);
    buildNext();
    if (!building_)
        refresh_->stop();
    if (found_.isEmpty() && unbuilt_.isEmpty() && !again_)
        w_.ui.status->say(tr("Not found in the pages"));
    if (again_) {
        again_ = false;
        search();
    }
    emit searched();
}

QString TextSearchPane::itemText(const search::PageResult& r) const
{
    QString text = (everywhere_->isChecked() ? r.title + QStringLiteral(", ") : QString())
        + tr("p. %1: ").arg(r.pageReference) + (r.lineText.isEmpty() ? QStringLiteral("\u2026") : r.lineText);
    if (r.lines > 1)
        text += QStringLiteral("  (+%1)").arg(r.lines - 1);
    return text;
}

// The results' lines, read behind the list: the first screen's, then the
// rest; one reading at a time, the last list's waiting for the one before.
void TextSearchPane::startFilling(int from)
{
    if (from >= found_.size() || *cancelSearch_)
        return;
    if (filling_.isRunning()) {
        fillWaiting_ = true;
        return;
    }
    const int to = from == 0 ? kFirstLines : int(found_.size());
    filling_.setFuture(QtConcurrent::run([in = searched_, all = found_, from, to, generation = generation_,
                                          cancel = cancelSearch_, docs = documents_]() mutable {
        search::FillLines(in, all, from, to, docs.get(), cancel.get());
        return Filled{generation, from, to, all};
    }));
}

// Shown unless a newer search has replaced the list meanwhile.
void TextSearchPane::fillDone()
{
    const Filled f = filling_.result();
    const bool current = f.generation == generation_ && !*cancelSearch_ && f.results.size() == found_.size();
    if (current) {
        for (int i = f.from; i < f.to && i < found_.size(); ++i) {
            found_[i] = f.results[i];
            if (QListWidgetItem* item = list_->item(i))
                item->setText(itemText(found_[i]));
        }
        emit linesFilled(f.to);
    }
    if (std::exchange(fillWaiting_, false))
        startFilling(0);
    else if (current)
        startFilling(f.to);
}

void TextSearchPane::buildNext()
{
    if (building_ || queue_.empty())
        return;
    const search::TextSource s = queue_.front();
    queue_.pop_front();
    building_ = true;
    buildingName_ = s.name;
    cancelBuild_ = false;
    progress_->setRange(0, 0);
    // The pane is narrow: the count in the bar, the dictionary in its tooltip.
    progress_->setFormat(QStringLiteral("%v / %m"));
    progress_->setToolTip(tr("Making the pages of %1 searchable").arg(s.title));
    progress_->show();
    cancel_->show();
    refresh_->start();
    const QString cache = w_.state.places.cacheFolder();
    QPointer<TextSearchPane> self(this);
    // The text search's own pool of one: a second build waits for the first.
    build_ = QtConcurrent::run(&builder_, [this, self, s, cache] {
        search::BuildProgress p;
        p.cancel = &cancelBuild_;
        p.background = true;
        p.step = [self](int done, int total) {
            QMetaObject::invokeMethod(
                self.data(),
                [self, done, total] {
                    if (self) {
                        self->progress_->setRange(0, total);
                        self->progress_->setValue(done);
                    }
                },
                Qt::QueuedConnection);
        };
        bool complete = false;
        const Status built = search::BuildTextIndex(s, cache, p, &complete);
        const QString why = built ? QString() : built.error();
        const QString name = s.name;
        QMetaObject::invokeMethod(
            self.data(),
            [self, why, name] {
                if (!self)
                    return;
                // Told once; not tried again until the program starts again, so
                // that a file that cannot be made does not keep a core busy.
                if (!why.isEmpty()) {
                    self->failedBuilds_.insert(name);
                    self->w_.ui.status->say(tr("The pages of %1 cannot be searched: %2").arg(name, why));
                }
                self->buildDone();
            },
            Qt::QueuedConnection);
    });
}

void TextSearchPane::buildDone()
{
    building_ = false;
    buildingName_.clear();
    progress_->hide();
    cancel_->hide();
    if (cancelBuild_) {
        refresh_->stop();
        return;
    }
    buildNext();
    search();
}

void TextSearchPane::showResult(int row)
{
    if (row < 0 || row >= found_.size())
        return;
    const search::PageResult r = found_[row];
    list_->setCurrentRow(row);
    if (r.dictionary.compare(w_.state.dictionary.name, Qt::CaseInsensitive) != 0) {
        const int at = w_.state.catalogue.find(r.dictionary);
        if (at < 0)
            return;
        w_.act.selectCatalogueRow(at);
        w_.state.skipSearchReplay = true;
        w_.act.openDictionary();
    }
    // Every word searched is marked where the line marks it; F3 goes on from it.
    shownRow_ = row;
    w_.act.showPage(PageShow{r.pageReference, false, {}, 0, r.words});
    w_.ui.status->say(tr("%1, page %2").arg(r.title, r.pageReference));
}

bool TextSearchPane::nextHit()
{
    if (shownRow_ < 0)
        return false;
    const auto [current, count] = w_.ui.pageView->findPosition();
    if (count > 0 && current + 1 < count) {
        w_.ui.pageView->findNext();
        return true;
    }
    if (shownRow_ + 1 < found_.size())
        showResult(shownRow_ + 1);
    return true;
}

} // namespace lexifol
