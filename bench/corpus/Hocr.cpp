#include "Hocr.h"

#include <QRect>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace corpus {

namespace {

struct Zone {
    QString type;
    QRect box;
    QString text;
    QList<Zone> children;
};

const char* ZoneType(const QString& hocrClass)
{
    if (hocrClass == u"ocr_carea")
        return "column";
    if (hocrClass == u"ocr_par")
        return "para";
    if (hocrClass == u"ocr_line" || hocrClass == u"ocr_header" || hocrClass == u"ocr_caption"
        || hocrClass == u"ocr_textfloat")
        return "line";
    if (hocrClass == u"ocrx_word")
        return "word";
    return nullptr;
}

QRect Bbox(const QString& title)
{
    static const QRegularExpression bbox(QStringLiteral("bbox (\\d+) (\\d+) (\\d+) (\\d+)"));
    const auto m = bbox.match(title);
    return m.hasMatch() ? QRect(QPoint(m.captured(1).toInt(), m.captured(2).toInt()),
                                QPoint(m.captured(3).toInt() - 1, m.captured(4).toInt() - 1))
                        : QRect();
}

QString Quote(const QString& s)
{
    QString q = s;
    q.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + q + u'"';
}

void Write(const Zone& z, int height, QString& out)
{
    if (z.type == u"word" && z.text.trimmed().isEmpty())
        return;
    out += QStringLiteral("(%1 %2 %3 %4 %5")
               .arg(z.type)
               .arg(z.box.left())
               .arg(height - z.box.bottom() - 1)
               .arg(z.box.right() + 1)
               .arg(height - z.box.top());
    if (z.type == u"word")
        out += u' ' + Quote(z.text.trimmed());
    for (const Zone& c : z.children)
        out += u'\n', Write(c, height, out);
    out += u')';
}

} // namespace

QString HocrToDjvuText(const QByteArray& hocr, QSize page)
{
    QXmlStreamReader xml(hocr);
    Zone root{QStringLiteral("page"), QRect(QPoint(0, 0), page), {}, {}};
    QList<Zone*> stack{&root};
    QList<bool> pushed; // per open element: whether it opened a zone
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const char* type = ZoneType(xml.attributes().value(QStringLiteral("class")).toString());
            if (type) {
                stack.last()->children.append(Zone{QString::fromLatin1(type),
                                                   Bbox(xml.attributes().value(QStringLiteral("title")).toString()),
                                                   {},
                                                   {}});
                stack.append(&stack.last()->children.last());
            }
            pushed.append(type != nullptr);
        } else if (token == QXmlStreamReader::Characters && stack.last()->type == u"word") {
            stack.last()->text += xml.text();
        } else if (token == QXmlStreamReader::EndElement && !pushed.isEmpty()) {
            if (pushed.takeLast())
                stack.removeLast();
        }
    }
    // A page OCR found no word on (a plate) has no text layer.
    QString out;
    Write(root, page.height(), out);
    return out.contains(QStringLiteral("(word ")) ? out + u'\n' : QString();
}

} // namespace corpus
