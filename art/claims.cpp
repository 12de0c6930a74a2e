// The five claim buttons 吃 碰 杠 胡 过, 50 x 71, each in three states: normal (not offered),
// lit (offered) and pressed.
#include <QLinearGradient>

#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

enum class State { Normal, Lit, Pressed };

struct Claim {
  const char* text;
  QColor colour;
};
const Claim kClaims[5] = {{"吃", QColor(0x1f, 0x9a, 0x4a)},
                          {"碰", QColor(0x1e, 0x6c, 0xd0)},
                          {"杠", QColor(0x8a, 0x3c, 0xc8)},
                          {"胡", QColor(0xd8, 0x26, 0x20)},
                          {"过", QColor(0x6a, 0x72, 0x80)}};

QColor Grey(const QColor& c, double amount) {
  const int g = qGray(c.rgb());
  return QColor::fromRgbF(c.redF() + (g / 255.0 - c.redF()) * amount,
                          c.greenF() + (g / 255.0 - c.greenF()) * amount,
                          c.blueF() + (g / 255.0 - c.blueF()) * amount);
}

void DrawClaim(QPainter& p, const Claim& claim, State state) {
  const QRectF full(0, 0, 50, 71);
  const double sink = state == State::Pressed ? 2 : 0;
  const QRectF r = full.adjusted(1, 1 + sink, -1, -3 + sink);
  QColor base = claim.colour;
  QColor rim(0xe8, 0xc8, 0x70);
  if (state == State::Normal) {
    base = Grey(base, 0.65).darker(115);
    rim = QColor(0x9a, 0x94, 0x88);
  } else if (state == State::Pressed) {
    base = base.darker(130);
  }
  // drop shadow
  if (state != State::Pressed) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(r.translated(0, 2.5), 9, 9);
  }
  // a tall plaque: rim, then the coloured field
  p.setPen(QPen(rim.darker(160), 1));
  p.setBrush(VerticalGradient(r, rim.lighter(120), rim.darker(115)));
  p.drawRoundedRect(r, 9, 9);
  const QRectF field = r.adjusted(4, 4, -4, -4);
  QLinearGradient g(field.topLeft(), field.bottomLeft());
  g.setColorAt(0, base.lighter(state == State::Lit ? 160 : 130));
  g.setColorAt(0.5, base);
  g.setColorAt(1, base.darker(150));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(field, 6, 6);
  if (state == State::Lit) {  // a glint along the top
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(field.left() + 3, field.top() + 2, field.width() - 6, 14), 5, 5);
  }
  const QColor text = state == State::Normal ? QColor(0xe4, 0xe4, 0xe4) : QColor(0xff, 0xff, 0xff);
  const QColor outline = state == State::Normal ? QColor(0x40, 0x40, 0x40) : base.darker(250);
  DrawFittedText(p, QString::fromUtf8(claim.text), field.adjusted(3, 8, -3, -8), text, outline, 2.5,
                 Fit::Em);
}

}  // namespace

void AddClaimButtons(Catalogue& out) {
  for (int b = 0; b < 5; ++b) {
    const State states[3] = {State::Normal, State::Lit, State::Pressed};
    for (int s = 0; s < 3; ++s) {
      const Claim claim = kClaims[b];
      const State state = states[s];
      out.push_back({QString::number(141 + 3 * b + s), "claim buttons", {50, 71}, [=](QPainter& p) {
                       DrawClaim(p, claim, state);
                     }});
    }
  }
}

}  // namespace tallow::art
