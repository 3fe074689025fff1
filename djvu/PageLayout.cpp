#include "djvu/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace lexifol {

ZoomSetting ParseZoom(const QString& zoom)
{
    ZoomSetting setting;
    QString z = zoom.trimmed().toLower();
    if (z == QLatin1StringView("page") || z == QLatin1StringView("stretch")) {
        setting.mode = ZoomSetting::FitPage;
    } else if (z == QLatin1StringView("one2one")) {
        setting.mode = ZoomSetting::OneToOne;
    } else {
        if (z.endsWith(u'%'))
            z.chop(1);
        bool ok = false;
        const double value = z.toDouble(&ok);
        if (ok && std::isfinite(value) && value > 0) {
            setting.mode = ZoomSetting::Percent;
            setting.percent = std::clamp(value, kMinZoomPercent, kMaxZoomPercent);
        }
    }
    return setting;
}

RenderPlan PlanRender(QSize pageSize, int pageDpi, const ZoomSetting& zoom, const ViewArea& view)
{
    RenderPlan plan;
    if (pageSize.isEmpty())
        return plan;
    const double pw = pageSize.width();
    const double ph = pageSize.height();
    // An unshown window has no useful size yet; render something sensible.
    const double aw = std::max(view.size.width(), 64);
    const double ah = std::max(view.size.height(), 64);
    double scale = 1.0;
    switch (zoom.mode) {
    case ZoomSetting::FitWidth:
        scale = aw / pw;
        if ((ph * scale > ah || view.column) && view.scrollBarExtent > 0 && aw > view.scrollBarExtent)
            scale = (aw - view.scrollBarExtent) / pw;
        break;
    case ZoomSetting::FitPage:
        scale = std::min(aw / pw, ah / ph);
        break;
    case ZoomSetting::OneToOne:
        scale = 1.0;
        break;
    case ZoomSetting::Percent:
        scale = zoom.percent / 100.0 * view.screenDpi / (pageDpi > 0 ? pageDpi : 300);
        break;
    }
    plan.display = QSize(std::max(1, int(std::lround(pw * scale))), std::max(1, int(std::lround(ph * scale))));
    plan.image = plan.display;
    const double pixels = double(plan.display.width()) * plan.display.height();
    if (pixels > double(kMaxRenderPixels)) {
        const double shrink = std::sqrt(double(kMaxRenderPixels) / pixels);
        plan.image = QSize(std::max(1, int(plan.display.width() * shrink)),
                           std::max(1, int(plan.display.height() * shrink)));
    }
    return plan;
}

double EffectivePercent(QSize pageSize, int pageDpi, QSize display, double screenDpi)
{
    if (pageSize.isEmpty() || screenDpi <= 0)
        return 100.0;
    const double scale = double(display.width()) / pageSize.width();
    return scale * (pageDpi > 0 ? pageDpi : 300) / screenDpi * 100.0;
}

int ResolvePageReference(const QString& reference, int count, const QHash<QString, int>& names)
{
    const QString ref = reference.trimmed();
    if (count <= 0)
        return -1;
    if (ref.isEmpty())
        return 0;
    const bool digits = std::all_of(ref.begin(), ref.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digits) {
        bool ok = false;
        const qlonglong n = ref.toLongLong(&ok);
        return ok && n >= 1 && n <= count ? int(n - 1) : -1;
    }
    if (auto it = names.constFind(ref); it != names.cend())
        return *it >= 0 && *it < count ? *it : -1;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        if (it.key().compare(ref, Qt::CaseInsensitive) == 0)
            return it.value() >= 0 && it.value() < count ? it.value() : -1;
    return -1;
}

} // namespace lexifol
