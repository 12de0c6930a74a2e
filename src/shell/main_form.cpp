#include "shell/main_form.h"

namespace tallow {

MainForm::MainForm()
    : ui::Form("MainForm"), Pic1(Create<ui::Image>("Pic1")), Location(Create<ui::Label>("Location")) {
  Caption = "tallow";
  Borderless = true;
  Pic1.picture.name = "background";
  Pic1.Move(0, 0, 1024, 768);
  for (int i = 0; i <= 1; ++i) {
    auto& row = Sysmsg.Load(i);
    row.Parent = &Pic1;
    row.Move(312, 696 + 13 * i, 281, 13);
    row.BackColor = 0x0B3D1E;
    row.ForeColor = 0xFFFF80;
  }
  Location.Parent = &Pic1;
  Location.Move(760, 668, 250, 20);
  Location.ForeColor = ui::kWhite;
}

}  // namespace tallow
