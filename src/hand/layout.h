// Table layout and picture tables.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void LoadImageTables(Client& c);
void LayoutSeatsAndToolbar(Client& c);
void LayoutPlayArea(Client& c);

}  // namespace tallow
