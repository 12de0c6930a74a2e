#include "doubles/spectator_visits.h"

namespace tallow::testing {

SpectatorVisits::SpectatorVisits(TableHarness& t, std::uint32_t seed, When when, bool checkPlayers)
    : t_(t), rng_(seed), when_(std::move(when)) {
  auto check = t.check;
  t.check = [this, check, checkPlayers](int seat, const SeatView& v, Client& c) {
    if (check) check(seat, v, c);
    if (!checkPlayers) return;
    players.Check(v, c, t_.failures);
    if (seat == t_.watched) watch.Player(v, c, t_.failures);
  };
  t.spectatorCheck = [this](const SeatView& v, Client& c) {
    const auto& pending = t_.spectator->pending;
    const bool settled = !(v.restore && !pending.empty() && pending.front().restore);
    watch.Spectator(v, c, settled, t_.failures);
    if (v.type == 9) sawEnd_ = true;
  };
  auto send = t.onSend;
  t.onSend = [this, send](int seat, const protocol::Record& rec) {
    if (send) send(seat, rec);
    if (seat != 0 || t_.spectator || joining_) return;
    const server::Hand* hand = t_.core.HandAt(0);
    joining_ = when_(rec[protocol::off::kType], protocol::DecodeHeader(rec).Value[0] & 0xFF,
                     hand != nullptr && !hand->Over() ? hand : nullptr);
  };
  auto step = t.onStep;
  t.onStep = [this, step] {
    if (step) step();
    if (joining_ && !t_.spectator) {
      watch.Reset();
      sawEnd_ = false;
      ++joins[*joining_];
      t_.StartSpectator(static_cast<int>(rng_() % 4));
      joining_.reset();
    } else if (t_.spectator && sawEnd_ && t_.spectator->pending.empty()) {
      t_.StopSpectator();
    }
  };
}

}  // namespace tallow::testing
