// Operation offers: which tiles a claim would use.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnOperationOffer(Client& c, const protocol::Header& h);

}  // namespace tallow
