#pragma once
// The strip above a DjVu page: zoom out, zoom in, fit width, and the page
// number of the document.
#include <QWidget>

class QLabel;
class QSpinBox;

namespace lexifol::pv {

class PageToolbar : public QWidget
{
    Q_OBJECT
public:
    explicit PageToolbar(QWidget* parent);
    void showPages(int index, int count); // 0-based page on view

signals:
    void zoomBy(double factor);
    void fitWidth();
    void pageChosen(int index);

private:
    QSpinBox* pageBox_;
    QLabel* pageTotal_;
};

} // namespace lexifol::pv
