// The Configuration dialog as created at program start.
#include "config/shcut.h"
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
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("advanced");
        QTest::newRow("bound slot 0") << QStringList{"B", "A"} << QByteArray("[Shortcuts]\r\n0=Big\r\n1=A\r\n") << "Big" << false;
        QTest::newRow("empty catalogue reads nothing") << QStringList{} << QByteArray("[shortcuts]\r\n0=Big\r\n") << "" << false;
        QTest::newRow("advanced hex") << QStringList{"A"} << QByteArray("[MAIN]\r\nadvanced=0x1\r\n") << "" << true;
        QTest::newRow("advanced text") << QStringList{"A"} << QByteArray("[main]\r\nadvanced=yes\r\n") << "" << false;
    }
    void creation()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(QByteArray, settings);
        QFETCH(QString, name);
        QFETCH(bool, advanced);
        ProfileFile profile(ini(settings));
        TForm2 dlg(catalogue, &profile);
        QCOMPARE(dlg.windowTitle(), QString("Configuration"));
        QCOMPARE(dlg.ComboBox1->count(), 10);
        QCOMPARE(dlg.ComboBox1->itemText(9), QString("Ctrl+9"));
        QCOMPARE(dlg.ComboBox1->currentIndex(), 0);
        QCOMPARE(dlg.ListBox1->count(), catalogue.size());
        QCOMPARE(dlg.ComboBox2->count(), catalogue.size());
        QCOMPARE(dlg.ComboBox2->currentIndex(), catalogue.isEmpty() ? -1 : 0);
        QCOMPARE(dlg.Edit1->text(), name);
        QVERIFY(!dlg.Button4->isEnabled());
        QCOMPARE(dlg.Button3->text(), QString("Add&&Check"));
        for (QWidget* w : {static_cast<QWidget*>(dlg.TntMemo1), static_cast<QWidget*>(dlg.SpeedButton3),
                           static_cast<QWidget*>(dlg.CheckBox1)})
            QCOMPARE(!w->isHidden(), advanced);
        QVERIFY(!dlg.Button5->isHidden());
    }

    void slotsSaveAndClose()
    {
        ProfileFile profile(ini("[Shortcuts]\r\n5=Old\r\n"));
        TForm2 dlg({"Alpha", "Beta"}, &profile);
        dlg.ComboBox1->setCurrentIndex(5);
        dlg.ComboBox1Change();
        QCOMPARE(dlg.Edit1->text(), QString("Old"));
        dlg.ListBox1->setCurrentRow(1);
        dlg.ListBox1DblClick();
        QCOMPARE(dlg.Edit1->text(), QString("Beta"));
        QCOMPARE(profile.readString("Shortcuts", "5"), QString("Old"));  // nothing saved yet
        dlg.Button2Click();
        QCOMPARE(profile.readString("Shortcuts", "5"), QString("Beta"));
        dlg.ComboBox1->setCurrentIndex(3);
        dlg.ComboBox1Change();
        QCOMPARE(dlg.Edit1->text(), QString());
        dlg.Button2Click();  // an empty name unbinds but keeps the key
        QCOMPARE(profile.readString("Shortcuts", "3", "<none>"), QString());
        QCOMPARE(profile.readString("Shortcuts", "5"), QString("Beta"));
        dlg.show();
        dlg.Button1->click();
        QVERIFY(dlg.isHidden());
        QCOMPARE(dlg.Edit1->text(), QString());
    }
};

QTEST_MAIN(TestShcut)
#include "test_shcut.moc"
