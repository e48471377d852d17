// The application object of the suite's windowed programs, and the deletion of the windows they close. A window
// closed from one of its own event handlers (a flag clicked, a key, a menu item) must outlive that handler, which
// may go on using it after it closed it, also after letting pending events run (DoEvents) or after a message box:
// the handler's caller, Qt's own delivery of the event, still uses the control the event went to.
#pragma once

#include <QApplication>

class QEvent;
class QObject;

namespace plat {

// A QApplication that knows whether an event handler is running: every event it delivers counts as one handler
// for as long as its delivery lasts. The windows still waiting for their deletion go with it.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  ~Application() override;
  bool notify(QObject* receiver, QEvent* event) override;
};

// While the object lives a handler runs that no event called: the action of a UI script that presses a button or
// picks an item calls its handlers itself.
class HandlerRunning {
 public:
  HandlerRunning();
  ~HandlerRunning();
  HandlerRunning(const HandlerRunning&) = delete;
  HandlerRunning& operator=(const HandlerRunning&) = delete;
};

// Deletes a closed window (or any object of the thread of the windows) once no handler is running: when the
// program's own code closed it outside any handler, as soon as events run again; when a handler closed it, once
// that handler and every handler under it have returned. Pending events that run meanwhile (DoEvents, a message
// box's own event loop) never delete it. An object deleted otherwise before then is left alone.
void DeleteAfterHandlers(QObject* object);

// Deletes at once the windows waiting for DeleteAfterHandlers when no handler is running (a program about to end,
// a test cleaning up); otherwise they keep waiting.
void DeleteClosedWindows();

}  // namespace plat
