// Drawing helpers shared by the picture families.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace tallow::art {

// The CJK face every caption is drawn in.
inline constexpr const char* kFontFamily = "WenQuanYi Zen Hei";

QFont ArtFont(double pixelSize, bool bold = false);

// How text is scaled into its box: by the ink of the glyphs or by the font's em box (which keeps
// a thin glyph such as 一 thin), either uniformly or stretched to the box on both axes.
enum class Fit { Ink, InkStretch, Em, EmStretch };

// The outline of `text`, scaled into `box` and centred there.
QPainterPath FittedText(const QString& text, const QRectF& box, Fit fit = Fit::Ink);

// Fills the fitted text, optionally outlined first (outline drawn under the fill).
void DrawFittedText(QPainter& p, const QString& text, const QRectF& box, const QColor& fill,
                    const QColor& outline = Qt::transparent, double outlineWidth = 0,
                    Fit fit = Fit::Ink);

// A vertical two-stop gradient brush over `r`.
QBrush VerticalGradient(const QRectF& r, const QColor& top, const QColor& bottom);

// A glossy rounded plate: gradient body, light upper sheen, border.
void DrawPlate(QPainter& p, const QRectF& r, double radius, const QColor& top, const QColor& bottom,
               const QColor& border, double borderWidth = 1.0);

}  // namespace tallow::art
