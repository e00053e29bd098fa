// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace FontSubstitutes {

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

} // namespace FontSubstitutes
