#include "platform/qt/qt_dialogs.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/qt/call_logic.h"

namespace tallow::platform::qt {
namespace {

bool Headless() {
  const char* mode = std::getenv("TALLOW_DIALOGS");
  if (mode != nullptr && std::strcmp(mode, "stderr") == 0) return true;
  return QGuiApplication::platformName() == QLatin1String("offscreen");
}

}  // namespace

void QtDialogs::MessageBox(const std::string& text, const std::string& title) {
  if (Headless()) {
    std::fprintf(stderr, "tallow: [%s] %s\n", title.c_str(), text.c_str());
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok);
  box.exec();
  AfterLogicCall();
}

}  // namespace tallow::platform::qt
