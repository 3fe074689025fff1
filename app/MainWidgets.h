#pragma once
// Small widgets of the main window and the look of its controls.
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>

class QListView;
class QTabWidget;

namespace lexifol {

// The search box reports clicks and focus, which the lookup reacts to.
class SearchEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void clicked();
    void focused();
    // Page Up or Page Down reached the box, whatever the modifiers.
    void pageKey(bool up);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
};

// A clickable picture.
class ClickableImage : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableImage(QWidget* parent = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

QFont UnicodeFont();
// The program's icon on the window and the application.
void ApplyProgramIcon(QWidget* window);
// The selection stays visible when the list loses the focus.
void KeepSelectionVisible(QWidget* list);
// The read-only box of the dictionary's title.
QLineEdit* MakeTitleBox(QWidget* parent);
// A tab with an icon only, its name in the tooltip and for screen readers.
void AddListTab(QTabWidget* tabs, QWidget* page, const QIcon& icon, const QString& name);
QFont ArialFont();
// A single-selection list filling `page`, named for screen readers.
QListView* MakeList(QWidget* page, const QString& name, const QColor& base);

} // namespace lexifol
