// lexifol-index ocr: a copy of a scan whose pages carry the text Tesseract
// reads on them. Each page recognised is kept beside the output until the
// copy is complete, so a run cut short resumes where it stopped; the output
// appears only whole.
#include "cli/Commands.h"

#include "base/AtomicFile.h"
#include "base/TextFile.h"
#include "djvu/Document.h"
#include "djvu/TextLayerWrite.h"
#include "ocr/Recogniser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <atomic>
#include <thread>

namespace lexifol::cli {

namespace {

// Larger than any printed page at 600 dpi: an image that would take
// gigabytes to hold is refused, not drawn.
constexpr qint64 kMostPixels = qint64(20000) * 20000;

struct Job {
    QString scan;
    QString folder; // the pages recognised so far
    QString languages;
    QList<int> pages; // still to recognise, counted from 0
};

QString PageFile(const QString& folder, int page)
{
    return folder + QStringLiteral("/page-%1.txt").arg(page + 1, 5, 10, QLatin1Char('0'));
}

// The page drawn as Tesseract reads best: at its own resolution, or 300 dpi
// when it has less.
Status RecognisePage(djvu::Document& doc, ocr::Recogniser& engine, int page, const QString& file)
{
    int dpi = 0;
    const Result<QSize> size = doc.pageSize(page, &dpi);
    if (!size)
        return Status::failure(size.error());
    dpi = dpi > 0 ? dpi : 300;
    const int readDpi = std::max(dpi, 300);
    const double scale = double(readDpi) / dpi;
    const QSize drawn(qRound(size->width() * scale), qRound(size->height() * scale));
    if (qint64(drawn.width()) * drawn.height() > kMostPixels)
        return Status::failure(QStringLiteral("page %1 is too large to recognise (%2 x %3 pixels)")
                                   .arg(page + 1)
                                   .arg(drawn.width())
                                   .arg(drawn.height()));
    const Result<QImage> image = doc.render(page, drawn);
    if (!image)
        return Status::failure(image.error());
    const Result<QString> text = engine.recognise(image.value(), readDpi, scale, size.value());
    if (!text)
        return Status::failure(QStringLiteral("page %1: %2").arg(page + 1).arg(text.error()));
    return WriteFileAtomically(file, text->toUtf8(), Durability::Unsynced);
}

QString Duration(double seconds)
{
    const int s = int(seconds);
    return s >= 3600 ? QStringLiteral("%1 h %2 min").arg(s / 3600).arg(s / 60 % 60)
                     : QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
}

// Recognises the job's pages on `jobs` threads, each with its own engine and
// its own reader of the document; the first failure stops the others.
Status RunWorkers(const Job& job, int jobs, Streams& io)
{
    std::atomic<int> next{0}, done{0};
    std::atomic<bool> failed{false};
    QMutex lock;
    QString failure;
    QElapsedTimer clock;
    clock.start();
    auto work = [&] {
        auto fail = [&](const QString& why) {
            const QMutexLocker hold(&lock);
            if (!failed.exchange(true))
                failure = why;
        };
        auto engine = ocr::Recogniser::create(job.languages);
        auto doc = djvu::Document::open(job.scan);
        if (!engine || !doc)
            return fail(!engine ? engine.error() : doc.error());
        for (int i; !failed && (i = next++) < job.pages.size();) {
            const int page = job.pages[i];
            if (const Status s = RecognisePage(*doc.value(), *engine.value(), page, PageFile(job.folder, page)); !s)
                return fail(s.error());
            const int n = ++done;
            const QMutexLocker hold(&lock);
            const double perMinute = n * 60000.0 / std::max<qint64>(1, clock.elapsed());
            io.err << (io.progress ? "\r" : "") << "ocr: " << n << " of " << job.pages.size() << " pages, "
                   << QString::number(perMinute, 'f', 1) << " pages/min, "
                   << Duration((job.pages.size() - n) * 60.0 / perMinute) << " left" << (io.progress ? "" : "\n");
            io.err.flush();
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < jobs; ++t)
        threads.emplace_back(work);
    for (std::thread& t : threads)
        t.join();
    if (io.progress)
        io.err << "\n";
    return failed ? Status::failure(failure) : Status();
}

// The whole document written through the atomic writer: a copy cut short
// never stands at the output's name.
Status MoveInto(const QString& made, const QString& target)
{
    QFile in(made);
    if (!in.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Cannot read %1: %2").arg(made, in.errorString()));
    const Status written = WriteFileAtomically(target, [&in](QByteArray& piece) {
        piece = in.read(4 << 20);
        return !piece.isEmpty();
    });
    in.close();
    QFile::remove(made);
    return written;
}

// The pages of [first, last) to read: a page with its own text is kept
// unless forced; one read by an earlier run is not read again. Returns how
// many were kept.
int PlanPages(const djvu::Document& doc, int first, int last, bool force, Job& job, QMap<int, QString>& layers)
{
    int kept = 0;
    for (int page = first; page < last; ++page) {
        if (!force) {
            const Result<djvu::TextLayer> own = doc.pageText(page, true);
            if (own && own->present && !own->words.isEmpty()) {
                ++kept;
                continue;
            }
        }
        layers.insert(page, PageFile(job.folder, page));
        if (!QFileInfo(layers[page]).isFile())
            job.pages << page;
    }
    return kept;
}

// The scan's copy with the pages' layers, made beside the target first.
Status WriteCopy(const QString& scan, const QMap<int, QString>& layers, const QString& target)
{
    const QString made = target + QStringLiteral(".part");
    Status written = djvu::WriteTextLayers(scan, layers, made);
    if (written)
        written = MoveInto(made, target);
    if (!written)
        QFile::remove(made);
    return written;
}

bool ParsePages(const QString& range, int count, int& first, int& last)
{
    first = 1, last = count;
    if (range.isEmpty())
        return true;
    bool ok1 = true, ok2 = true;
    first = range.section(u'-', 0, 0).toInt(&ok1);
    last = range.contains(u'-') ? range.section(u'-', 1, 1).toInt(&ok2) : first;
    return ok1 && ok2 && first >= 1 && first <= last && last <= count;
}

} // namespace

int Ocr(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {"-o", "--lang", "--jobs", "--pages"}, {"--force"});
    if (!o.error.isEmpty() || o.positional.size() != 1 || !o.values.contains("-o")) {
        io.err
            << "usage: lexifol-index ocr SCAN.djvu -o OUT.djvu [--lang eng+rus] [--jobs N] [--pages A-B] [--force]\n";
        return 2;
    }
    Job job{o.positional[0], {}, o.values.value("--lang"), {}};
    const QString target = o.values.value("-o");
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(job.scan).absoluteFilePath()) {
        io.err << "lexifol-index ocr: the output would replace the scan; the scan is never modified\n";
        return 2;
    }
    if (job.languages.isEmpty())
        job.languages = ocr::LanguageOfLocale(ChosenLocale());
    if (job.languages.isEmpty())
        job.languages = QStringLiteral("eng");
    if (const QStringList missing = ocr::MissingLanguages(job.languages); !missing.isEmpty()) {
        io.err << "lexifol-index ocr: no Tesseract data for " << missing.join(u'+') << ": install "
               << ocr::LanguagePackage(missing[0]) << "\n";
        return 2;
    }
    const auto doc = djvu::Document::open(job.scan);
    if (!doc) {
        io.err << "lexifol-index ocr: " << doc.error() << "\n";
        return 2;
    }
    int first = 0, last = 0;
    if (!ParsePages(o.values.value("--pages"), doc.value()->pageCount(), first, last)) {
        io.err << "lexifol-index ocr: --pages must be A-B within 1-" << doc.value()->pageCount() << "\n";
        return 2;
    }
    job.folder = target + QStringLiteral(".pages");
    if (!QDir().mkpath(job.folder)) {
        io.err << "lexifol-index ocr: cannot make " << job.folder << "\n";
        return 2;
    }
    QMap<int, QString> layers;
    const int kept = PlanPages(*doc.value(), first - 1, last, o.flags.contains("--force"), job, layers);
    const int resumed = int(layers.size() - job.pages.size());
    if (resumed > 0)
        io.err << "ocr: " << resumed << " pages recognised before, going on\n";
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int jobs = std::clamp(o.values.value("--jobs", QString::number(cores)).toInt(), 1, 64);
    if (const Status s = RunWorkers(job, std::min<int>(jobs, std::max<int>(1, job.pages.size())), io); !s) {
        io.err << "lexifol-index ocr: " << s.error() << " (the pages recognised are kept for the next run)\n";
        return 1;
    }
    if (const Status written = WriteCopy(job.scan, layers, target); !written) {
        io.err << "lexifol-index ocr: " << written.error() << "\n";
        return 1;
    }
    QDir(job.folder).removeRecursively();
    io.out << "ocr: " << layers.size() << " pages recognised, " << kept << " kept with their own text, written "
           << QDir::toNativeSeparators(target) << "\n";
    return 0;
}

int MakeDictionary(const QStringList& args, Streams& io)
{
    const Options o = ParseOptions(args, {"-o", "--name", "--lang", "--jobs"}, {});
    if (!o.error.isEmpty() || o.positional.size() != 1 || !o.values.contains("-o") || !o.values.contains("--name")) {
        io.err << "usage: lexifol-index make-dictionary SCAN.djvu -o DATA_FOLDER --name NAME [--lang L] [--jobs N]\n";
        return 2;
    }
    const QString scan = o.positional[0], data = QDir::cleanPath(o.values.value("-o")), name = o.values.value("--name");
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.')) {
        io.err << "lexifol-index: --name " << name << ": not a dictionary name\n";
        return 2;
    }
    const auto doc = djvu::Document::open(scan);
    if (!doc) {
        io.err << "lexifol-index: " << doc.error() << "\n";
        return 2;
    }
    int bare = 0;
    for (int page = 0; page < doc.value()->pageCount(); ++page)
        if (const auto layer = doc.value()->pageText(page, true); !layer || !layer->present || layer->words.isEmpty())
            ++bare;
    QString document = scan;
    if (bare > 0) {
        // Read straight into the dictionary's place: the page index takes it there.
        const QString folder = data + u'/' + name + QStringLiteral(".files");
        document = folder + u'/' + name + QStringLiteral(".djvu");
        QStringList ocrArgs{scan, "-o", document};
        for (const char* option : {"--lang", "--jobs"})
            if (o.values.contains(option))
                ocrArgs << option << o.values.value(option);
        if (!QDir().mkpath(folder)) {
            io.err << "lexifol-index: cannot make " << folder << "\n";
            return 2;
        }
        io.err << name << ": " << bare << " of " << doc.value()->pageCount() << " pages have no text; reading them\n";
        if (const int code = Ocr(ocrArgs, io); code != 0)
            return code;
    }
    const int indexed = MakePageIndex({document, "-o", data, "--name", name}, io);
    if (indexed > 1)
        return indexed;
    if (const int searchable = TextIndexCommand({data, name}, io); searchable != 0)
        return searchable;
    io.out << name << ": made in " << QDir::toNativeSeparators(data)
           << (bare ? QStringLiteral(", %1 pages read by OCR").arg(bare) : QString())
           << (indexed ? ", pages in doubt listed in " + name + ".review.tsv" : QString()) << "\n";
    return indexed;
}

} // namespace lexifol::cli
