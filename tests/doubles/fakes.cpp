#include "doubles/fakes.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace tallow::testing {

TestAppDir::TestAppDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tallow-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no test directory");
  root_ = pattern;
  path_ = root_ + "/app";
  std::filesystem::create_directory(path_);
}

TestAppDir::~TestAppDir() {
  if (root_.empty()) return;  // moved away
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

void MemorySocket::Connect() {
  ++connects;
  connectTimes.push_back(clock_.NowMs());
  state_ = kConnecting;
  const int gen = ++generation_;
  clock_.Post([this, gen] {
    if (gen != generation_ || state_ != kConnecting) return;
    state_ = accept ? kConnected : kError;
    if (state_ == kConnected && onConnected) onConnected();
  });
}

void MemorySocket::SendData(std::span<const std::uint8_t> bytes) {
  if (state_ != kConnected) return;
  sent.insert(sent.end(), bytes.begin(), bytes.end());
  sendTimes.push_back(clock_.NowMs());
  if (onSend) onSend(bytes);
}

void MemorySocket::Deliver(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  clock_.Post([this, copy = std::move(copy)] {
    if (state_ != kConnected) {
      if (onDropped) onDropped();
      return;
    }
    inbox_.insert(inbox_.end(), copy.begin(), copy.end());
    if (OnDataArrival) OnDataArrival();
  });
}

void MemorySocket::PeerClose() {
  clock_.Post([this] {
    if (OnClose) OnClose();
  });
}

std::vector<protocol::Record> MemorySocket::SentRecords() const {
  std::vector<protocol::Record> out;
  for (std::size_t i = 0; i + protocol::kRecordSize <= sent.size(); i += protocol::kRecordSize) {
    protocol::Record r;
    std::copy_n(sent.begin() + static_cast<long>(i), protocol::kRecordSize, r.begin());
    out.push_back(r);
  }
  return out;
}

std::vector<std::uint32_t> FakeHall::Posts() const {
  std::vector<std::uint32_t> out;
  for (const auto& m : received) {
    if (m.kind == 1) out.push_back(m.msg);
  }
  return out;
}

std::vector<std::uint32_t> FakeHall::SysCommands() const {
  std::vector<std::uint32_t> out;
  for (const auto& m : received) {
    if (m.kind == 2 && m.msg == platform::wm::kSysCommand) out.push_back(m.wParam);
  }
  return out;
}

}  // namespace tallow::testing
