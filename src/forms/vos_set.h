// The sound settings window VosSet: the table loop, two sound options and the voice set, each
// switched at once; its cancel undoes what was toggled since it was last closed.
#pragma once

namespace tallow {

class Client;

// Loads the window on first use: its input, the buttons' places and pictures.
void LoadVosSet(Client& c);
// The toolbar's 设置: shows the window near the lower right corner of the table, or hides it.
void ToggleVosSet(Client& c);
// Option button i: 0 the table loop, 1 系统声音, 2 the table sounds and voices, 3 the voice set.
void VosOptionClick(Client& c, int i);
// 0 确定 keeps the settings; 1 取消 undoes each option toggled since the window was last closed.
// Both hide the window.
void VosCloseClick(Client& c, int i);

}  // namespace tallow
