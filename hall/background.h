// Blocking work (seating commands, sends to a client window) runs off the window's thread, so the
// hall keeps answering the client's own messages meanwhile; the result comes back as a queued call.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThreadPool>
#include <utility>

namespace tallow::hall {

// Runs `work()` on a thread of `pool`, then `done(result)` on the thread of `context`. The owner
// of the pool waits for it before `context` goes away; every piece of work is bounded in time.
template <class Work, class Done>
void RunInBackground(QThreadPool& pool, QObject* context, Work work, Done done) {
  pool.start([context, work, done]() {
    auto result = work();
    QMetaObject::invokeMethod(
        context, [done, result]() { done(result); }, Qt::QueuedConnection);
  });
}

}  // namespace tallow::hall
