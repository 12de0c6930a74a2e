// SIGINT and SIGTERM close the hall window like its close button: the table clients it started
// are ended with it.
#pragma once

#include <QWidget>

namespace tallow::hall {

// Installs the handlers; a signal then closes `window` from the event loop.
void CloseOnQuitSignals(QWidget* window);

}  // namespace tallow::hall
