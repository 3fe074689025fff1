// Small widgets of the main window and the look of its controls.
#include "app/MainWidgets.h"
#include "app/UniformListView.h"
#include "config/Glyphs.h"

#include <QCoreApplication>
#include <QApplication>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lexifol {

void SearchEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown)
        emit pageKey(e->key() == Qt::Key_PageUp);
    QLineEdit::keyPressEvent(e);
}

void SearchEdit::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton)
        emit clicked();
}

void SearchEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    emit clicked();
}

void SearchEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    emit focused();
}

ClickableImage::ClickableImage(QWidget* parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableImage::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

QFont UnicodeFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Arial Unicode MS"), QStringLiteral("DejaVu Sans")});
    return f;
}

void ApplyProgramIcon(QWidget* window)
{
    const QIcon icon = glyphs::icon(glyphs::Glyph::App, 32);
    window->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
}

void KeepSelectionVisible(QWidget* list)
{
    QPalette pal = list->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    list->setPalette(pal);
}

QLineEdit* MakeTitleBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    QFont f = UnicodeFont();
    f.setBold(true);
    box->setFont(f);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, QColor(0xff, 0xff, 0xe1));
    box->setPalette(pal);
    box->setAccessibleName(QCoreApplication::translate("lexifol", "Dictionary title"));
    return box;
}

void AddListTab(QTabWidget* tabs, QWidget* page, const QIcon& icon, const QString& name)
{
    const int i = tabs->addTab(page, icon, QString());
    tabs->setTabToolTip(i, name);
    tabs->tabBar()->setAccessibleTabName(i, name);
    page->setAccessibleName(name);
}

QFont ArialFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    return f;
}

QListView* MakeList(QWidget* page, const QString& name, const QColor& base)
{
    auto* v = new UniformListView(page);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setFont(UnicodeFont());
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
}

} // namespace lexifol
