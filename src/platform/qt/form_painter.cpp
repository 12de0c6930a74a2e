#include "platform/qt/form_painter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/qt/pixmap_cache.h"

namespace tallow::platform::qt {
namespace {

constexpr int kMaxPixels = 8192;
constexpr ui::Color kDisabledText = 0x808080;
constexpr ui::Color kHighlight = 0x000080;
constexpr ui::Color kBorder = 0x808080;

QColor ToQColor(ui::Color c) {
  return QColor::fromRgb(static_cast<QRgb>(c & 0xFFFFFF));
}

QString Text(const std::string& utf8) {
  QString s = QString::fromStdString(utf8);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

void PaintImage(QPainter& p, const ui::Image& image, const QRect& rect, PixmapCache& pixmaps) {
  const QPixmap& pm = pixmaps.Get(image.picture);
  if (pm.isNull()) return;
  if (!image.Source.Empty()) {
    const QRect source(ToPixels(image.Source.x), ToPixels(image.Source.y),
                       ToPixels(image.Source.width), ToPixels(image.Source.height));
    p.drawPixmap(rect, pm, source);
  } else if (image.Stretch) {
    p.drawPixmap(rect, pm);
  } else {
    p.drawPixmap(rect.topLeft(), pm);
  }
}

void PaintLabel(QPainter& p, const ui::Label& label, const QRect& rect) {
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  if (!label.Transparent) p.fillRect(rect, ToQColor(label.BackColor));
  p.setFont(ControlFont(label.FontSize, label.FontBold));
  p.setPen(ToQColor(label.Enabled ? label.ForeColor : kDisabledText));
  p.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Text(label.Caption));
  p.restore();
}

void PaintList(QPainter& p, const ui::ListBox& list, const QRect& rect) {
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.fillRect(rect, ToQColor(list.BackColor));
  if (list.Border) {
    p.setPen(ToQColor(kBorder));
    p.drawRect(rect.adjusted(0, 0, -1, -1));
  }
  p.setFont(ListFont(list));
  const int lineHeight = ListLineHeight(list);
  const QRect inner = list.Border ? rect.adjusted(2, 1, -2, -1) : rect.adjusted(2, 0, -2, 0);
  p.setClipRect(inner, Qt::IntersectClip);
  const int first = ListTopLine(list);
  // Whole lines only; a list lower than one line shows its first line centred in it.
  const int rows = std::max(1, inner.height() / lineHeight);
  for (int i = first, y = inner.top(); i < list.ListCount() && i < first + rows;
       ++i, y += lineHeight) {
    const QRect line =
        inner.height() < lineHeight ? inner : QRect(inner.left(), y, inner.width(), lineHeight);
    const bool selected = i == list.ListIndex;
    if (selected) p.fillRect(line, ToQColor(kHighlight));
    p.setPen(ToQColor(selected ? ui::kWhite : list.ForeColor));
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               Text(list.lines[static_cast<std::size_t>(i)]));
  }
  p.restore();
}

void PaintTextBox(QPainter& p, const ui::TextBox& box, const QRect& rect) {
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.fillRect(rect, ToQColor(box.BackColor));
  p.setPen(ToQColor(kBorder));
  p.drawRect(rect.adjusted(0, 0, -1, -1));
  p.setFont(ControlFont(box.FontSize, false));
  p.setPen(ToQColor(box.ForeColor));
  p.drawText(rect.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
             QString::fromStdString(box.Text));
  p.restore();
}

void PaintBrowser(QPainter& p, const QRect& rect) {
  p.fillRect(rect, Qt::white);
  p.setPen(ToQColor(kBorder));
  p.drawRect(rect.adjusted(0, 0, -1, -1));
}

}  // namespace

QFont ControlFont(double points, bool bold, bool fixedPitch) {
  static const bool haveCjk =
      QFontDatabase::families().contains(QStringLiteral("WenQuanYi Zen Hei"));
  static const bool haveCjkMono =
      QFontDatabase::families().contains(QStringLiteral("WenQuanYi Zen Hei Mono"));
  QFont font;
  if (fixedPitch && haveCjkMono) {
    font = QFont(QStringLiteral("WenQuanYi Zen Hei Mono"));
  } else if (haveCjk) {
    font = QFont(QStringLiteral("WenQuanYi Zen Hei"));
  } else if (fixedPitch) {
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
  }
  const double safe = std::isfinite(points) ? std::clamp(points, 1.0, 200.0) : 9.0;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(safe * 96.0 / 72.0))));
  font.setBold(bold);
  return font;
}

QFont ListFont(const ui::ListBox& list) {
  return ControlFont(list.FontSize, false, list.FixedPitch);
}

int ListLineHeight(const ui::ListBox& list) {
  return std::max(1, QFontMetrics(ListFont(list)).height());
}

int ListTopLine(const ui::ListBox& list) {
  const int rows = std::max(1, (ToPixels(list.Height) - 2) / ListLineHeight(list));
  return std::clamp(list.TopIndex, 0, std::max(0, list.ListCount() - rows));
}

int ListLineAt(const ui::ListBox& list, int y) {
  if (y < 1) return list.ListCount() > 0 ? ListTopLine(list) : -1;
  const long line = ListTopLine(list) + static_cast<long>((y - 1) / ListLineHeight(list));
  return line < list.ListCount() ? static_cast<int>(line) : -1;
}

QSize FormPixelSize(const ui::Form& form) {
  return QSize(std::clamp(ToPixels(form.Width / 15.0), 1, kMaxPixels),
               std::clamp(ToPixels(form.Height / 15.0), 1, kMaxPixels));
}

void PaintForm(QPainter& painter, const ui::Form& form, const std::vector<PlacedControl>& placed,
               QSize client, PixmapCache& pixmaps, PaintOptions options) {
  painter.fillRect(QRect(QPoint(0, 0), client), ToQColor(form.BackColor));
  for (const PlacedControl& pc : placed) {
    const QRect visible = pc.clip.intersected(QRect(QPoint(0, 0), client));
    if (visible.isEmpty()) continue;
    painter.setClipRect(visible);
    switch (pc.control->Kind()) {
      case ui::ControlKind::Image:
        PaintImage(painter, static_cast<const ui::Image&>(*pc.control), pc.rect, pixmaps);
        break;
      case ui::ControlKind::Label:
        PaintLabel(painter, static_cast<const ui::Label&>(*pc.control), pc.rect);
        break;
      case ui::ControlKind::ListBox:
        PaintList(painter, static_cast<const ui::ListBox&>(*pc.control), pc.rect);
        break;
      case ui::ControlKind::TextBox:
        if (options.paintTextBoxes) {
          PaintTextBox(painter, static_cast<const ui::TextBox&>(*pc.control), pc.rect);
        }
        break;
      case ui::ControlKind::Browser:
        PaintBrowser(painter, pc.rect);
        break;
    }
  }
  painter.setClipping(false);
}

QImage RenderToImage(const ui::Form& form) {
  const QSize size = FormPixelSize(form);
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintForm(painter, form, PlaceControls(form), size, PixmapCache::Shared());
  painter.end();
  return image;
}

}  // namespace tallow::platform::qt
