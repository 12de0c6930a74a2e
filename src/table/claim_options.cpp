#include "table/claim_options.h"

#include "session/client.h"

namespace tallow {

void OnOperationOffer(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
