// Keyboard layout identifiers and their XKB layouts; activation without an
// X display (the offscreen platform) only remembers the identifier.
#include "library/KeyboardLayout.h"
#include "library/KeyTranslator.h"
#include "library/Dictionary.h"
#include "library/XkbLayouts.h"

#include <QTemporaryDir>

#include <QtTest>

using namespace lexifol;

template<size_t N> static QByteArray bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // Physical keys through a layout the desktop may not have: XKB keycodes
    // are the evdev codes plus 8 (Q is 24, A 38, Y 29, ] 35, F5 71).
    void translated_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<int>("keycode");
        QTest::addColumn<QString>("mods");   // s shift, c caps lock, g AltGr
        QTest::addColumn<QString>("text");
        QTest::newRow("ru q") << QByteArray("ru") << 24 << "" << QStringLiteral("й");
        QTest::newRow("ru Shift q") << QByteArray("ru") << 24 << "s" << QStringLiteral("Й");
        QTest::newRow("ru Caps q") << QByteArray("ru") << 24 << "c" << QStringLiteral("Й");
        QTest::newRow("ru Caps Shift q") << QByteArray("ru") << 24 << "cs" << QStringLiteral("й");
        QTest::newRow("ru(phonetic) q") << QByteArray("ru(phonetic)") << 24 << "" << QStringLiteral("я");
        QTest::newRow("de y is z") << QByteArray("de") << 29 << "" << QStringLiteral("z");
        QTest::newRow("de AltGr q") << QByteArray("de") << 24 << "g" << QStringLiteral("@");
        QTest::newRow("gr a") << QByteArray("gr") << 38 << "" << QStringLiteral("α");
        QTest::newRow("ua ]") << QByteArray("ua") << 35 << "" << QStringLiteral("ї");
        QTest::newRow("ru F5 types nothing") << QByteArray("ru") << 71 << "" << QString();
        // clang-format on
    }
    void translated()
    {
        QFETCH(QByteArray, layout);
        QFETCH(int, keycode);
        QFETCH(QString, mods);
        const auto t = KeyTranslator::ForLayout(layout);
        QVERIFY2(t, qPrintable(t.error()));
        QTEST(t.value()->text(quint32(keycode), mods.contains('s'), mods.contains('c'), mods.contains('g')), "text");
    }
    void unknownLayoutNamed()
    {
        for (const QByteArray& name : {QByteArray("xx"), QByteArray("ru(nonesuch)"), QByteArray("ru;rm -rf")}) {
            const auto t = KeyTranslator::ForLayout(name);
            QVERIFY(!t);
            QVERIFY2(t.error().contains(QString::fromUtf8(name)), qPrintable(t.error()));
        }
    }
    // A descriptor names its layout by a Windows identifier or as XKB does,
    // with its variant; anything else is no layout.
    void layoutNamed_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("label");        // empty: no layout
        QTest::addColumn<QByteArray>("identifier");
        QTest::addColumn<QString>("q");            // what the Q key types
        QTest::newRow("identifier") << QByteArray("00000419") << "RU" << QByteArray("00000419") << QStringLiteral("й");
        QTest::newRow("XKB name") << QByteArray("ru") << "RU" << QByteArray("00000419") << QStringLiteral("й");
        QTest::newRow("XKB name, variant kept") << QByteArray("ru(phonetic)") << "RU" << QByteArray("00000419") << QStringLiteral("я");
        QTest::newRow("unknown name") << QByteArray("xx") << "" << QByteArray() << QString();
        QTest::newRow("shell characters") << QByteArray("ru;ls") << "" << QByteArray("ru;ls") << QString();
        QTest::newRow("empty variant") << QByteArray("ru()") << "" << QByteArray("ru()") << QString();
        // clang-format on
    }
    void layoutNamed()
    {
        QFETCH(QByteArray, value);
        const KeyboardChoice c = ChooseKeyboard(value, "translate");
        QTEST(c.label, "label");
        QTEST(KeyboardIdentifierOf(value), "identifier");
        QTEST(c.translator ? c.translator->text(24, false, false, false) : QString(), "q");
    }

    void modeDecided_data()
    {
        // clang-format off
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("canSwitch");
        QTest::addColumn<bool>("known");
        QTest::addColumn<int>("mode");
        const int sw = int(KeyMode::Switch), tr = int(KeyMode::Translate), off = int(KeyMode::Off);
        QTest::newRow("auto, X11 with the group") << "auto" << true << true << sw;
        QTest::newRow("auto, Wayland") << "auto" << false << true << tr;
        QTest::newRow("empty is auto") << "" << false << true << tr;
        QTest::newRow("translate where it could switch") << "translate" << true << true << tr;
        QTest::newRow("switch where it cannot") << "switch" << false << true << off;
        QTest::newRow("off") << "Off" << true << true << off;
        QTest::newRow("no layout named") << "auto" << true << false << off;
        // clang-format on
    }
    void modeDecided()
    {
        QFETCH(QString, setting);
        QFETCH(bool, canSwitch);
        QFETCH(bool, known);
        QTEST(int(DecideKeyMode(setting, canSwitch, known)), "mode");
    }

    void layoutOfIdentifier_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("layout");   // null: not an identifier
        const QList<QPair<const char*, const char*>> rows = {
            {"00000419", "ru"}, {"00000409", "us"}, {"00000809", "gb"}, {"00000407", "de"},
            {"0000040C", "fr"}, {"0000040c", "fr"}, {"00000410", "it"}, {"00000C0A", "es"},
            {"0000040A", "es"}, {"00000415", "pl"}, {"00000405", "cz"}, {"00000422", "ua"},
            {"00000402", "bg"}, {"00000408", "gr"}, {"0000041F", "tr"}, {"0000040D", "il"},
            {"00010419", "ru"},   // a layout variant keeps its language
            {"E0010411", "jp"},   // an IME keeps its language
            {"00000000", ""},     // well-formed, unknown language
            {"409", nullptr}, {"000004090", nullptr}, {"0000040G", nullptr}, {"+0000409", nullptr}};
        for (const auto& [id, layout] : rows)
            QTest::newRow(id) << QByteArray(id) << (layout ? QByteArray(layout) : QByteArray());
        // clang-format on
    }
    void layoutOfIdentifier()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, layout);
        const std::optional<quint16> lang = KeyboardLayoutLanguage(id);
        QCOMPARE(lang.has_value(), !layout.isNull());
        if (lang)
            QCOMPARE(XkbLayoutForLanguage(*lang), layout);
    }

    void identifierOfLayout_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QByteArray>("id");
        QTest::newRow("ru") << QByteArray("ru") << QByteArray("00000419");
        QTest::newRow("us") << QByteArray("us") << QByteArray("00000409");
        QTest::newRow("es is the usual one") << QByteArray("es") << QByteArray("0000040A");
        QTest::newRow("variant") << QByteArray("ru(phonetic)") << QByteArray("00000419");
        QTest::newRow("unknown") << QByteArray("epo") << QByteArray();
        // clang-format on
    }
    void identifierOfLayout()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QByteArray, id);
        QCOMPARE(IdentifierForXkbLayout(layout), id);
    }

    void identifierOfGroupName_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("id");
        QTest::newRow("plain") << "Russian" << QByteArray("00000419");
        QTest::newRow("variant") << "Russian (phonetic)" << QByteArray("00000419");
        QTest::newRow("regional variant") << "English (US, intl., with dead keys)" << QByteArray("00000409");
        QTest::newRow("longest stem") << "Portuguese (Brazil, nativo)" << QByteArray("00000416");
        QTest::newRow("no partial word") << "Russianish" << QByteArray();
        QTest::newRow("unknown") << "Esperanto" << QByteArray();
        // clang-format on
    }
    void identifierOfGroupName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, id);
        QCOMPARE(IdentifierForXkbGroupName(name), id);
    }

    void rulesNames()
    {
        QCOMPARE(LayoutsFromRulesNames(bytes("evdev\0pc105\0us,ru\0,phonetic\0grp:alt_shift_toggle\0")),
                 (QByteArrayList{"us", "ru"}));
        QCOMPARE(LayoutsFromRulesNames(bytes("evdev\0pc105\0de\0\0")), QByteArrayList{"de"});
        QVERIFY(LayoutsFromRulesNames(bytes("evdev\0pc105")).isEmpty());
    }

    // The layout chosen in the Configuration dialog, from the system's list,
    // stored in the descriptor with its other keys kept.
    void layoutSaved_data()
    {
        // clang-format off
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("withList");
        QTest::addColumn<QString>("stored"); // "!": refused, the old value kept
        QTest::newRow("a layout") << "ru" << true << "ru";
        QTest::newRow("a variant") << "ru(phonetic)" << true << "ru(phonetic)";
        QTest::newRow("a Windows identifier") << "00000419" << true << "00000419";
        QTest::newRow("none") << "" << true << "";
        QTest::newRow("not in the list") << "xx(yy)" << true << "!";
        QTest::newRow("no list: any well-formed name") << "xx(yy)" << false << "xx(yy)";
        QTest::newRow("no list: not a name") << "ru;rm -rf" << false << "!";
        // clang-format on
    }
    void layoutSaved()
    {
        QTemporaryDir dir;
        const QString lst = dir.filePath("evdev.lst"), ini = dir.filePath("d.ini");
        QFile f(lst);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("! model\n  pc105           Generic 105-key PC\n\n! layout\n  us              English (US)\n"
                "  ru              Russian\n\n! variant\n  phonetic        ru: Russian (phonetic)\n"
                "  intl            us: English (US, intl., with dead keys)\n\n! option\n  grp                  "
                "Switching\n");
        f.close();
        const QList<XkbLayoutChoice> known = SystemLayouts(lst);
        QStringList names;
        for (const XkbLayoutChoice& c : known)
            names << c.name + u'=' + c.description;
        QCOMPARE(names,
                 (QStringList{"us=English (US)", "us(intl)=English (US, intl., with dead keys)", "ru=Russian",
                              "ru(phonetic)=Russian (phonetic)"}));
        QFile d(ini);
        QVERIFY(d.open(QIODevice::WriteOnly) && d.write("[main]\r\nname=Russian\r\nkeyboard_layout=de\r\n") > 0);
        d.close();
        QFETCH(QString, chosen);
        QFETCH(bool, withList);
        QFETCH(QString, stored);
        const Status saved = SaveKeyboardLayout(ini, chosen, withList ? known : QList<XkbLayoutChoice>());
        QCOMPARE(bool(saved), stored != u"!");
        if (!saved)
            QVERIFY2(saved.error().contains(chosen), qPrintable(saved.error()));
        const Descriptor read = ReadDescriptor(ini);
        QCOMPARE(read.keyboardLayout.value_or("?"), stored == u"!" ? QStringLiteral("de") : stored);
        QCOMPARE(read.name.value_or("?"), QStringLiteral("Russian"));
    }

    void activationRemembered()
    {
        QCOMPARE(ActiveKeyboardLayoutName(), QByteArray("00000409"));
        QVERIFY(LoadKeyboardLayout("0000040c"));
        QCOMPARE(ActiveKeyboardLayoutName(), QByteArray("0000040C"));
        QVERIFY(!LoadKeyboardLayout("409"));
        QVERIFY(!LoadKeyboardLayout("0000041G"));
        QCOMPARE(ActiveKeyboardLayoutName(), QByteArray("0000040C"));
        QVERIFY(LoadKeyboardLayout("00000000")); // well-formed though unknown
        QCOMPARE(ActiveKeyboardLayoutName(), QByteArray("00000000"));
    }
};

QTEST_GUILESS_MAIN(TestKeyboard)
#include "test_keyboard.moc"
