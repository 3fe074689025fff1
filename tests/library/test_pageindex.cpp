// The page index proposed from a text layer: which word of a page is its
// first headword (guide words of the running head, else the first article
// of the first column, never a page number, a section letter or a piece of
// a hyphenated word), and how the collation repairs or flags the order.
#include "Files.h"
#include "index/IndexOps.h"
#include "base/TextFile.h"
#include "library/LetterRuns.h"
#include "library/PageIndexFix.h"
#include "library/PageIndexMaker.h"

#include <QTemporaryDir>

#include <QtTest>

using namespace lexifol;

namespace {

// A page 1000 x 1400; each line "x,y:words". The body starts at y 200.
djvu::TextLayer Layer(const QStringList& lines)
{
    djvu::TextLayer layer;
    layer.present = !lines.isEmpty();
    layer.pageSize = QSize(1000, 1400);
    for (const QString& written : lines) {
        const QStringList at = written.section(u':', 0, 0).split(u',');
        const int x = at[0].toInt(), y = at[1].toInt();
        const QStringList words = written.section(u':', 1).split(u' ', Qt::SkipEmptyParts);
        djvu::TextLine line;
        line.first = int(layer.words.size());
        line.count = int(words.size());
        int wx = x;
        for (const QString& w : words) {
            // A speck OCR reads as a mark is as small as it is.
            const bool speck = w.size() == 1 && !w[0].isLetterOrNumber() && w != u"&";
            layer.words.append({w, speck ? QRect(wx, y + 18, 6, 6) : QRect(wx, y, 20 * int(w.size()), 24)});
            wx += 20 * int(w.size()) + 12;
        }
        line.box = QRect(x, y, wx - x, 24);
        layer.lines.append(line);
    }
    return layer;
}

const QStringList kBody = {"40,200:apple n. a fruit", "40,230:apricot n. a fruit", "40,260:arm n. a limb",
                           "520,200:art n. skill", "520,230:ash n. a tree"};

} // namespace

class PageIndexTest : public QObject
{
    Q_OBJECT
private slots:
    void proposal_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("lastGuide");
        QTest::addColumn<bool>("doubt");
        QTest::newRow("guide words, number between") << (QStringList{"40,40:apple 12 ash"} + kBody) << "apple" << "ash" << false;
        QTest::newRow("guide words, number before") << (QStringList{"40,40:12 apple ash"} + kBody) << "apple" << "ash" << false;
        QTest::newRow("guide words, number after") << (QStringList{"40,40:apple ash 12"} + kBody) << "apple" << "ash" << false;
        QTest::newRow("one guide word") << (QStringList{"40,40:apple 12"} + kBody) << "apple" << "" << false;
        QTest::newRow("roman page number") << (QStringList{"40,40:xii apple ash"} + kBody) << "apple" << "ash" << false;
        QTest::newRow("a word of roman letters") << QStringList{"40,40:civil 12 dim", "40,200:civil n. polite", "40,230:claim v. ask", "40,260:dim a. dark"} << "civil" << "dim" << false;
        QTest::newRow("no head: the first article, not the end of the last")
            << QStringList{"90,200:of the last page", "40,230:apple n. a fruit", "40,260:apricot n.", "90,290:more",
                           "520,200:art n."}
            << "apple" << "" << false;
        QTest::newRow("no head: section letter and hyphen skipped")
            << QStringList{"40,200:B", "40,230:bal-", "40,260:bank n. a shore", "40,290:bar n.", "520,200:bat n."}
            << "bank" << "" << false;
        QTest::newRow("no head: a first article read with a digit, the next taken, in doubt")
            << QStringList{"40,200:Cr2O3, n. an oxide", "90,230:of chromium", "40,260:crab n. a shellfish", "40,290:crane n.",
                           "520,200:crate n."}
            << "crab" << "" << true;
        QTest::newRow("no head: hyphens passed over in the page's own order")
            << QStringList{"40,200:fleabane n. a plant", "90,230:of the daisy kind", "40,260:flea-beetle n. a beetle",
                           "40,290:flea-bite n. a bite", "520,200:fleam n. a lancet"}
            << "fleabane" << "" << false;
        QTest::newRow("no head: a capital among small letters, in doubt")
            << QStringList{"40,200:AceraGeae, n. a family", "90,230:of maples", "40,260:acerate a. needle-shaped", "40,290:acerb a.",
                           "520,200:acetic a."}
            << "AceraGeae" << "" << true;
        QTest::newRow("head of a page number only") << (QStringList{"40,40:12"} + kBody) << "apple" << "" << false;
        // Heads as OCR gives them.
        QTest::newRow("a dash between the guide words") << (QStringList{"40,40:apple — ash 57"} + kBody) << "apple" << "ash" << false;
        QTest::newRow("a dash run into the second guide word")
            << QStringList{"40,40:57 APRICOT —ASH", "40,200:apricot n. a fruit", "80,230:of a tree and", "80,260:its kind",
                           "520,200:of the rose family", "520,230:in warm lands"} << "apricot" << "ASH" << false;
        QTest::newRow("specks read as letters either side of the guide words")
            << (QStringList{"40,40:30. 2 Of ° APPLE —ASH . OO ."} + kBody) << "apple" << "ASH" << false;
        QTest::newRow("a prefix keeps its hyphen")
            << QStringList{"40,200:Un-, a prefix meaning not", "40,230:unable a. not able", "40,260:unarmed a. bare",
                           "520,200:unbent a. straight", "520,230:uncle n. a relative"} << "Un-" << "" << false;
        QTest::newRow("no head: a first article out of order with the next ones")
            << QStringList{"40,200:Single shell n. a shell", "40,230:jingled v. rang", "40,260:jingler n. one",
                           "520,200:jingly a. ringing", "520,230:jinks n. pranks"} << "jingled" << "" << true;
        QTest::newRow("a colon after the number") << (QStringList{"40,40:244 : APPLE"} + kBody) << "apple" << "" << false;
        QTest::newRow("specks beside the number") << (QStringList{"40,40:250° _ , apple ash"} + kBody) << "apple" << "ash" << false;
        QTest::newRow("a speck after the number") << (QStringList{"40,40:apple ash 229 ."} + kBody) << "apple" << "ash" << false;
        QTest::newRow("guide words of several words")
            << QStringList{"40,40:Black 464 black and white", "40,200:Black n. a colour", "40,230:black and white, a. print",
                           "40,260:blade n. an edge"}
            << "Black" << "black and white" << false;
        QTest::newRow("one guide word, the page's last") << (QStringList{"40,40:ASH : 245"} + kBody) << "apple" << "ASH" << false;
        QTest::newRow("a speck before the headword")
            << QStringList{"8,200:. apple n. a fruit", "56,230:round and red", "8,260:‘ apricot n.", "56,290:more of it",
                           "40,320:arm n.", "520,200:art n."}
            << "apple" << "" << false;
        QTest::newRow("the short last line of an article on top is no head")
            << QStringList{"56,200:tax. [Obs.]", "40,230:apple n. a fruit", "56,260:round and red", "40,290:apricot n.",
                           "56,320:more", "40,350:arm n. a limb"}
            << "apple" << "" << false;
        QTest::newRow("a narrow hanging indent measured on the page")
            << QStringList{"52,200:occupation of a", "40,230:apple n. a fruit", "52,260:magistrate or", "40,290:apricot n.",
                           "52,320:more", "40,350:arm n.", "532,200:the rest", "520,230:art n."}
            << "apple" << "" << false;
        QTest::newRow("articles that begin indented")
            << QStringList{"40,200:of the last entry", "70,230:apple n. fruit", "40,260:round and red", "70,290:apricot n.",
                           "40,320:orange kind", "70,350:arm n.", "40,380:limb of", "70,410:art n."}
            << "apple" << "" << false;
        QTest::newRow("a guide word of several words among specks")
            << QStringList{"40,40:so _ CHANCELLOR OF THE DUCHY OF LANCASTER wo, : . 257 CHANGE",
                           "40,200:Chancellor of the Duchy of Lancaster, n. an officer", "40,230:chandler n. a seller",
                           "40,260:change v. alter"}
            << "Chancellor of the Duchy of Lancaster" << "CHANGE" << false;
        QTest::newRow("a dash run into the head's words")
            << QStringList{"40,40:WANTON—WAR ot . 257", "40,200:Wanton v. to play", "40,230:wany a. waning",
                           "40,260:war n. a fight"}
            << "Wanton" << "WAR" << false;
        QTest::newRow("head and body read apart: the reading the page repeats")
            << QStringList{"40,40:LEATHER JACKET 12 LEATHER TURTLE", "40,200:feather jacket, n. a fish",
                           "56,230:the leather jacket is", "40,260:leather leaf n. a plant", "56,290:more",
                           "40,320:leather turtle n."}
            << "leather jacket" << "LEATHER TURTLE" << false;
        QTest::newRow("head and body read apart, the page silent: in doubt")
            << QStringList{"40,40:LEATHER JACKET 12 LEATHER TURTLE", "40,200:feather jacket, n. a fish",
                           "56,230:the one is", "40,260:leather leaf n. a plant", "56,290:more",
                           "40,320:leather turtle n."}
            << "feather jacket" << "LEATHER TURTLE" << true;
        QTest::newRow("no head: a slip in the first article, the page spells it twice otherwise")
            << QStringList{"40,200:Moidings n. pl. shapes", "56,230:see cornice; moldings are", "40,260:moldy a. musty",
                           "56,290:like moldings", "40,320:mole n. a spot", "520,200:molt v. shed"}
            << "Moldings" << "" << true;
        QTest::newRow("no head: a word one slip away printed once is no proof")
            << QStringList{"40,200:Bonder n. one who bonds", "40,230:bondman n. a slave", "56,260:or border",
                           "40,290:bone n. a part", "520,200:bonfire n. a fire"}
            << "Bonder" << "" << false;
        QTest::newRow("a plate: no text") << QStringList{} << "" << "" << true;
        QTest::newRow("numbers only") << QStringList{"40,200:12", "40,230:13 14", "40,260:15", "520,200:16"} << "" << "" << true;
        // clang-format on
    }
    void proposal()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, word);
        QFETCH(QString, lastGuide);
        QFETCH(bool, doubt);
        QList<PageProposal> one{ProposePage(Layer(lines), 7)};
        CheckProposals(one, IndexCollation::Default());
        const PageProposal& p = one.first();
        QCOMPARE(p.page, 7);
        QCOMPARE(p.word, word);
        QCOMPARE(p.lastGuide, lastGuide);
        QCOMPARE(!p.doubt.isEmpty(), doubt);
    }

    // Each page: "word/lastGuide/other candidates[/second article[/first article left out]]";
    // what the check leaves:
    // "word" kept or replaced, "?" in doubt, "?word" in doubt with a word
    // that keeps the order (the index keeps it), "!" a new alphabet.
    void order_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("in order") << QStringList{"apple/ash/", "bank/bay/", "cat//"} << QStringList{"apple", "bank", "cat"};
        QTest::newRow("an OCR slip, the other candidate fits")
            << QStringList{"apple/ash/", "harik/bay/bank", "cat//"} << QStringList{"apple", "bank", "cat"};
        QTest::newRow("before the last guide word of the page before")
            << QStringList{"apple/bay/", "ash//", "cat//"} << QStringList{"apple", "?ash", "cat"};
        QTest::newRow("nothing fits")
            << QStringList{"apple/ash/", "aardvark//abacus", "cat//"} << QStringList{"apple", "?", "cat"};
        QTest::newRow("a second alphabet")
            << QStringList{"wall/zeal/", "zone//", "adams//", "baker//", "carter//"}
            << QStringList{"wall", "zone", "!adams", "baker", "carter"};
        QTest::newRow("one wrong page changes only itself")
            << QStringList{"apple//", "bank//", "zebra//", "cat//", "dog//", "egg//"} << QStringList{"apple", "bank", "?", "cat", "dog", "egg"};
        QTest::newRow("a title page first") << QStringList{"english//", "apple//", "bank//", "cat//"} << QStringList{"?", "apple", "bank", "cat"};
        QTest::newRow("two pages of front matter before many")
            << QStringList{"dictionary//", "preface//", "apple//", "arm//", "bank//", "bay//", "cat//", "cow//", "dog//", "egg//", "elm//", "fig//", "fir//", "gem//"}
            << QStringList{"?", "?", "apple", "arm", "bank", "bay", "cat", "cow", "dog", "egg", "elm", "fig", "fir", "gem"};
        QTest::newRow("a page its neighbours disagree on")
            << QStringList{"apple//", "cat//", "bank//", "bay//", "dog//"} << QStringList{"apple", "?", "bank", "bay", "dog"};
        QTest::newRow("the first article overruled by the order")
            << QStringList{"spanish//", "spade///spanning", "sparer//"} << QStringList{"spanish", "?spanning", "sparer"};
        QTest::newRow("hyphens the book orders letter by letter")
            << QStringList{"halfcocking//", "half-decked//", "halfpenny/sheep's beard/", "sheepskin//"}
            << QStringList{"halfcocking", "half-decked", "halfpenny", "sheepskin"};
        QTest::newRow("a letter misread that the words around spell")
            << QStringList{"visible/vision purple/", "tision purple///visional", "visionary//"}
            << QStringList{"visible", "?vision purple", "visionary"};
        QTest::newRow("a headword again, misread, as the page before ended")
            << QStringList{"black/black walnut/", "black wainut///black warrior", "blade//"}
            << QStringList{"black", "?black walnut", "blade"};
        QTest::newRow("the page before's last word misread, the page's own kept")
            << QStringList{"exasperant/exaspetate/", "exasperate///exasperater", "exhale//"}
            << QStringList{"exasperant", "?exasperate", "exhale"};
        QTest::newRow("a first article left out, spelt by the words around")
            << QStringList{"reclaim/recognisable/", "recognise///recognition/tecognisance", "recognosce//"}
            << QStringList{"reclaim", "?recognisance", "recognosce"};
        QTest::newRow("a page without text leaves the order to its neighbours")
            << QStringList{"apple/ash/", "//", "bank//"} << QStringList{"apple", "", "bank"};
        // clang-format on
    }
    void order()
    {
        QFETCH(QStringList, pages);
        QFETCH(QStringList, expected);
        QList<PageProposal> proposals;
        for (int i = 0; i < pages.size(); ++i) {
            const QStringList f = pages[i].split(u'/');
            PageProposal p;
            p.page = i + 1;
            p.word = f[0];
            p.lastGuide = f[1];
            p.others = f[2].split(u' ', Qt::SkipEmptyParts);
            // A fourth part: the page's second article, read less surely.
            if (f.size() > 3) {
                p.candidates = {{f[0], 1.0, true, {}, {}}, {f[3], 0.25, true, {}, {}}};
                p.firstArticles = {f[0], f[3]};
                p.passedOver = f.value(4);
            }
            proposals << p;
        }
        CheckProposals(proposals, *IndexCollation::ForLocale("en"));
        QStringList got;
        for (const PageProposal& p : proposals)
            got << (!p.doubt.isEmpty() ? u'?' + (p.ordered ? p.word : QString()) : p.restart ? u'!' + p.word : p.word);
        QCOMPARE(got, expected);
        // The review file lists exactly the pages in doubt.
        QCOMPARE(
            ReviewCount(ReviewFileBytes(proposals)),
            int(std::count_if(expected.begin(), expected.end(), [](const QString& e) { return e.startsWith(u'?'); })));
    }

    // A first article with letters together that the document has nowhere
    // else is sent to the review; one spelt as the document spells is not.
    void rareSpelling_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("spelt as the document spells") << "Acknowledgment" << false;
        QTest::newRow("misread into runs found nowhere else") << "Ackriowledgment" << true;
        QTest::newRow("a sign read for a letter") << "Acknowledgmënt" << true;
        QTest::newRow("too short to tell") << "Ab" << false;
    }
    void rareSpelling()
    {
        QFETCH(QString, first);
        QFETCH(bool, flagged);
        const djvu::TextLayer page = Layer({"40,200:" + first + ", n. owning of a debt", "40,230:acknowledge v. to own",
                                            "40,260:acorn n. a nut", "520,200:acre n. land"});
        const djvu::TextLayer other = Layer({"40,200:knowledge n. what is known", "40,230:ledge n. a shelf",
                                             "40,260:judgment n. a ruling", "520,200:axe n. a tool"});
        LetterRuns runs;
        runs.add(page);
        // The other pages of a dictionary, enough to tell a rare run.
        for (int i = 0; i < 400; ++i)
            runs.add(other);
        QList<PageProposal> pages{ProposePage(page, 1)};
        FlagRareSpellings(pages, runs);
        QCOMPARE(pages[0].word, first);
        QCOMPARE(!pages[0].candidates[0].unsure.isEmpty(), flagged);
    }

    // The pages in doubt counted, and the next after the page on view, from
    // the front again past the last.
    void pagesInDoubt_data()
    {
        // clang-format off
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("next");
        QTest::newRow("from before the first") << 0 << 2;
        QTest::newRow("from a page in doubt") << 2 << 5;
        QTest::newRow("between them") << 3 << 5;
        QTest::newRow("past the last: the first again") << 9 << 2;
        // clang-format on
    }
    void pagesInDoubt()
    {
        QFETCH(int, after);
        QFETCH(int, next);
        QTemporaryDir dir;
        const DictionaryPaths paths{dir.path() + "/", "P", {}};
        QDir().mkpath(paths.folder());
        QVERIFY(writeBytes(ReviewFilePath(paths),
                           "page\tproposal\tother candidates\twhy\n5\tx\t\ty\n2\t\t\tno text\n9\tz\t\ty\n"));
        const PagesInDoubt d = PagesInDoubtAfter(paths, after);
        QCOMPARE(d.count, 3);
        QCOMPARE(d.next, next);
    }

    // Correcting a page on the page: its line rewritten or put in, the order
    // kept or the change refused with nothing written, the second index
    // made again, the page struck off the review.
    void correction_data()
    {
        // clang-format off
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("lines");   // empty: refused
        QTest::newRow("a line rewritten") << 2 << "bay" << QStringList{"apple\t1", "bay\t2", "cat\t4"};
        QTest::newRow("a page without a line") << 3 << "bee" << QStringList{"apple\t1", "bank\t2", "bee\t3", "cat\t4"};
        QTest::newRow("after the last page") << 9 << "dog" << QStringList{"apple\t1", "bank\t2", "cat\t4", "dog\t9"};
        QTest::newRow("before an earlier page") << 2 << "ant" << QStringList{};
        QTest::newRow("after a later page") << 2 << "cow" << QStringList{};
        QTest::newRow("not a word") << 2 << "a\tb" << QStringList{};
        // clang-format on
    }
    void correction()
    {
        QFETCH(int, page);
        QFETCH(QString, word);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const DictionaryPaths paths{dir.path() + "/", "P", {}};
        QDir().mkpath(paths.folder());
        const QByteArray index = Utf16FileBytes({"apple\t1", "bank\t2", "cat\t4"});
        QVERIFY(writeBytes(paths.firstIndex(), index));
        QVERIFY(writeBytes(paths.replacementList(), "-=\r\n"));
        QVERIFY(
            writeBytes(ReviewFilePath(paths), "page\tproposal\tother candidates\twhy\n2\tbank\t\tx\n3\t\t\tno text\n"));
        const Status done = SetPageFirstWord(paths, page, word, *IndexCollation::ForLocale("en"));
        if (lines.isEmpty()) {
            QVERIFY(!done);
            QCOMPARE(readBytes(paths.firstIndex()), index); // nothing written
            return;
        }
        QVERIFY2(done, qPrintable(done.error()));
        IndexList first;
        QVERIFY(LoadFirstIndex(paths.firstIndex(), first));
        QStringList got;
        for (int i = 0; i < first.count(); ++i)
            got << first.line(i).toString();
        QCOMPARE(got, lines);
        IndexList second;
        QVERIFY(ReadSecondIndex(paths.secondIndex(), second));
        QCOMPARE(second.count(), first.count());
        QCOMPARE(NextPageInDoubt(paths), page == 2 ? 3 : page == 3 ? 2 : 2);
    }
};

QTEST_GUILESS_MAIN(PageIndexTest)
#include "test_pageindex.moc"
