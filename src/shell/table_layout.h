// The places and sizes of the table window's controls at start-up, in the full or the small
// layout.
#pragma once

namespace tallow {

class Client;

void LayoutSeatsAndToolbar(Client& c);
void LayoutPlayerLabels(Client& c);
void LayoutPlayArea(Client& c);

}  // namespace tallow
