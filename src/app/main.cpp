// tallow: one seat at one table. The hall starts it with a "$"-separated command line.
#include <QApplication>
#include <string>

#include "art_resources.h"
#include "platform/qt/call_logic.h"
#include "platform/qt/form_view.h"
#include "platform/qt/qt_platform.h"
#include "session/client.h"
#include "session/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);  // the client lives on, minimised, between tables
  tallow::InitArtResources();

  // The command line is every argument joined by single spaces; start-up trims it.
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }

  tallow::platform::qt::QtPlatform qt;
  tallow::Client client(qt.Get(), line);
  tallow::platform::qt::FormView mainView(client.mainForm);
  tallow::platform::qt::CallLogic("start-up", [&] { tallow::FormLoad(client); });
  return app.exec();
}
