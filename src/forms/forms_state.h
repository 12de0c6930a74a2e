// The small windows of the table, one model each.
#pragma once

#include "forms/exit_form.h"
#include "forms/hero_form.h"
#include "forms/huifu_form.h"
#include "forms/information_form.h"
#include "forms/other_exit_form.h"
#include "forms/reconnect_form.h"
#include "forms/score_form.h"
#include "forms/talk_form.h"
#include "forms/vos_set_form.h"

namespace tallow {

struct Forms {
  TalkForm Talk;
  HuifuForm huifu;
  InformationForm Information;
  ScoreForm Score;
  HeroForm Hero;
  VosSetForm VosSet;
  ExitForm frmExit;
  OtherExitForm frmOtherExit;
  ReconnectForm frmReconnect;
};

}  // namespace tallow
