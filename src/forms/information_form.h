// The player card Information.
#pragma once

#include "platform/controls.h"

namespace tallow {

// The player card shown while the pointer rests on a portrait: a caption and a value per row.
class InformationForm : public ui::Form {
 public:
  InformationForm();
  ui::Label& Edge;
  ui::Label& Face;
  // The row captions Label1..Label9: Captions(i + 1) names the value in Inf(i).
  ui::ControlArray<ui::Label> Captions{*this, "Label", 9};
  ui::ControlArray<ui::Label> Inf{*this, "Inf", 8};
};

}  // namespace tallow
