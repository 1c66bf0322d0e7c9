// Step statistics and deviations in Danish number style, whatever the machine's locale: the texts are Danish.
#include "workspace/AccuracyTexts.h"

#include <QLocale>

#include <cmath>

namespace accuracy_texts {

namespace {

const QLocale& danish()
{
    static const QLocale Danish(QLocale::Danish, QLocale::Denmark);
    return Danish;
}

}  // namespace

QString count(long long n)
{
    return danish().toString(n);
}

QString shortNumber(double v, int digits)
{
    const double size = std::fabs(v);
    if (v == 0 || (size >= 0.01 && size < std::pow(10.0, digits)))
        return danish().toString(v, 'g', digits);
    if (size >= 1 && size < 1e6)
        return danish().toString(std::round(v), 'f', 0);
    // Scientific as the table cells write it: capital E, no plus sign, no leading zeros in the exponent.
    int exponent = static_cast<int>(std::floor(std::log10(size)));
    double mantissa = v / std::pow(10.0, exponent);
    const double unit = std::pow(10.0, digits - 1);
    if (std::fabs(std::round(mantissa * unit) / unit) >= 10) {  // 9.96 rounds up to the next power
        mantissa /= 10;
        ++exponent;
    }
    return danish().toString(mantissa, 'f', digits - 1) + "E" + QString::number(exponent);
}

QString summary(const tavlix::SolverStatistics& statistics)
{
    return QString("%1 skridt, %2 forkastet, mindste skridt %3")
        .arg(count(statistics.acceptedSteps), count(statistics.rejectedSteps), shortNumber(statistics.smallestStep));
}

}  // namespace accuracy_texts
