#include "doubles/link_breaker.h"

namespace tallow::testing {

LinkBreaker::LinkBreaker(TableHarness& t, std::uint32_t seed) : t_(t), rng_(seed) {
  auto send = t.onSend;
  t.onSend = [this, send](int seat, const protocol::Record& rec) {
    if (send) send(seat, rec);
    OnSend(seat, rec);
  };
  auto step = t.onStep;
  t.onStep = [this, step] {
    if (step) step();
    OnStep();
  };
  auto check = t.check;
  t.check = [this, check](int seat, const SeatView& v, Client& c) {
    if (check) check(seat, v, c);
    OnHandled(seat, v);
  };
  for (int i = 0; i < 4; ++i) {
    auto& s = *t.seats[static_cast<std::size_t>(i)];
    // Records still on their way when the link broke never reach the client: they are the
    // last ones sent to it, since nothing more is sent to a closed connection.
    s.socket.onDropped = [&s] {
      if (!s.pending.empty()) s.pending.pop_back();
    };
    auto connected = s.socket.onConnected;
    s.socket.onConnected = [this, &s, i, connected] {
      if (s.client && s.client->reconnect.AwaitingAnswer) {
        linkBackMs_[static_cast<std::size_t>(i)] = t_.clock.NowMs();
      }
      connected();
    };
  }
}

void LinkBreaker::OnSend(int seat, const protocol::Record& rec) {
  const int type = rec[protocol::off::kType];
  if (type == 4 && seat == 0) {
    ++planHand_;
    planSeat_ = -1;
    if (rng_() % 3 != 0) {
      planSeat_ = static_cast<int>(rng_() % 4);
      planMoment_ = static_cast<Moment>(rng_() % static_cast<unsigned>(Moment::kCount));
      countdown_ = static_cast<int>(rng_() % 120);
    }
  }
  const auto i = static_cast<std::size_t>(seat);
  if (seat == planSeat_ && breakDue_ < 0) {
    const bool offer = type == 6;
    const bool due = (planMoment_ == Moment::Deal && type == 1) ||
                     (planMoment_ == Moment::ClaimOffer && offer && lastTurnType_[i] == 2) ||
                     (planMoment_ == Moment::OwnTurn && offer && lastTurnType_[i] == 5) ||
                     (planMoment_ == Moment::Anywhere && countdown_-- == 0);
    if (due) {
      breakDue_ = seat;
      dueMoment_ = planMoment_;
      planSeat_ = -1;
    }
  }
  if (type == 1 || type == 2 || type == 5 || type == 7) lastTurnType_[i] = type;
}

// The link breaks outside the clients' ticks, while the server's hand is in play and the client
// knows it (a break between hands is not repaired, by design).
void LinkBreaker::OnStep() {
  if (breakDue_ < 0) return;
  const auto i = static_cast<std::size_t>(breakDue_);
  auto& s = *t_.seats[i];
  const server::Hand* hand = t_.core.HandAt(0);
  if (hand == nullptr || hand->Over() || s.client->reconnect.AwaitingAnswer || s.conn < 0) {
    breakDue_ = -1;
    return;
  }
  if (s.client->session.TableActive == 0) return;  // the new hand has not reached it yet
  if (breakHand_[i] != planHand_) ++handsWithBreak;
  breakHand_[i] = planHand_;
  ++breaks;
  awaitingEnd_[i] = true;
  ++byMoment[static_cast<std::size_t>(dueMoment_)];
  s.socket.PeerClose();
  breakDue_ = -1;
}

void LinkBreaker::OnHandled(int seat, const SeatView& v) {
  const auto i = static_cast<std::size_t>(seat);
  if (restoredHand_[i] == v.hand && v.type != 40) ++checkedAfterRestore;
  if (v.type == 9 && awaitingEnd_[i]) {
    awaitingEnd_[i] = false;
    ++endsSeen;
  }
  if (v.type == 41) snapshots_[i] = 0;
  if (v.type == 40 && ++snapshots_[i] == 4) restoredHand_[i] = v.hand;
  if (v.type == 40 && snapshots_[i] == 4 && linkBackMs_[i] > 0) {
    restoreMs.push_back(v.handledMs - linkBackMs_[i]);
    linkBackMs_[i] = 0;
  }
}

}  // namespace tallow::testing
