// Every Qt service of the client in one place. Construct it after the QApplication:
//
//   QApplication app(argc, argv);
//   tallow::platform::qt::QtPlatform qt;
//   tallow::Client client(qt.Get(), commandLine);
//   tallow::platform::qt::FormView mainView(client.mainForm);
//   tallow::platform::qt::CallLogic("start-up", [&] { tallow::FormLoad(client); });
//   return app.exec();
//
// (src/app/main.cpp does this, with a view for each small window as well.)
#pragma once

#include "platform/local_files.h"
#include "platform/platform.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_hall_link.h"
#include "platform/qt/qt_process.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_socket.h"
#include "platform/qt/qt_sound.h"

namespace tallow::platform::qt {

struct QtPlatform {
  QtPlatform();  // also makes a peer's early close harmless (SIGPIPE ignored)

  QtClock clock;
  QtSocket socket;
  QtSound sound;
  QtHallLink hall;
  QtDialogs dialogs;
  QtResources resources;
  QtProcess process;
  LocalFiles files;

  Platform Get() { return {clock, socket, sound, hall, dialogs, resources, process, files}; }
};

}  // namespace tallow::platform::qt
