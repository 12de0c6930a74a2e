#include "platform/qt/qt_process.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/exit_hooks.h"
#include "platform/qt/instance_lock.h"
#include "platform/qt/local_site.h"

namespace tallow::platform::qt {
namespace {

std::optional<int> ParseDimension(std::string_view text) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 1 || v > 100000) {
    return std::nullopt;
  }
  return v;
}

}  // namespace

std::optional<std::pair<int, int>> ParseScreenSize(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  const std::string_view all(text);
  auto w = ParseDimension(all.substr(0, x));
  auto h = ParseDimension(all.substr(x + 1));
  if (!w || !h) return std::nullopt;
  return std::pair{*w, *h};
}

std::string QtProcess::AppPath() const {
  std::string path;
  const char* dir = std::getenv("TALLOW_APP_DIR");
  if (dir != nullptr && *dir != '\0') {
    path = dir;
  } else {
    path = QCoreApplication::applicationDirPath().toStdString();
  }
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::pair<int, int> QtProcess::ScreenSize() const {
  if (const char* env = std::getenv("TALLOW_SCREEN")) {
    if (auto size = ParseScreenSize(env)) return *size;
  }
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->geometry();
    if (r.width() > 0 && r.height() > 0) return {r.width(), r.height()};
  }
  return {1024, 768};
}

bool QtProcess::AcquireInstanceLock() {
  return qt::AcquireInstanceLock(AppPath());
}

void QtProcess::EndProcess(int code, const std::string& reason) {
  if (!reason.empty()) std::fprintf(stderr, "tallow: ending (%d): %s\n", code, reason.c_str());
  RunExitHooks();
  std::fflush(nullptr);
  std::_Exit(code);
}

void QtProcess::OpenUrl(const std::string& url) {
  QDesktopServices::openUrl(ResolveSitePage(QUrl(QString::fromStdString(url))));
}

}  // namespace tallow::platform::qt
