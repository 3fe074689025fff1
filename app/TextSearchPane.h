#pragma once
// The text search tab: words, "a phrase" or a prefix* looked for inside the
// printed pages of the open dictionary or of every checked one. A
// dictionary's pages are made searchable in the background the first time
// it is searched; results come from the pages done so far, and typing in the
// headword search box goes on at full speed meanwhile.
#include "app/WindowParts.h"
#include "search/PageTextIndex.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QWidget>
#include <atomic>
#include <deque>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace lexifol {

class TextSearchPane : public QWidget
{
    Q_OBJECT
public:
    explicit TextSearchPane(const WindowParts& w);
    ~TextSearchPane() override;

    QLineEdit* field() const { return field_; }
    QListWidget* results() const { return list_; }
    const QList<search::PageResult>& found() const { return found_; }
    bool building() const { return building_; }
    // F3 on this tab: the next hit on the page, after the last the next result.
    bool nextHit();
    bool active() const;
    bool hasShown() const { return shownRow_ >= 0; }
    void search(); // the text of the field, now
    void showResult(int row);

signals:
    void searched();            // results shown (for tests)
    void linesFilled(int upTo); // the lines of the results before `upTo` shown

private:
    void connectControls();
    QList<search::TextSource> sources() const;
    void searchDone();
    void startFilling(int from);
    void fillDone();
    QString itemText(const search::PageResult& r) const;
    void buildNext();
    void buildDone();

    WindowParts w_;
    QLineEdit* field_;
    QCheckBox* everywhere_;
    QListWidget* list_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QTimer* typing_;
    QTimer* refresh_;
    QList<search::PageResult> found_;
    QList<search::TextSource> searched_; // the dictionaries of the last search, read once
    QStringList unbuilt_;                // dictionaries of the last search not complete
    QFutureWatcher<std::pair<QList<search::PageResult>, QStringList>> searching_;
    // The results' lines, read after the list is shown; the documents stay
    // open from one search to the next.
    struct Filled {
        int generation = 0, from = 0, to = 0;
        QList<search::PageResult> results;
    };
    QFutureWatcher<Filled> filling_;
    int generation_ = 0; // of the list shown
    bool fillWaiting_ = false;
    std::shared_ptr<search::OpenDocuments> documents_ = std::make_shared<search::OpenDocuments>();
    QThreadPool builder_;
    QFuture<void> build_; // the build on its way, if any
    std::deque<search::TextSource> queue_;
    std::atomic<bool> cancelBuild_{false};
    bool building_ = false;
    QString buildingName_;
    QSet<QString> failedBuilds_; // dictionaries whose build failed this session
    int shownRow_ = -1;
    bool again_ = false; // a search asked for while one ran
    // Set to end the search that runs: a newer one waits for it, and the
    // window closes without waiting on it.
    std::shared_ptr<std::atomic<bool>> cancelSearch_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace lexifol
