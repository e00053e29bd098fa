// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSubstitutes.h"

#include <QApplication>
#include <QDir>
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
    [[maybe_unused]] static const bool loaded = [] {
        // The stand-ins the Windows package ships beside the program.
        const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
        for (const QString &name : shipped.entryList({QStringLiteral("*.ttf")}, QDir::Files))
            QFontDatabase::addApplicationFont(shipped.filePath(name));

        // A bitmap face draws at a few sizes only, and not every system can
        // make it bold (Wine's own "MS Sans Serif" draws regular): every
        // control draws with outline faces, so that a designed face that is
        // there only as a bitmap gives way to its stand-in.
        QFont outlines = QApplication::font();
        outlines.setStyleStrategy(QFont::ForceOutline);
        QApplication::setFont(outlines);
        return true;
    }();

    const struct {
        const char *designed;
        QStringList standIns;
    } faces[] = {
        {"MS Sans Serif", {"Liberation Sans Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}},
        {"Nina", {"Liberation Sans Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}},
    };
    for (const auto &face : faces) {
        const QString designed = QString::fromLatin1(face.designed);
        const bool drawable = QFontDatabase::hasFamily(designed) && QFontDatabase::isSmoothlyScalable(designed);
        if (!drawable && QFont::substitutes(designed).isEmpty())
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
