#pragma once
// The page view: reads a page view file (or any HTML page) and shows it. A
// DjVu embed is decoded and rendered with DjVuLibre off the GUI thread.
#include "index/TextMatch.h"
#include <QImage>
#include <QWidget>
#include <memory>

class QMenu;

namespace lexifol {
struct PageViewRequest;

class PageView : public QWidget
{
    Q_OBJECT
public:
    enum class State { Blank, Html, Loading, Page, Error };

    explicit PageView(QWidget* parent = nullptr);
    ~PageView() override;

    // Returns at once; the page loads asynchronously. A newer call supersedes
    // one still loading.
    void Navigate(const QString& path);
    // The same for a DjVu page given as values (the page view file the
    // request was written to becomes the current path).
    void Show(const PageViewRequest& request);
    // Draws the page such a request names in the background, so that
    // showing it later is immediate. Only while a DjVu page with the same
    // toolbar and scroll bars is on view: the page is drawn for its size.
    void Prepare(const PageViewRequest& request);
    // The dictionary's replacement rules, folded by Find and the headword
    // mark as the text search folds them.
    void setTextRules(const ReplacementList& rules);
    // A message in place of the page (what was asked before is dropped).
    void ShowNotice(const QString& text);
    QRect headwordMark() const; // page pixels; empty when none

    State state() const;
    QString currentPath() const;  // what was last navigated to
    QString errorText() const;    // shown inside the view in State::Error
    QString documentPath() const; // the DjVu file on view
    int pageIndex() const;        // 0-based page on view, -1 if none
    int pageCount() const;

    // The widget that receives wheel events, scroll requests and the F key.
    QWidget* pageWindow() const;
    int scrollPosition() const; // vertical, in pixels
    int scrollMaximum() const;

    // The rendered page as drawn (for tests): empty until a page is shown;
    // while the rest of a page is drawn, the part on view.
    QImage pageImage() const;
    // Word hits of the last Find, in page image coordinates.
    QList<QRect> highlights() const;

    // Search of the page's text layer for a typed phrase (what the Find
    // dialog runs): the number of matches, or -1 while the page or its text
    // is still on its way (the search then runs when it comes). The same
    // phrase again moves on to the next match.
    int findText(const QString& text);
    // The next match of what was last searched, however it was asked.
    int findNext();
    // The match of the last Find in view, counted from 0, and how many
    // there are; {-1, 0} without any.
    std::pair<int, int> findPosition() const;

    // The "Find" dialog (created on the first F key).
    QWidget* findDialog() const;

    // What the toolbar offers, also for callers: a zoom as the embed tag
    // writes it ("width", "page", "150"), and another page of the document.
    void setZoom(const QString& zoom);
    void goToPage(int index);
    QWidget* toolBar() const;
    // The zoom of the page on view, as setZoom takes it.
    QString zoom() const;
    // Zooms around the middle of the view, as the toolbar's buttons do.
    void zoomBy(double factor);
    // The page's scale on the screen in percent; 0 with no page on view.
    int zoomPercent() const;
    // A zoom the user chose (the wheel, the menu, the toolbar) stays for the
    // following pages until this is called (another dictionary): they start
    // again at their page view file's zoom.
    void resetZoom();

    // The mouse on the page: page pixels under a point of pageWindow(); the
    // context menu for a point of it (the caller owns it); the words inside
    // the rectangle drawn with Shift and the mouse.
    QPointF pagePointAt(QPoint viewPos) const;
    QMenu* contextMenu(QPoint viewPos);
    QString selectedText() const;

    // Whether page `index` of the document on view would show at once: it is
    // rendered for the view's present size and its text layer has been read.
    bool isPageReady(int index) const;

    // The pages of a document shown as one column, the next below the page
    // (the default), or each page alone.
    void setContinuous(bool on);
    bool continuous() const;
    // The memory the pages drawn a moment ago may keep.
    void setImageBudget(qint64 bytes);
    // The memory the text layers of pages read a moment ago may keep.
    void setTextBudget(qint64 bytes);
    // The page on view's place among the pages read on through (of its
    // document, or the page files of its folder), and how many there are.
    std::pair<int, int> readingPlace() const;
    // The titles the document gives its pages (the numbers printed on
    // them), by page; empty when it gives none or pages are files of a folder.
    QStringList pageTitles() const;

signals:
    void pageShown(); // a DjVu page is drawn
    void zoomChanged();
    // The part of a page in view is drawn: first alone, when the rest
    // follows, then again with the whole page.
    void pageVisible();
    // Scrolling brought another page of the column into view.
    void pageInViewChanged(int index);
    void htmlShown();
    void loadFailed(const QString& message);
    // A word of the page's text was double-clicked or chosen from the menu.
    void lookUpRequested(const QString& word);
    // A search of the Find command ended with `count` matches on the page.
    void findDone(int count);
    // The context menu is made, `word` the printed word under the pointer
    // (empty for none): the window may add its own items.
    void menuBuilt(QMenu* menu, const QString& word);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    friend struct Impl;
};

} // namespace lexifol
