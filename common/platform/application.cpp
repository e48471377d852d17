#include "common/platform/application.h"

#include <QCoreApplication>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <utility>

namespace plat {

namespace {

// The handlers running on this thread.
thread_local int handlersRunning = 0;
// True when the application object counts the events it delivers (an application object of another kind does
// not: then only the script's actions count).
bool deliveriesCounted = false;

struct Waiting {
  QList<QPointer<QObject>> objects;
  bool posted = false;  // a deletion is on its way through the event queue
};

// Kept until the program ends, never destroyed with the other globals.
Waiting& Queue() {
  static auto* waiting = new Waiting;
  return *waiting;
}

bool OnWindowThread() {
  const QCoreApplication* application = QCoreApplication::instance();
  return application && QThread::currentThread() == application->thread();
}

void DeleteWaiting() {
  const QList<QPointer<QObject>> objects = std::exchange(Queue().objects, {});
  for (const QPointer<QObject>& object : objects) delete object.data();
}

// Runs as an event of its own, which the application counts as a handler. Under a handler that lets events run it
// deletes nothing: the end of that handler posts it again.
void DeletePosted() {
  Queue().posted = false;
  if (handlersRunning > (deliveriesCounted ? 1 : 0)) return;
  DeleteWaiting();
}

void PostDeletion() {
  Waiting& waiting = Queue();
  if (waiting.posted || waiting.objects.isEmpty() || handlersRunning > 0) return;
  waiting.posted = true;
  QMetaObject::invokeMethod(QCoreApplication::instance(), &DeletePosted, Qt::QueuedConnection);
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { deliveriesCounted = true; }

Application::~Application() {
  DeleteClosedWindows();
  deliveriesCounted = false;
}

bool Application::notify(QObject* receiver, QEvent* event) {
  const HandlerRunning running;
  return QApplication::notify(receiver, event);
}

HandlerRunning::HandlerRunning() { ++handlersRunning; }

HandlerRunning::~HandlerRunning() {
  if (--handlersRunning == 0 && OnWindowThread()) PostDeletion();
}

void DeleteAfterHandlers(QObject* object) {
  if (!object) return;
  if (!OnWindowThread()) {
    // Not a window: the object's own thread deletes it when its event loop next runs.
    object->deleteLater();
    return;
  }
  Waiting& waiting = Queue();
  if (!waiting.objects.contains(QPointer<QObject>(object))) waiting.objects.append(object);
  PostDeletion();
}

void DeleteClosedWindows() {
  if (OnWindowThread() && handlersRunning == 0) DeleteWaiting();
}

}  // namespace plat
