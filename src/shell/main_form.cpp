#include "shell/main_form.h"

namespace tallow {
namespace {

template <class T>
T& Inside(T& control, ui::Control& parent) {
  control.Parent = &parent;
  return control;
}

}  // namespace

MainForm::MainForm()
    : ui::Form("MainForm"),
      ImgIcon(Create<ui::Image>("ImgIcon")),
      lcaption(Create<ui::Label>("lcaption")),
      LbMove(Create<ui::Label>("LbMove")),
      Pic1(Create<ui::Image>("Pic1")),
      Joker(Create<ui::Image>("Joker")),
      JK_Image(Create<ui::Image>("JK_Image")),
      Label3(Create<ui::Label>("Label3")),
      Time_Img(Create<ui::Image>("Time_Img")),
      Number(Create<ui::Label>("Number")),
      ZhiNan(Create<ui::Image>("ZhiNan")),
      Host(Create<ui::Image>("Host")),
      Zhuang(Create<ui::Label>("Zhuang")),
      Words(Create<ui::Image>("Words")),
      Lbchat(Create<ui::Label>("Lbchat")),
      Chat(Create<ui::TextBox>("Chat")),
      Bird(Create<ui::Image>("Bird")),
      WebBrowser1(Create<ui::Browser>("WebBrowser1")),
      Location(Create<ui::Label>("Location")),
      imgword1(Create<ui::Image>("imgword1")),
      imgword2(Create<ui::Image>("imgword2")),
      imgLocation(Create<ui::Image>("imgLocation")) {
  Caption = "tallow";
  Borderless = true;

  // The frame and title band are hidden until the frame is painted.
  for (int i = 0; i <= 7; ++i) {
    auto& piece = FramePiece.Load(i);
    piece.picture.name = "skin";
    piece.Stretch = true;
    piece.Visible = false;
  }
  ImgIcon.Visible = false;
  ImgIcon.Stretch = true;
  lcaption.Caption = "松竹";
  lcaption.Visible = false;
  lcaption.Move(20, 2, 60, 16);
  const char* titlePictures[] = {"", "normal", "hover", "pressed"};
  for (int i = 0; i <= 3; ++i) {
    auto& close = ImgClose.Load(i);
    auto& min = ImgMin.Load(i);
    close.Move(0, 0, 16, 16);
    min.Move(0, 0, 16, 16);
    close.Visible = min.Visible = false;
    if (i > 0) {
      close.picture.name = std::string("title_close_") + titlePictures[i];
      min.picture.name = std::string("title_min_") + titlePictures[i];
    }
  }
  ImgClose(0).Pointer = ImgMin(0).Pointer = ui::MousePointer::Custom;
  LbMove.Visible = false;

  Pic1.picture.name = "background";
  Pic1.Move(0, 0, 1024, 768);

  // Design-time elements of the control arrays; the layout loads the rest.
  Inside(MJ_Image.Load(0), Pic1).Stretch = true;
  MJ_Image(0).Visible = false;
  Inside(Tou.Load(0), Pic1).Stretch = true;
  Inside(Nid.Load(0), Pic1).ForeColor = 0xFFFF00;
  Inside(Cash.Load(0), Pic1).ForeColor = 0xFFFFFF;
  Inside(Level.Load(0), Pic1).ForeColor = 0xFFFFFF;
  for (auto* l : {&Nid(0), &Cash(0), &Level(0)}) l->Move(0, 0, 140, 20);
  auto& ok = Inside(OK.Load(0), Pic1);
  ok.picture.name = "ready";
  ok.Move(0, 0, 64, 36);
  ok.Visible = false;
  auto& button = Inside(AnNiu.Load(0), Pic1);
  button.picture.id = 101;
  button.Pointer = ui::MousePointer::Custom;
  Inside(Operation.Load(0), Pic1).Visible = false;
  for (int i = 0; i <= 5; ++i) {
    auto& chi = Inside(Chi.Load(i), Pic1);
    chi.Move(0, 0, 50, 58);
    chi.Stretch = true;
    chi.Visible = false;
  }
  for (int i = 0; i <= 4; ++i) {
    auto& gang = Inside(Gang.Load(i), Pic1);
    gang.Move(0, 0, 50, 58);
    gang.Stretch = true;
    gang.Visible = false;
  }
  Inside(Joker, Pic1).picture.name = "joker_frame";
  Joker.Move(870, 100, 81, 120);
  Inside(JK_Image, Pic1).Stretch = true;
  JK_Image.Visible = false;
  Inside(Label3, Pic1).ForeColor = 0xFFFFFF;
  Label3.Move(914, 160, 100, 18);
  Inside(Time_Img, Pic1).picture.name = "time_plate";
  Time_Img.Visible = false;
  Inside(Number, Pic1).ForeColor = 0x00FF00;
  Number.FontSize = 14;
  Number.FontBold = true;
  Number.Visible = false;
  for (int i = 0; i <= 1; ++i) {
    auto& die = Inside(Sai_Image.Load(i), Pic1);
    die.Move(0, 0, 32, 32);
    die.Stretch = true;
    die.Visible = false;
  }
  auto& cache = Inside(SZ_Image.Load(0), Pic1);
  cache.Visible = false;
  Inside(ZhiNan, Pic1).Move(474, 296, 77, 77);
  ZhiNan.Visible = false;
  Inside(Host, Pic1).picture.name = "dealer";
  Host.Move(8, 246, 36, 36);
  Host.Visible = false;
  Inside(Zhuang, Pic1).Move(58, 252, 30, 24);
  Zhuang.FontSize = 14;
  Zhuang.FontBold = true;
  Zhuang.ForeColor = 0xFFD700;
  Zhuang.Visible = false;
  for (int i = 0; i <= 2; ++i) {
    Inside(Speak.Load(i), Pic1).Visible = false;
    Inside(tsSpeak.Load(i), Pic1).Visible = false;
  }
  Inside(Words, Pic1).Visible = false;
  Words.Stretch = true;
  for (int i = 0; i <= 1; ++i) {
    auto& k = Inside(imgKoupai.Load(i), Pic1);
    k.picture.id = 411 + 2 * i;
    k.Visible = false;
  }
  for (int i = 0; i <= 1; ++i) {
    auto& row = Inside(Sysmsg.Load(i), Pic1);
    row.Move(312, 696 + 13 * i, 281, 13);
    row.BackColor = 0x0B3D1E;
    row.Border = false;  // the two rows read as one strip
    row.ForeColor = 0xFFFF80;
  }
  Inside(Lbchat, Pic1).Caption = "聊天";
  Lbchat.ForeColor = 0xFFFFFF;
  Inside(Chat, Pic1).Move(318, 729, 244, 18);
  Chat.MaxLength = 100;
  Inside(Bird, Pic1).picture.name = "emblem";
  Inside(WebBrowser1, Pic1).Visible = false;
  Inside(Location, Pic1).Move(760, 668, 250, 20);
  Location.ForeColor = ui::kWhite;
  Location.FontSize = 12;
  Inside(imgword1, Pic1).picture.name = "phrases_text";
  Inside(imgword2, Pic1).picture.name = "phrases_voice";
  Inside(imgLocation, Pic1).picture.name = "location_strip";
  imgword1.Pointer = imgword2.Pointer = Lbchat.Pointer = ui::MousePointer::Custom;
  // The location strip lies behind its words and caption.
  imgLocation.ZOrder(ui::ZPosition::Back);
  Pic1.ZOrder(ui::ZPosition::Back);
}

}  // namespace tallow
