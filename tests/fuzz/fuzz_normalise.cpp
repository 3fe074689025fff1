// Normalisation with a fuzzed rule list (input: rules, 0xFF, text) against a
// rule-by-rule reading of the list that bypasses the per-unit table.
#include "FuzzCheck.h"
#include "index/IndexOps.h"
#include "index/Replacement.h"

#include <QStringDecoder>

using namespace lexifol;

namespace {
QString Reference(const QString& text, const ReplacementList& rules)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QByteArray* line = c.isSurrogate() ? nullptr : rules.ruleFor(QString(c).toUtf8());
        if (!line) {
            out += c;
            continue;
        }
        QStringDecoder strict(QStringDecoder::Utf8,
                              QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QString r = strict.decode(*line);
        if (strict.hasError()) {
            out += c; // a malformed line changes nothing
            continue;
        }
        const QString v = r.mid(2);
        if (v.isEmpty())
            continue;
        if (v.size() >= 3 && v.startsWith(QStringLiteral("f/")))
            out += i == 0 ? v.mid(2) : QString(c);
        else
            out += v;
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray ruleBytes, textBytes;
    FuzzSplit(FuzzBytes(data, size), ruleBytes, textBytes);
    ReplacementList rules;
    rules.setBytes(ruleBytes);
    const QString text = QString::fromUtf8(textBytes);
    FUZZ_CHECK(NormaliseHeadword(text, rules) == (rules.isEmpty() ? text : Reference(text, rules)));
    return 0;
}
