// Picture buttons with a caption: the toolbar (two sizes), the dialog buttons and the
// 扣牌/放弃 pair. Every button comes as a normal and a highlighted picture.
#include "paint.h"
#include "picture.h"

namespace tallow::art {
namespace {

struct Look {
  QColor top, bottom, border, text, outline;
};

// Toolbar: dark lacquer that turns gold under the pointer.
const Look kToolNormal{QColor(0x2f, 0x5e, 0x8a), QColor(0x14, 0x2f, 0x52), QColor(0xc9, 0xa2, 0x4a),
                       QColor(0xff, 0xf6, 0xd8), QColor(0x0a, 0x18, 0x2c)};
const Look kToolLit{QColor(0xff, 0xd8, 0x6a), QColor(0xd8, 0x82, 0x12), QColor(0xff, 0xf4, 0xc0),
                    QColor(0xff, 0xff, 0xff), QColor(0x7a, 0x32, 0x00)};
// Dialogs: jade green.
const Look kDialogNormal{QColor(0x5c, 0xb8, 0x7c), QColor(0x1e, 0x70, 0x42),
                         QColor(0x0f, 0x40, 0x24), QColor(0xff, 0xff, 0xff),
                         QColor(0x0a, 0x33, 0x1c)};
const Look kDialogLit{QColor(0x9c, 0xe8, 0xae), QColor(0x30, 0x98, 0x5c), QColor(0xff, 0xf0, 0xa0),
                      QColor(0xff, 0xff, 0xff), QColor(0x0a, 0x40, 0x20)};
// Switch states of the sound settings: red for "turn off", blue for "turn on" and the dialect.
const Look kDialogRed{QColor(0xf0, 0x7a, 0x6a), QColor(0xa8, 0x22, 0x1a), QColor(0x60, 0x10, 0x0c),
                      QColor(0xff, 0xff, 0xff), QColor(0x50, 0x0c, 0x08)};
const Look kDialogBlue{QColor(0x74, 0xa8, 0xf0), QColor(0x20, 0x52, 0xb0), QColor(0x10, 0x2a, 0x60),
                       QColor(0xff, 0xff, 0xff), QColor(0x0c, 0x20, 0x50)};
// 扣牌 / 放弃: lacquer red.
const Look kCoverNormal{QColor(0xd8, 0x4a, 0x3a), QColor(0x8a, 0x16, 0x10),
                        QColor(0xf0, 0xc0, 0x60), QColor(0xff, 0xf4, 0xd0),
                        QColor(0x40, 0x06, 0x04)};
const Look kCoverLit{QColor(0xff, 0x86, 0x5a), QColor(0xd0, 0x38, 0x1c), QColor(0xff, 0xf4, 0xc0),
                     QColor(0xff, 0xff, 0xff), QColor(0x60, 0x10, 0x04)};

void DrawButton(QPainter& p, QSize size, const QString& text, const Look& look) {
  const QRectF r(0, 0, size.width(), size.height());
  const double radius = size.height() * 0.3;
  DrawPlate(p, r, radius, look.top, look.bottom, look.border, 1.5);
  const double mx = size.width() * 0.14, my = size.height() * 0.2;
  DrawFittedText(p, text, r.adjusted(mx, my, -mx, -my), look.text, look.outline,
                 qMax(1.5, size.height() / 10.0), Fit::Ink);
}

void AddPair(Catalogue& out, int id, const QString& family, QSize size, const QString& text,
             const Look& normal, const Look& lit) {
  out.push_back(
      {QString::number(id), family, size, [=](QPainter& p) { DrawButton(p, size, text, normal); }});
  out.push_back({QString::number(id + 1), family, size,
                 [=](QPainter& p) { DrawButton(p, size, text, lit); }});
}

const char* const kToolbar[9] = {"聊天", "开始", "继续", "设置", "隐藏",
                                 "战绩", "历史", "规则", "退出"};

}  // namespace

void AddToolbarButtons(Catalogue& out) {
  AddPair(out, 101, "toolbar", {48, 30}, QString::fromUtf8("发送"), kToolNormal, kToolLit);
  for (int k = 0; k < 9; ++k)
    AddPair(out, 103 + 2 * k, "toolbar", {55, 31}, QString::fromUtf8(kToolbar[k]), kToolNormal,
            kToolLit);
}

void AddSmallToolbarButtons(Catalogue& out) {
  for (int k = 0; k < 9; ++k)
    AddPair(out, 381 + 2 * k, "toolbar small", {43, 24}, QString::fromUtf8(kToolbar[k]),
            kToolNormal, kToolLit);
}

void AddDialogButtons(Catalogue& out) {
  const QSize size(65, 30);
  AddPair(out, 130, "dialog buttons", size, QString::fromUtf8("确定"), kDialogNormal, kDialogLit);
  AddPair(out, 132, "dialog buttons", size, QString::fromUtf8("取消"), kDialogNormal, kDialogLit);
  const struct {
    int id;
    const char* text;
    const Look* look;
  } singles[] = {{134, "关闭", &kDialogRed},
                 {135, "开启", &kDialogNormal},
                 {136, "普通话", &kDialogBlue},
                 {137, "保定话", &kDialogBlue}};
  for (const auto& s : singles) {
    const QString text = QString::fromUtf8(s.text);
    const Look look = *s.look;
    out.push_back({QString::number(s.id), "dialog buttons", size,
                   [=](QPainter& p) { DrawButton(p, size, text, look); }});
  }
  // the game-over notice's two buttons are a little wider
  const QSize wide(70, 30);
  out.push_back({"notice_ok", "dialog buttons", wide, [=](QPainter& p) {
                   DrawButton(p, wide, QString::fromUtf8("确定"), kDialogNormal);
                 }});
  out.push_back({"notice_cancel", "dialog buttons", wide, [=](QPainter& p) {
                   DrawButton(p, wide, QString::fromUtf8("取消"), kDialogNormal);
                 }});
}

void AddCoverButtons(Catalogue& out) {
  const QSize size(60, 30);
  AddPair(out, 411, "cover", size, QString::fromUtf8("扣牌"), kCoverNormal, kCoverLit);
  AddPair(out, 413, "cover", size, QString::fromUtf8("放弃"), kCoverNormal, kCoverLit);
}

}  // namespace tallow::art
