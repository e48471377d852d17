// The interaction interface: every question a program of the suite asks the user (message boxes, input boxes,
// file dialogs, modal forms, the waits for a user's command) goes through here. The Qt implementation shows the
// real widgets; the scripted implementation, chosen when FRATTIX_UI_SCRIPT names a script, answers from that script
// by object names, so that every program runs headless. Whatever is shown is also written to the log named by
// FRATTIX_UI_LOG, one line per window, form, message or dialog: program, kind, object name, caption or text.
// The windowed programs link its implementation in ui.cpp. A program without a window links console.cpp instead,
// which implements the message boxes, FatalError and the deferred application object by loading ui.cpp's window
// module (uimodule.h) only when a message must be shown; uibase.cpp holds what both share.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class QDialog;

namespace plat {

// Button sets, icons and answers of a message box. A call names its box by the sum of a button set and an icon
// (vbYesNo + vbExclamation), so each keeps its numeric value.
enum MsgStyle : int {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbAbortRetryIgnore = 2,
  vbYesNoCancel = 3,
  vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16,
  vbQuestion = 32,
  vbExclamation = 48,
  vbInformation = 64,
};
enum MsgAnswer : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// A program that shows a window only to report something starts without an application object: while this
// object lives, the first message, form, dialog or wait creates the QApplication (from these arguments; in the
// console layer without its window module, an application object without windows) and then runs `whenCreated`
// (the program's Qt translations, say); the object deletes it at the end.
class DeferredApplication {
 public:
  DeferredApplication(int& argc, char** argv, std::function<void()> whenCreated);
  ~DeferredApplication();
  DeferredApplication(const DeferredApplication&) = delete;
  DeferredApplication& operator=(const DeferredApplication&) = delete;
};
// Creates the deferred application object if there is one to create and none exists yet.
void EnsureApplication();

// MsgBox(text, buttons + icon, title): shows the message and returns the button pressed. Closing the box with its
// window button counts as Cancel where there is a Cancel button, else as the only or last button.
MsgAnswer MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());
// A notice that does not wait for the user (where a print job went, say): a message box shown without blocking the
// window in use; a scripted run only logs it, as kind "notice".
void Notice(const QString& text, const QString& title = QString());

// InputBox(prompt, title, default): the text entered; `cancelled` (optional) tells a cancel from an empty answer.
// A cancel returns "", as an empty answer does: a caller that must tell them apart asks for `cancelled`.
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString(),
                 bool* cancelled = nullptr);

// File dialogs of the common dialog control: the chosen path, or "" when cancelled. `filter` is written as the
// commands write it, "Description|*.ext|Description|*.*".
QString GetOpenFileName(const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultName = QString());
QString GetSaveFileName(const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultName = QString());
// The open dialog as the session and sheet commands use it: the user may pick an existing file or type the name of
// a new one (the command then creates it).
QString GetOpenOrNewFileName(const QString& title, const QString& folder, const QString& filter,
                             const QString& defaultName = QString());

// A filter as the commands write it ("Description|*.ext|Description|*.*") in Qt's form
// ("Description (*.ext);;Description (*.*)").
QString FilterForQt(const QString& filter);

// Shows a form modally and returns when it has been closed or hidden. The form's objectName() is its name.
void ShowModal(QDialog* form);
// Shows a form modelessly (logged as a window).
void ShowModeless(QWidget* form);

// DoEvents: lets pending user-interface events run once.
void DoEvents();
// A wait loop's yield while the program waits for the user (TALVOR's clustering window, the preview window's
// final wait): runs pending events, waiting at most `maxMs` for one, so no core spins; in a scripted run it first
// performs the script's next action.
void WaitForUser(int maxMs = 50);

// The main loop of a windowed program: returns when `mainWindow` has been closed. In a scripted run every turn
// is a wait for the user, so the script drives the menus and forms.
void RunUntilClosed(QWidget* mainWindow);

// Writes one line to the log (when FRATTIX_UI_LOG is set): program, kind, object name, text.
void Log(const QString& kind, const QString& objectName, const QString& text);

// True when a script drives the user interface.
bool Scripted();

// Ends the program at once with the given exit code (End), wherever it is called from, as a command that ends the
// program must: once the work started on the global thread pool has finished, after flushing the log. Tests may put a handler in its place (it must not return normally, e.g. it
// throws).
[[noreturn]] void EndProgram(int code);
void SetEndProgramHandler(std::function<void(int)> handler);

// A fatal error: the message is shown (or, when scripted, written to the log and to the standard error), and the
// program ends with `code`.
[[noreturn]] void FatalError(const QString& text, const QString& title, int code = 2);
// What FatalError shows after writing the message to the standard error: a message box, or, when scripted or
// without windows, a line in the log.
void ShowFatal(const QString& text, const QString& title);

// Extension point for the script: a handler for an action word ("cell", "mouse", ...) of a later form. It gets
// the action's arguments and returns false when they do not fit what is shown.
using ScriptAction = std::function<bool(const QStringList& args, QString* error)>;
void RegisterScriptAction(const QString& word, ScriptAction action);

// Finds a widget by object name, "Form.Object" or "Object": the active modal form first, then every loaded form
// and top-level widget.
QWidget* FindObject(const QString& name);

// What a user can reach: empty when the widget is shown, enabled and not behind a modal window (the modal form on
// top, a window opened over it, or the form itself); otherwise why not, for a script's "does not fit" message.
QString Unreachable(QWidget* w);

// Resets the interface to the mode given by the environment (for tests that change FRATTIX_UI_SCRIPT).
void ResetInteraction();

}  // namespace plat
