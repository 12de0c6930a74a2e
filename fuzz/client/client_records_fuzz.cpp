// Records of every type from the server, each field drawn from its declared range or from
// outside it, in any order, mixed with time, clicks, raw bytes and link events, into a client
// brought to one of its states by a scripted prefix (client_input.h describes the input).
// Ending as documented (the failure rule, a refused login, a departure) is fine; a failure
// that escapes the client's own handling, a sanitizer report or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "client_input.h"
#include "client_states.h"
#include "common/byte_stream.h"
#include "common/fuzz_meter.h"
#include "common/table_records.h"
#include "session/client.h"

namespace tallow::fuzz {
namespace {

using testing::ClientHarness;
namespace in = client_input;

constexpr int kTickMs = 50;

// Forms the player can reach with the mouse or the keyboard, in a fixed order.
std::vector<ui::Form*> Windows(Client& c) {
  auto& f = c.forms;
  return {&c.mainForm, &f.Score,  &f.Hero,    &f.Talk,
          &f.huifu,    &f.VosSet, &f.frmExit, &f.frmOtherExit};
}

class Session {
 public:
  Session(ClientHarness& h, ByteReader& input) : h_(h), in_(input) {}

  // Runs the steps until the input or the client ends.
  void Run() {
    while (!in_.Empty() && !ended_) Step();
  }

 private:
  Client& c() { return h_.c(); }

  void Step() {
    const std::uint8_t b = in_.Byte();
    switch (in::StepOf(b)) {
      case in::kRecord:
      case in::kBurst:
        Deliver(ReadServerRecord(in_, token_));
        if (in::StepOf(b) == in::kRecord) Drain();
        return;
      case in::kTime: {
        const std::uint8_t t = in_.Byte();
        return Time(t < 0xC0 ? kTickMs * (1 + t % 16) : 1000 * (1 + t % 16));
      }
      case in::kInput:
        return Input();
      case in::kRawBytes: {
        const auto bytes = in_.Bytes(in_.Byte());
        h_.p.socket.Deliver(bytes);
        return Drain();
      }
      case in::kToken:
        token_ = in_.Word();
        return;
      case in::kLink:
        return Link(in_.Byte());
      case in::kRawRecord: {
        protocol::Record r{};
        const auto bytes = in_.Bytes(r.size());
        std::copy(bytes.begin(), bytes.end(), r.begin());
        Deliver(r);
        return Drain();
      }
    }
  }

  void Deliver(const protocol::Record& r) {
    h_.p.socket.Deliver(r);
    Meter::Add(1);
  }

  // The ticks that take what has arrived out of the ring: two after an arrival, then one a
  // record.
  void Drain() {
    Time(kTickMs);
    for (int guard = c().receive.Unread() / 272 + 2; guard > 0 && !ended_; --guard) {
      if (c().receive.Unread() < 272) return;
      Time(kTickMs);
    }
  }

  void Time(std::int64_t ms) {
    Guard([&] {
      if (auto e = h_.Run(ms)) End(*e);
    });
  }

  void Input() {
    const std::uint8_t formPick = in_.Byte(), controlPick = in_.Byte(), kind = in_.Byte(),
                       detail = in_.Byte();
    std::vector<ui::Form*> open;
    for (ui::Form* f : Windows(c())) {
      if (f->Visible && f->OnInput) open.push_back(f);
    }
    if (open.empty()) return;
    ui::Form& form = *open[formPick % open.size()];
    std::vector<ui::Control*> targets = {nullptr};  // the form itself
    for (ui::Control* ctl : form.PaintOrder()) {
      if (ctl->Visible && ctl->Enabled) targets.push_back(ctl);
    }
    ui::InputEvent e;
    e.control = targets[controlPick % targets.size()];
    e.x = e.control != nullptr ? e.control->Width * (detail & 15) / 15.0 : detail;
    e.y = e.control != nullptr ? e.control->Height * (detail >> 4) / 15.0 : detail;
    static constexpr int kKeys[] = {0x70, 0x0D, 0x1B, 0x20, 0x25, 0x26, 0x27, 0x28,
                                    0x41, 0x30, 0x09, 0x08, 0x2E, 0x71, 0x7B, 0x11};
    switch (kind % 14) {
      case 4:
      case 6:
        e.kind = ui::InputKind::MouseDown;
        e.button = kind % 14 == 4 ? ui::kLeftButton : ui::kRightButton;
        break;
      case 5:
      case 7:
        e.kind = ui::InputKind::MouseUp;
        e.button = kind % 14 == 5 ? ui::kLeftButton : ui::kRightButton;
        break;
      case 8:
        e.kind = ui::InputKind::DblClick;
        e.button = ui::kLeftButton;
        break;
      case 9:
        e.kind = ui::InputKind::MouseMove;
        break;
      case 10:
        e.kind = ui::InputKind::KeyDown;
        e.control = form.Focus;
        e.keyCode = kKeys[detail % std::size(kKeys)];
        e.shift = detail >> 6;
        break;
      case 11:
        e.kind = ui::InputKind::KeyPress;
        e.control = form.Focus;
        e.keyChar = detail < 0x80 ? detail : 0x4F60 + detail;  // ASCII or a Chinese character
        break;
      case 12:
        e.kind = ui::InputKind::Unload;
        e.control = nullptr;
        break;
      case 13:
        e.kind = ui::InputKind::TextChanged;
        break;
      default:
        e.kind = ui::InputKind::Click;
        e.button = ui::kLeftButton;
        break;
    }
    // The toolkit delivers input between ticks, as an event of the loop.
    h_.p.clock.Post([&form, e] { form.OnInput(e); });
    Time(1);
  }

  void Link(std::uint8_t what) {
    static constexpr std::uint32_t kRequests[] = {
        platform::wm::kConnect, platform::wm::kLeaveQuestion, platform::wm::kLeaveNow,
        platform::wm::kGameRunning};
    switch (what % 6) {
      case 0:
        h_.p.socket.PeerClose();
        return Time(kTickMs);
      case 5:
        h_.p.hall.exists = false;  // the hall is gone: the next time it is needed, the end
        return Time(kTickMs);
      default:
        Guard([&] { h_.p.hall.Request(kRequests[what % 6 - 1]); });
        return Time(kTickMs);
    }
  }

  // The documented end stops the input; anything else that escapes the client is a finding.
  template <class F>
  void Guard(F&& f) {
    try {
      f();
    } catch (const ProcessEnded& e) {
      End(e);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "a failure escaped the client: %s\n", e.what());
      std::abort();
    }
  }

  // With TALLOW_FUZZ_TRACE set, says why the client ended (to see where inputs stop).
  void End(const ProcessEnded& e) {
    ended_ = true;
    static const bool trace = std::getenv("TALLOW_FUZZ_TRACE") != nullptr;
    if (trace) std::fprintf(stderr, "ended after %zu bytes: %s\n", in_.Used(), e.reason.c_str());
  }

  ClientHarness& h_;
  ByteReader& in_;
  std::uint16_t token_ = 0;
  bool ended_ = false;
};

}  // namespace
}  // namespace tallow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallow::fuzz;
  ByteReader input({data, size});
  const auto state = static_cast<ClientState>(input.Byte() % static_cast<int>(ClientState::Count));
  tallow::testing::ClientHarness h(CommandLineFor(state));
  Meter::Input();
  if (auto ended = Reach(h, state)) {
    std::fprintf(stderr, "the prefix of state %s ended the client: %s\n", StateName(state),
                 ended->reason.c_str());
    std::abort();
  }
  Session(h, input).Run();
  return 0;
}
