#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>

#include "store/history_store.h"
#include "store/store_location.h"

namespace qd::gui {

// What a query of the history store gave, or why the store could not be used (in English, as the store
// words it).
template <typename Answer>
struct StoreReply {
  QString error;
  Answer answer{};
  bool Ok() const { return error.isEmpty(); }
};

// A query run on an open store; it sets `error` when the store failed it.
template <typename Answer>
using StoreQuery = std::function<Answer(qd::store::HistoryStore& store, QString& error)>;

// Opens the store at `location` on a worker thread with a connection of its own, runs `query` there and
// closes it again: a slow or unreachable server never holds up a window. `done` runs on the GUI thread
// afterwards, and not at all when `context` is gone by then.
template <typename Answer>
void QueryStoreInBackground(const qd::store::StoreLocation& location, QObject* context,
                            StoreQuery<Answer> query, std::function<void(const StoreReply<Answer>&)> done) {
  QPointer<QObject> receiver(context);
  QThreadPool::globalInstance()->start(
      [location, receiver, query = std::move(query), done = std::move(done)] {
        auto reply = std::make_shared<StoreReply<Answer>>();
        {
          // A connection belongs to the thread that opened it: it is closed here too.
          const std::unique_ptr<qd::store::HistoryStore> store =
              qd::store::HistoryStore::Open(location, reply->error);
          if (store) reply->answer = query(*store, reply->error);
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [receiver, done, reply] {
              if (receiver) done(*reply);
            },
            Qt::QueuedConnection);
      });
}

}  // namespace qd::gui
