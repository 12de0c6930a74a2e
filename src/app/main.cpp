// tallow: one seat at one table. The hall starts it with a "$"-separated command line.
#include <QApplication>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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
  // The small windows a player sees at the table, each above the table window.
  std::vector<std::unique_ptr<tallow::platform::qt::FormView>> smallViews;
  auto& forms = client.forms;
  for (tallow::ui::Form* form : std::initializer_list<tallow::ui::Form*>{
           &forms.Score, &forms.Hero, &forms.Information, &forms.frmExit, &forms.frmOtherExit,
           &forms.VosSet, &forms.Talk, &forms.huifu}) {
    smallViews.push_back(std::make_unique<tallow::platform::qt::FormView>(*form, &mainView));
  }
  tallow::platform::qt::CallLogic("start-up", [&] { tallow::FormLoad(client); });
  return app.exec();
}
