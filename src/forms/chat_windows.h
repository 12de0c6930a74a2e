// The chat window Talk and the phrase window huifu: their look, loading, placing, showing and
// input.
#pragma once

#include <string>

namespace tallow {

class Client;

// Gives both windows their input handlers (done once, with the client).
void WireChatWindows(Client& c);

// First use of the chat window: placed by the table window's size.
void LoadTalk(Client& c);
// Shows the chat window where the chat caption opens it, over the lower middle of the table.
void ShowTalk(Client& c);
// The chat caption and the 聊天 button: hides a visible chat window, shows a hidden one.
void ToggleTalk(Client& c);

// The phrase file beside the client.
std::string PhraseIniPath(const Client& c);
// First use of the phrase window: reads both lists from the phrase file.
void LoadHuifu(Client& c);
// imgword1 (list 1, text phrases) and imgword2 (list 2, voice phrases): shows the window with
// that list, switches lists, or hides the window when that list is already shown.
void TogglePhrases(Client& c, int list);

}  // namespace tallow
