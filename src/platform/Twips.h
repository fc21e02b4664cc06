#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace platform {

// Window designs are written in twips: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

[[nodiscard]] constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
[[nodiscard]] constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
[[nodiscard]] QRect twipsRect(int left, int top, int width, int height);

// Places a control at a designed position (left, top, width, height in twips).
void place(QWidget *control, int left, int top, int width, int height);

// The design platform's fixed-single frame: 3 px each side plus a 19 px
// title bar. Outer sizes in a design are of that frame, so the client area
// is 6 px narrower and 25 px lower, whatever our window manager draws.
inline constexpr int kFrameWidthPx = 6;
inline constexpr int kFrameHeightPx = 25;

// Sets a top-level window's client area from a designed outer size in twips.
void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips);
// Fixes a top-level window's client area at a designed size in twips.
void setClientSizeTwips(QWidget *window, int widthTwips, int heightTwips);
// The designed outer size of a window, in twips, read back from its client
// area; a window without a frame (the splash) is its client area.
[[nodiscard]] QSize outerSizeTwips(const QWidget *window);

// A top-level window's left and top edges (its outer frame), in twips.
[[nodiscard]] QPoint positionTwips(const QWidget *window);
// Moves a top-level window there, kept inside the available area of the
// screen it lands on (a desktop's panels excluded): a window never starts
// with part of its frame where the user cannot reach it.
void moveTwips(QWidget *window, int leftTwips, int topTwips);
// Moves a top-level window to the middle of an area given in twips (a
// screen, another window's outer rectangle), kept inside the screen.
void centreTwips(QWidget *window, const QRect &areaTwips);

// The primary screen's size in twips, for centring windows; empty without a screen.
[[nodiscard]] QSize screenSizeTwips();

} // namespace platform
