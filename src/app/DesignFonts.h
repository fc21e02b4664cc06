#pragma once

#include <QFont>
#include <QString>

namespace designfonts {

// The font names the windows ask for, mapped once at start-up to fonts a
// Debian machine has: without this Qt falls back to a font with no Japanese
// glyphs and captions show boxes.
void install();

// A font of the design: a family and a size in points as the design platform
// renders them at 96 dots per inch (sizes are kept in pixels so the layout
// does not move with the screen's reported resolution).
[[nodiscard]] QFont font(const QString &family, double points, bool bold = false);

// The windows' own default: "ＭＳ Ｐゴシック" 9 pt.
[[nodiscard]] QFont uiFont(double points = 9.0, bool bold = false);

} // namespace designfonts
