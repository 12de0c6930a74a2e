// SIGINT and SIGTERM close the hall: a player at a table leaves it (a running game is given up,
// as nobody is there to be asked) and the table clients the hall started end with it.
#pragma once

#include <QObject>
#include <functional>

namespace tallow::hall {

// Installs the handlers; a signal then runs `close` from the event loop of `context`.
void CloseOnQuitSignals(QObject* context, std::function<void()> close);

}  // namespace tallow::hall
