// The chat scenes of the picture tool: records a server would relay, fed through the client's
// receive path, and the clicks that open the chat windows.
#include "app/picture_script.h"
#include "chat/chat_input.h"
#include "forms/chat_windows.h"
#include "protocol/gbk.h"
#include "protocol/record_builder.h"
#include "session/client.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::picture {
namespace {

// Seat bits by relative seat, the local player sitting at seat bit 1 (as the hand's script).
constexpr int kSeatBit[4] = {1, 8, 4, 2};

void Line(Client& c, int rel, const std::string& text, bool voice = false, int phrase = 0) {
  auto r = protocol::BuildRecord(static_cast<std::uint16_t>(protocol::MsgType::ChatMessage),
                                 rel < 0 ? 0 : kSeatBit[rel],
                                 {voice ? 1 : 0, 0, voice ? 'a' : 0, phrase});
  protocol::PutGbk(r, protocol::off::kChatText, protocol::off::kChatTextSize, text);
  AppendReceived(c, r);
  ExtractMessage(c);
  DispatchMessage(c);
}

void Event(ui::InputKind kind, ui::Control& control) {
  ui::InputEvent e;
  e.kind = kind;
  e.control = &control;
  control.Owner->OnInput(e);
}

}  // namespace

void PlayChat(Client& c, Stage stage) {
  auto& f = c.mainForm;
  Line(c, 1, "兰兰说道: 大家好，祝大家玩得开心！");
  Line(c, 0, "我自己说道: 手气不错嘛！");
  Line(c, -1, "系统提示：本桌今晚十点维护，请在维护前结束牌局。");
  Line(c, 2, "竹子说道: 快点出牌吧！", true, 2);
  Line(c, 3, "松鼠对我自己说: 这一把我要胡个大的，你们可得小心点，别给我点炮哦！");
  // The local player answers the right-hand seat in private.
  Event(ui::InputKind::Click, f.Tou(3));
  f.Chat.Text += "放心，我手里全是安全牌";
  f.Chat.SelStart = static_cast<int>(protocol::CharCount(f.Chat.Text));
  switch (stage) {
    case Stage::Talk:
      Event(ui::InputKind::Click, f.Lbchat);
      break;
    case Stage::Phrases:
      Event(ui::InputKind::Click, f.imgword1);
      c.forms.huifu.List1.ListIndex = 1;
      break;
    case Stage::Voices:
      Event(ui::InputKind::Click, f.imgword2);
      c.forms.huifu.List2.ListIndex = 0;
      break;
    case Stage::Card:
      Event(ui::InputKind::MouseMove, f.Tou(2));
      break;
    default:
      break;
  }
}

}  // namespace tallow::picture
