// The Configuration dialog as created at program start.
#include "config/ConfigurationDialog.h"
#include "library/Profile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using lexifol::ProfileFile;

class TestShcut : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString ini(const QByteArray& content)
    {
        const QString path = dir.filePath(QStringLiteral("Lexifol.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }

private slots:
    void creation_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("advanced");
        QTest::newRow("bound slot 0") << QStringList{"B", "A"} << QByteArray("[Shortcuts]\r\n0=Big\r\n1=A\r\n") << "Big" << false;
        QTest::newRow("empty catalogue reads nothing") << QStringList{} << QByteArray("[shortcuts]\r\n0=Big\r\n") << "" << false;
        QTest::newRow("advanced hex") << QStringList{"A"} << QByteArray("[MAIN]\r\nadvanced=0x1\r\n") << "" << true;
        QTest::newRow("advanced text") << QStringList{"A"} << QByteArray("[main]\r\nadvanced=yes\r\n") << "" << false;
        // clang-format on
    }
    void creation()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(QByteArray, settings);
        QFETCH(QString, name);
        QFETCH(bool, advanced);
        ProfileFile profile(ini(settings));
        ConfigurationDialog dlg(catalogue, &profile);
        QCOMPARE(dlg.windowTitle(), QString("Configuration"));
        QCOMPARE(dlg.shortcutKey->count(), 10);
        QCOMPARE(dlg.shortcutKey->itemText(9), QString("Ctrl+9"));
        QCOMPARE(dlg.shortcutKey->currentIndex(), 0);
        QCOMPARE(dlg.dictionaryList->count(), catalogue.size());
        QCOMPARE(dlg.indexDictionary->count(), catalogue.size());
        QCOMPARE(dlg.indexDictionary->currentIndex(), catalogue.isEmpty() ? -1 : 0);
        QCOMPARE(dlg.shortcutDictionary->text(), name);
        QVERIFY(!dlg.startButton->isEnabled());
        QCOMPARE(dlg.addCheckButton->text(), QString("Add&&Check"));
        for (QWidget* w : {static_cast<QWidget*>(dlg.rulesEditor), static_cast<QWidget*>(dlg.checkOrderButton),
                           static_cast<QWidget*>(dlg.previewCheck)})
            QCOMPARE(!w->isHidden(), advanced);
        QVERIFY(!dlg.closeIndexButton->isHidden());
    }

    void slotsSaveAndClose()
    {
        ProfileFile profile(ini("[Shortcuts]\r\n5=Old\r\n"));
        ConfigurationDialog dlg({"Alpha", "Beta"}, &profile);
        dlg.shortcutKey->setCurrentIndex(5);
        dlg.shortcutKeyChanged();
        QCOMPARE(dlg.shortcutDictionary->text(), QString("Old"));
        dlg.dictionaryList->setCurrentRow(1);
        dlg.pickDictionary();
        QCOMPARE(dlg.shortcutDictionary->text(), QString("Beta"));
        QCOMPARE(profile.readString("Shortcuts", "5"), QString("Old")); // nothing saved yet
        dlg.saveShortcut();
        QCOMPARE(profile.readString("Shortcuts", "5"), QString("Beta"));
        dlg.shortcutKey->setCurrentIndex(3);
        dlg.shortcutKeyChanged();
        QCOMPARE(dlg.shortcutDictionary->text(), QString());
        dlg.saveShortcut(); // an empty name unbinds but keeps the key
        QCOMPARE(profile.readString("Shortcuts", "3", "<none>"), QString());
        QCOMPARE(profile.readString("Shortcuts", "5"), QString("Beta"));
        dlg.show();
        dlg.closeButton->click();
        QVERIFY(dlg.isHidden());
        QCOMPARE(dlg.shortcutDictionary->text(), QString());
    }
};

QTEST_MAIN(TestShcut)
#include "test_configuration_dialog.moc"
