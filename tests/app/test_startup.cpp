// Start-up, catalogue, opening a dictionary and shutdown of the main window.
#include "Fixture.h"
#include "app/Translations.h"
#include "library/Language.h"

#include <QTranslator>

#include "index/Bookmarks.h"
#include "app/StatusLine.h"
#include "app/TextSearchPane.h"

#include <QApplication>
#include <QKeyEvent>
#include "pageview/PageView.h"

#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace lexifol;

namespace {

QStringList captions(const MainWindow& w)
{
    QStringList out;
    for (int i = 0; i < Ui(w).catalogueList->count(); ++i)
        out << Ui(w).catalogueList->item(i)->text()
                + (Ui(w).catalogueList->item(i)->checkState() == Qt::Checked ? "+" : "-");
    return out;
}

const QStringList kBuiltIns{QStringLiteral("width=\"100%\""), QStringLiteral("height=\"100%\""),
                            QStringLiteral("Toolbar=no"), QStringLiteral("ScrollBars=no"),
                            QStringLiteral("zoom=width")};

QStringList params(const MainWindow& w)
{
    QStringList out;
    for (const QByteArray& p : w.state().dictionary.pluginParameters)
        out << QString::fromLatin1(p);
    return out;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void emptyDataFolder()
    {
        Fixture fx;
        QFile::remove(fx.cwd + "Plugin.dat");
        Fixture::writeBytes(fx.prog + "Intro/intro.htm", "<html><body>Welcome</body></html>");
        auto w = fx.start();
        QCOMPARE(Ui(*w).catalogueList->count(), 0);
        QCOMPARE(Ui(*w).titleBox->text(), QString());
        QCOMPARE(w->actions().indexRowCount(), 0);
        QCOMPARE(w->state().dictionary.name, QString());
        QCOMPARE(params(*w), kBuiltIns);
        QVERIFY2(fx.messages.isEmpty(), qPrintable(fx.messageTexts().join('|')));
        QCOMPARE(Ui(*w).pageView->currentPath(), fx.prog + "Intro/intro.htm");
        QVERIFY(w->state().singleFileOnView);
        QVERIFY(w->state().extraPageOnView);
        QVERIFY(Ui(*w).backButton->isHidden());
        QVERIFY(Ui(*w).forwardButton->isHidden());
    }

    void whichDictionaryOpens_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("diclist");
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QString>("opened");
        // Discovery is by name: A before B.
        QTest::newRow("no diclist") << QByteArray() << QStringList{"A-", "B-"} << "A";
        QTest::newRow("saved order and marks") << QByteArray("B\t0\r\nA\t1\r\n") << QStringList{"B-", "A+"} << "A";
        QTest::newRow("none checked") << QByteArray("B\t0\r\nA\t0\r\n") << QStringList{"B-", "A-"} << "B";
        QTest::newRow("several checked") << QByteArray("B\t1\r\nA\t1\r\n") << QStringList{"B+", "A+"} << "B";
        QTest::newRow("case differs") << QByteArray("b\t1\r\na\t0\r\n") << QStringList{"B+", "A-"} << "B";
        QTest::newRow("flag neither 0 nor 1") << QByteArray("B\t2\r\nA\tyes\r\n") << QStringList{"B-", "A-"} << "B";
        QTest::newRow("positions beyond N") << QByteArray("X\t1\r\nY\t1\r\nZ\t1\r\nA\t1\r\n")
                                            << QStringList{"A+", "B-"} << "A";
        // clang-format on
    }
    void whichDictionaryOpens()
    {
        QFETCH(QByteArray, diclist);
        QFETCH(QStringList, catalogue);
        QFETCH(QString, opened);
        Fixture fx;
        fx.addDictionary("B", {"bee\t1"});
        fx.addDictionary("A", {"ant\t1"});
        if (!diclist.isNull())
            Fixture::writeBytes(fx.cwd + "diclist.dat", diclist);
        auto w = fx.start();
        QCOMPARE(captions(*w), catalogue);
        QCOMPARE(w->state().dictionary.name, opened);
        QCOMPARE(Ui(*w).catalogueList->currentItem()->text(), opened);
        QCOMPARE(Ui(*w).titleBox->text(), opened);
        QCOMPARE(w->state().dictionary.wholeFile, QString("yes"));
        QCOMPARE(w->actions().selectedIndexRow(), 0);
    }

    void newDictionaryIsAppendedAndSaved()
    {
        Fixture fx;
        fx.addDictionary("A", {"a\t1"});
        fx.addDictionary("B", {"b\t1"});
        fx.addDictionary("C", {"c\t1"});
        Fixture::writeBytes(fx.cwd + "diclist.dat", "B\t1\r\nA\t0\r\n");
        {
            auto w = fx.start();
            QCOMPARE(captions(*w), (QStringList{"B+", "A-", "C-"}));
            w->close();
        }
        QCOMPARE(Fixture::readBytes(fx.cwd + "diclist.dat"), QByteArray("B\t1\r\nA\t0\r\nC\t0\r\n"));
        QVERIFY(!QFile::exists(fx.prog + "diclist.dat"));
        // Bookmarks that never changed are not written at exit.
        QVERIFY(!QFile::exists(fx.cwd + "Bookmarks.dat"));
        QVERIFY(!QFile::exists(fx.prog + "Bookmarks.dat"));
    }

    void moveKeepsMarksAndIsSaved()
    {
        Fixture fx;
        fx.addDictionary("A", {"a\t1"});
        fx.addDictionary("B", {"b\t1"});
        fx.addDictionary("C", {"c\t1"});
        Fixture::writeBytes(fx.cwd + "diclist.dat", "A\t1\r\nB\t0\r\nC\t1\r\n");
        {
            auto w = fx.start();
            QCOMPARE(w->state().dictionary.name, QString("A"));
            // The first entry cannot move up.
            Ui(*w).moveUpButton->click();
            QCOMPARE(captions(*w), (QStringList{"A+", "B-", "C+"}));
            Ui(*w).moveDownButton->click();
            QCOMPARE(captions(*w), (QStringList{"B-", "A+", "C+"}));
            QCOMPARE(Ui(*w).catalogueList->currentItem()->text(), QString("A"));
            QVERIFY(Ui(*w).catalogueList->currentItem()->isSelected());
            Ui(*w).moveDownButton->click();
            Ui(*w).moveDownButton->click(); // already last
            QCOMPARE(captions(*w), (QStringList{"B-", "C+", "A+"}));
            QCOMPARE(w->state().dictionary.name, QString("A"));
            w->close();
        }
        QCOMPARE(Fixture::readBytes(fx.cwd + "diclist.dat"), QByteArray("B\t0\r\nC\t1\r\nA\t1\r\n"));
        auto again = fx.start();
        QCOMPARE(captions(*again), (QStringList{"B-", "C+", "A+"}));
        QCOMPARE(again->state().dictionary.name, QString("C"));
    }

    void dialogsMadeWhenFirstOpened()
    {
        Fixture fx;
        fx.addDictionary("A", {"a\t1"});
        fx.addDictionary("B", {"b\t1"});
        auto w = fx.start();
        w->dialogs().makeWhenOpened();
        QVERIFY(!w->findChild<ConfigurationDialog*>());
        QVERIFY(!w->findChild<AboutBox*>());
        Ui(*w).moveDownButton->click(); // the catalogue as it is when the dialog opens
        Ui(*w).configurationAction->trigger();
        auto* dialog = w->findChild<ConfigurationDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->dictionaryList->count(), 2);
        QCOMPARE(dialog->dictionaryList->item(0)->text(), QStringLiteral("B"));
        dialog->hide();
        Ui(*w).configurationAction->trigger();
        QCOMPARE(w->findChildren<ConfigurationDialog*>().size(), 1);
        QVERIFY(dialog->isVisible());
        Ui(*w).aboutAction->trigger();
        auto* about = w->findChild<AboutBox*>();
        QVERIFY(about && about->isVisible());
        w->close();
        QVERIFY(!dialog->isVisible() && !about->isVisible());
    }

    // Under a Russian locale the window, its status and Qt's own buttons
    // speak Russian; English comes back when the translators go.
    void speaksTheUsersLanguage()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        const QStringList russian = lexifol::TranslationCandidates(QString(), [](const char* name) {
            return QByteArray(name) == "LANG" ? QStringLiteral("ru_RU.UTF-8") : QString();
        });
        const auto uninstall = qScopeGuard([] {
            for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(t);
                delete t;
            }
        });
        QCOMPARE(lexifol::InstallTranslations(russian, QStringLiteral(LEXIFOL_QM_DIR)), QStringLiteral("ru_RU"));
        auto w = fx.start();
        const lexifol::MainControls ui = Ui(*w);
        QCOMPARE(ui.helpMenu->title(), QStringLiteral("Справка"));
        QCOMPARE(ui.helpAction->text(), QStringLiteral("Справка Lexifol"));
        QCOMPARE(ui.listTabs->tabToolTip(ui.listTabs->indexOf(ui.historyTab)), QStringLiteral("История"));
        QCOMPARE(ui.backButton->toolTip(), QStringLiteral("Назад"));
        w->actions().addBookmark();
        w->actions().addBookmark();
        w->actions().clearBookmarks();
        QVERIFY(w->findChild<QLabel*>("statusMessage")->text().contains(QStringLiteral("Удалены 2 закладки")));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    }

    void descriptor_data()
    {
        // clang-format off
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("wholeFile");
        QTest::addColumn<bool>("findVisible");
        QTest::newRow("full") << "[main]\nname=Big Book\nwhole_file=no\ntext_layer=yes\n" << "Big Book" << "no" << true;
        QTest::newRow("capital No and Yes") << "[MAIN]\nName=Big\nwhole_file=No\ntext_layer=Yes\n" << "Big" << "yes" << false;
        QTest::newRow("empty name") << "[main]\nname=\nwhole_file=yes\n" << "D" << "yes" << false;
        QTest::newRow("other section") << "[other]\nname=X\nwhole_file=no\ntext_layer=yes\n" << "D" << "yes" << false;
        QTest::newRow("first occurrence") << "[main]\nwhole_file=no\nwhole_file=yes\n" << "D" << "no" << false;
        QTest::newRow("no descriptor") << QString() << "D" << "yes" << false;
        // clang-format on
    }
    void descriptor()
    {
        QFETCH(QString, ini);
        QFETCH(QString, title);
        QFETCH(QString, wholeFile);
        QFETCH(bool, findVisible);
        Fixture fx;
        fx.addDictionary("D", {"d\t1"}, ini);
        auto w = fx.start();
        QCOMPARE(Ui(*w).titleBox->text(), title);
        QCOMPARE(w->state().dictionary.wholeFile, wholeFile);
        QCOMPARE(!Ui(*w).findButton->isHidden(), findVisible);
        QVERIFY2(fx.messages.isEmpty(), qPrintable(fx.messageTexts().join('|')));
    }

    void unicodeDescriptorTitle()
    {
        Fixture fx;
        fx.addDictionary("R", {"r\t1"});
        Fixture::writeBytes(fx.folder("R") + "R.ini",
                            Fixture::utf16({"[main]", QString::fromUtf8("name=Толковый словарь")}));
        auto w = fx.start();
        QCOMPARE(Ui(*w).titleBox->text(), QString::fromUtf8("Толковый словарь"));
        QCOMPARE(w->state().dictionary.title, QString::fromUtf8("Толковый словарь"));
    }

    void pluginParameters_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("own");        // null: no own file
        QTest::addColumn<QByteArray>("fallback");   // null: no fallback
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("message");       // "%1" stands for the own file's path
        QTest::newRow("own file") << QByteArray("zoom=page\r\nToolbar=yes") << QByteArray("zoom=width\r\n")
                                  << QStringList{"zoom=page", "Toolbar=yes"} << QString();
        QTest::newRow("own zero length, good fallback") << QByteArray("") << QByteArray("zoom=width\r\n") << kBuiltIns
                                                        << "Check %1\r\nThis file may have errors.";
        QTest::newRow("own holds an empty line") << QByteArray("\r\n") << QByteArray() << QStringList{""} << QString();
        QTest::newRow("fallback used") << QByteArray() << QByteArray("zoom=150\r\n") << QStringList{"zoom=150"}
                                       << QString();
        QTest::newRow("fallback zero length") << QByteArray() << QByteArray("") << kBuiltIns
                                              << "Check Plugin.dat\r\nThis file may have errors.";
        QTest::newRow("none anywhere") << QByteArray() << QByteArray() << kBuiltIns << "Can not open Plugin.dat";
        // clang-format on
    }
    void pluginParameters()
    {
        QFETCH(QByteArray, own);
        QFETCH(QByteArray, fallback);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);
        Fixture fx;
        fx.addDictionary("P", {"p\t1"});
        QFile::remove(fx.cwd + "Plugin.dat");
        if (!own.isNull())
            Fixture::writeBytes(fx.folder("P") + "Plugin.dat", own);
        if (!fallback.isNull())
            Fixture::writeBytes(fx.cwd + "Plugin.dat", fallback);
        auto w = fx.start();
        QCOMPARE(params(*w), expected);
        if (message.isEmpty()) {
            QVERIFY2(fx.messages.isEmpty(), qPrintable(fx.messageTexts().join('|')));
        } else {
            QCOMPARE(fx.messageTexts(),
                     QStringList{message.arg(QDir::toNativeSeparators(fx.folder("P") + "Plugin.dat"))});
            QCOMPARE(fx.messages[0].caption, QString("Lexifol"));
            QCOMPARE(fx.messages[0].icon, MsgIcon::Error);
        }
    }

    void secondIndexLengthCheckedAtStartUpWithMessage()
    {
        Fixture fx;
        fx.addDictionary("S", {"apple\t1", "berry\t2", "cherry\t3"});
        Fixture::writeBytes(fx.folder("S") + "secondindex.list", Fixture::utf16({"apple", "berry"}));
        auto w = fx.start();
        QCOMPARE(fx.messageTexts(), QStringList{"Second index isn't equal to first (number of items)"});
        QVERIFY(w->state().dictionary.second.isEmpty());
        Ui(*w).searchBox->setText("ber");
        QCOMPARE(w->actions().selectedIndexRow(), 1);

        // Opened again from the catalogue the mismatch is dropped silently.
        fx.messages.clear();
        Ui(*w).catalogueList->setCurrentRow(0);
        w->actions().openDictionary();
        QVERIFY(fx.messages.isEmpty());
        QVERIFY(w->state().dictionary.second.isEmpty());
    }

    void catalogueOpening()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1", "apricot\t2"}, "[main]\nname=Alpha\ntext_layer=yes\n");
        fx.addDictionary("B", {"banana\t7", "berry\t8"});
        Fixture::writeBytes(fx.folder("A") + "Annotation.djvu", "x");
        Fixture::writeBytes(fx.folder("A") + "Annotation.htm", "<html></html>");
        Fixture::writeBytes(fx.folder("B") + "secondindex.list", Fixture::utf16({"banana", "berry"}));
        auto w = fx.start();
        QCOMPARE(w->state().dictionary.name, QString("A"));
        QVERIFY(!Ui(*w).annotationButton->isHidden());
        QVERIFY(!Ui(*w).findButton->isHidden());

        Ui(*w).catalogueList->setCurrentRow(1);
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("B"));
        QCOMPARE(Ui(*w).titleBox->text(), QString("B"));
        QCOMPARE(Ui(*w).catalogueList->currentRow(), 1);
        QVERIFY(Ui(*w).annotationButton->isHidden());
        // No descriptor says nothing of a text layer: Find is hidden.
        QVERIFY(Ui(*w).findButton->isHidden());
        QCOMPARE(w->actions().indexRowCount(), 2);
        QCOMPARE(w->state().dictionary.second.count(), 2);
        QCOMPARE(w->actions().selectedIndexRow(), 0);
        QVERIFY(!QFile::exists(fx.prog + "temp.htm")); // empty search box: no page
        QVERIFY(fx.messages.isEmpty());

        // A deleted first index: nothing happens at all.
        QFile::remove(fx.prog + "Data/A.list");
        w->state().skipSearchReplay = true;
        Ui(*w).catalogueList->setCurrentRow(0);
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("B"));
        QVERIFY(w->state().skipSearchReplay);
        QVERIFY(fx.messages.isEmpty());
    }

    void unreadableFilesKeepThePreviousDictionary()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        fx.addDictionary("B", {"banana\t2"});
        auto w = fx.start();
        // Something that exists but cannot be read as a file, even by root.
        QFile::remove(fx.prog + "Data/B.list");
        QVERIFY(QDir().mkpath(fx.prog + "Data/B.list"));
        Ui(*w).catalogueList->setCurrentRow(1);
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("A"));
        QCOMPARE(fx.messageTexts(), QStringList{"Can not open " + fx.prog + "Data/B.list\r\nIt is a folder."});
        QCOMPARE(w->actions().indexRowCount(), 1);
        QCOMPARE(w->state().dictionary.first.headword(0), QStringView(u"apple"));

        // The same for a parameter list that cannot be read.
        fx.messages.clear();
        QVERIFY(QDir().mkpath(fx.folder("B")));
        QDir(fx.prog + "Data/B.list").removeRecursively();
        Fixture::writeBytes(fx.prog + "Data/B.list", Fixture::utf16({"banana\t2"}));
        QVERIFY(QDir().mkpath(fx.folder("B") + "Plugin.dat"));
        w->actions().openDictionary();
        QCOMPARE(w->state().dictionary.name, QString("A"));
        QCOMPARE(fx.messageTexts(), QStringList{"Can not open " + fx.folder("B") + "Plugin.dat\r\nIt is a folder."});
    }

    void bookmarksRoundTrip()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        const QStringList marks{QString::fromUtf8("café\tA"), "", "no tab", QString::fromUtf8("слово\tB")};
        Fixture::writeBytes(fx.cwd + "Bookmarks.dat", BookmarkFileBytes(marks));
        {
            auto w = fx.start();
            QCOMPARE(w->state().bookmarks.entries(), marks);
            QCOMPARE(Ui(*w).bookmarkList->model()->rowCount(), 4);
            QCOMPARE(Ui(*w).bookmarkList->model()->index(1, 0).data().toString(), QString("error"));
            QCOMPARE(Ui(*w).bookmarkList->model()->index(0, 0).data().toString(), QString::fromUtf8("café"));
            w->close();
        }
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), BookmarkFileBytes(marks));
    }

    void annotation()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"}, "[main]\nwhole_file=no\n");
        fx.addDictionary("B", {"berry\t1"});
        Fixture::writeBytes(fx.folder("A") + "Annotation.htm", "<html><body>About A</body></html>");
        Fixture::writeBytes(fx.folder("B") + "Annotation.djvu", "AT&T");
        Fixture::writeBytes(fx.folder("B") + "Annotation.htm", "<html></html>");
        auto w = fx.start();
        QVERIFY(!Ui(*w).annotationButton->isHidden());
        emit Ui(*w).annotationButton->clicked();
        QCOMPARE(Ui(*w).pageView->currentPath(), fx.folder("A") + "Annotation.htm");
        QVERIFY(!QFile::exists(fx.prog + "temp.htm"));
        QVERIFY(w->state().singleFileOnView);
        QVERIFY(w->state().extraPageOnView);

        // The document wins over the page, and keeps SingleFileOnView.
        Ui(*w).catalogueList->setCurrentRow(1);
        w->actions().openDictionary();
        QVERIFY(!Ui(*w).annotationButton->isHidden());
        emit Ui(*w).annotationButton->clicked();
        const QString html = fx.pageFile();
        QVERIFY2(html.contains("SRC=\"file:\\\\localhost\\" + fx.folder("B") + "Annotation.djvu\""), qPrintable(html));
        QVERIFY(!html.contains(" Page="));
        QVERIFY(w->state().singleFileOnView);
        QVERIFY(!w->state().extraPageOnView);
        QCOMPARE(Ui(*w).pageView->currentPath(), fx.prog + "temp.htm");
    }

    void unusableBookmarksAreKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("malformed UTF-8") << QByteArray("\xEF\xBB\xBF"
                                                       "caf\xC3(\tA\r\n");
        QTest::newRow("leading NUL") << QByteArray("\0apple\tA\r\n", 10);
    }
    void unusableBookmarksAreKept()
    {
        QFETCH(QByteArray, content);
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        Fixture::writeBytes(fx.cwd + "Bookmarks.dat", content);
        Fixture::writeBytes(fx.cwd + "Bookmarks.dat.bak", "older");
        {
            auto w = fx.start();
            QVERIFY(w->state().bookmarks.isEmpty());
            w->close();
        }
        // Untouched while nothing is added; set aside before the first write.
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), content);
        {
            auto w = fx.start();
            w->actions().addBookmark();
            w->close();
        }
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat.bak2"), content);
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat.bak"), QByteArray("older"));
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), BookmarkFileBytes({"apple\tA"}));
    }

    void unreadableBookmarksAreKept()
    {
        Fixture fx;
        fx.addDictionary("A", {"apple\t1"});
        QVERIFY(QDir().mkpath(fx.cwd + "Bookmarks.dat"));
        {
            auto w = fx.start();
            w->actions().addBookmark();
            w->close();
        }
        QVERIFY(QFileInfo(fx.cwd + "Bookmarks.dat.bak").isDir());
        QCOMPARE(Fixture::readBytes(fx.cwd + "Bookmarks.dat"), BookmarkFileBytes({"apple\tA"}));
    }

    void helpNavigatesEvenWhenMissing()
    {
        Fixture fx;
        auto w = fx.start();
        w->actions().showHelp();
        QCOMPARE(Ui(*w).pageView->currentPath(), fx.prog + "Help/main.htm");
        QVERIFY(w->state().singleFileOnView);
        QVERIFY(w->state().extraPageOnView);
    }

    void accessibleNames()
    {
        Fixture fx;
        auto w = fx.start();
        const QList<QPair<QWidget*, QString>> named{{Ui(*w).catalogueList, "Dictionaries"},
                                                    {Ui(*w).moveUpButton, "Move up"},
                                                    {Ui(*w).moveDownButton, "Move down"},
                                                    {Ui(*w).titleBox, "Dictionary title"},
                                                    {Ui(*w).searchBox, "Search"},
                                                    {Ui(*w).indexList, "Index"},
                                                    {Ui(*w).historyList, "History"},
                                                    {Ui(*w).bookmarkList, "Bookmarks"},
                                                    {Ui(*w).backButton, "Back"},
                                                    {Ui(*w).forwardButton, "Forward"},
                                                    {Ui(*w).addBookmarkButton, "Add bookmark"},
                                                    {Ui(*w).findButton, "Find"},
                                                    {Ui(*w).annotationButton, "Annotation"},
                                                    {Ui(*w).previewButton, "Normalisation preview"},
                                                    {Ui(*w).pageView, "Page"}};
        for (const auto& [widget, name] : named)
            QCOMPARE(widget->accessibleName(), name);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Ui(*w).listTabs->tabBar()->accessibleTabName(i),
                     QStringList({"Bookmarks", "History", "Index"})[i]);
            QCOMPARE(Ui(*w).listTabs->tabToolTip(i), QStringList({"Bookmarks", "History", "Index"})[i]);
        }
        QCOMPARE(Ui(*w).listTabs->currentWidget(), Ui(*w).indexTab);
        for (QToolButton* b : {Ui(*w).moveUpButton, Ui(*w).backButton, Ui(*w).addBookmarkButton, Ui(*w).findButton})
            QCOMPARE(b->toolTip(), b->accessibleName());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
