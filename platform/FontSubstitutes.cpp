// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace FontSubstitutes {

namespace {

const QString bannerFace = QStringLiteral("Nina");
constexpr double bannerRoomAboveLetters = 1.0 / 3.0;  // of the face's size

} // namespace

void install()
{
    const struct {
        const char *designed;
        QStringList standIns;
    } faces[] = {
        {"MS Sans Serif", {"Liberation Sans Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}},
        {"Nina", {"Liberation Sans Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}},
    };
    for (const auto &face : faces) {
        const QString designed = QString::fromLatin1(face.designed);
        if (!QFontDatabase::hasFamily(designed) && QFont::substitutes(designed).isEmpty())
            QFont::insertSubstitutions(designed, face.standIns);
    }
}

int textDrop(const QFont &font)
{
    const QFontInfo drawn(font);
    if (font.family() != bannerFace || drawn.family() == bannerFace)
        return 0;
    const QFontMetricsF metrics(font);
    const QRectF letters = metrics.tightBoundingRect(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZbdfhijklt0123456789"));
    const double room = metrics.ascent() + letters.top();  // top lies above the baseline, so is negative
    return static_cast<int>(std::lround(std::max(0.0, bannerRoomAboveLetters * drawn.pixelSize() - room)));
}

} // namespace FontSubstitutes
