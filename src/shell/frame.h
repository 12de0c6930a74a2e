// The skinned window frame.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void ApplySkinnedFrame(Client& c);

}  // namespace tallow
