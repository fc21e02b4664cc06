#include "app/DesignFonts.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleOption>
#include <QStyleFactory>
#include <QtMath>

namespace designfonts {

namespace {

// Buttons of the design have captions that fill them: Qt's default margins
// would cut "スライドショー" in its 73-pixel button. An option button or a
// check box answers clicks over its whole designed place, and tells
// assistive tools that place: Qt's styles take only the mark and the text,
// so "時計方向" was 72 px wide in its 89.
class DesignStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_ButtonMargin)
            return 2;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override
    {
        if (element == SE_RadioButtonClickRect || element == SE_CheckBoxClickRect)
            return option->rect;
        return QProxyStyle::subElementRect(element, option, widget);
    }
};

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
} // namespace

void install()
{
    QFont::insertSubstitutions(kGothic, {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic")});
    QFont::insertSubstitutions(kPGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    // A narrow heavy face keeps "Impact" captions inside their labels.
    QFont::insertSubstitutions(QStringLiteral("Impact"),
                               {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")});
    QApplication::setFont(uiFont());
    QApplication::setStyle(new DesignStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
}

QFont font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPixelSize(qRound(points * 96.0 / 72.0));
    f.setBold(bold);
    return f;
}

QFont uiFont(double points, bool bold)
{
    return font(kPGothic, points, bold);
}

} // namespace designfonts
