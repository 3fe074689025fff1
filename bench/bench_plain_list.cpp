// The floor of a key in the index list, timed from outside: the least a Qt
// program does for it. A search box over a list of the same words; each
// key selects the nearest word and scrolls it to the top. No collation,
// no second index, no page.
//   bench_plain_list WORDS_FILE   (one word per line, sorted)
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QStringList words = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringListModel model(words);
    QWidget window;
    auto* box = new QLineEdit(&window);
    auto* list = new QListView(&window);
    list->setUniformItemSizes(true);
    list->setModel(&model);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(list);
    QObject::connect(box, &QLineEdit::textChanged, list, [&](const QString& text) {
        const auto at = std::lower_bound(words.begin(), words.end(), text);
        const QModelIndex row = model.index(int(std::min(at - words.begin(), words.size() - 1)));
        list->setCurrentIndex(row);
        list->scrollTo(row, QAbstractItemView::PositionAtTop);
    });
    window.resize(1000, 700);
    window.show();
    box->setFocus();
    return app.exec();
}
