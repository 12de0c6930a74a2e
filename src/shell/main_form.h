// The table window and the controls the logic drives; every table control lies inside Pic1
// and is positioned in Pic1's pixels.
#pragma once

#include "platform/controls.h"

namespace tallow {

class MainForm : public ui::Form {
 public:
  MainForm();

  // The frame of the window (painted on screens larger than the table) and its title band.
  ui::ControlArray<ui::Image> FramePiece{*this, "FramePiece", 7};
  ui::Image& ImgIcon;
  ui::Label& lcaption;
  ui::ControlArray<ui::Image> ImgClose{*this, "ImgClose", 3};
  ui::ControlArray<ui::Image> ImgMin{*this, "ImgMin", 3};
  ui::Label& LbMove;

  ui::Image& Pic1;  // the table picture

  // Table controls, back to front as loaded at design time.
  ui::ControlArray<ui::Image> MJ_Image{*this, "MJ_Image", 119};
  ui::ControlArray<ui::Image> Tou{*this, "Tou", 3};
  ui::ControlArray<ui::Label> Nid{*this, "Nid", 3};
  ui::ControlArray<ui::Label> Cash{*this, "Cash", 3};
  ui::ControlArray<ui::Label> Level{*this, "Level", 3};
  ui::ControlArray<ui::Image> OK{*this, "OK", 3};
  ui::ControlArray<ui::Image> AnNiu{*this, "AnNiu", 8};
  ui::ControlArray<ui::Image> Operation{*this, "Operation", 4};
  ui::ControlArray<ui::Image> Chi{*this, "Chi", 5};
  ui::ControlArray<ui::Image> Gang{*this, "Gang", 4};
  ui::Image& Joker;
  ui::Image& JK_Image;
  ui::Label& Label3;
  ui::Image& Time_Img;
  ui::Label& Number;
  ui::ControlArray<ui::Image> Sai_Image{*this, "Sai_Image", 1};
  ui::ControlArray<ui::Image> SZ_Image{*this, "SZ_Image", 15};
  ui::Image& ZhiNan;
  ui::Image& Host;
  ui::Label& Zhuang;
  ui::ControlArray<ui::Image> Speak{*this, "Speak", 2};
  ui::ControlArray<ui::Image> tsSpeak{*this, "tsSpeak", 2};
  ui::Image& Words;  // the operation banner laid over a speech bubble
  ui::ControlArray<ui::Image> imgKoupai{*this, "imgKoupai", 1};
  ui::ControlArray<ui::ListBox> Sysmsg{*this, "Sysmsg", 1};
  ui::Label& Lbchat;
  ui::TextBox& Chat;
  ui::Image& Bird;
  ui::Browser& WebBrowser1;
  ui::Label& Location;
  ui::Image& imgword1;
  ui::Image& imgword2;
  ui::Image& imgLocation;
};

}  // namespace tallow
