#include "common/platform/ui.h"

#include "common/platform/application.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/textio.h"
#include "common/platform/uibase.h"

#include <QAbstractButton>
#include <QAction>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMap>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace plat {

namespace {

QList<QPointer<QDialog>>& ModalStack() {
  static QList<QPointer<QDialog>> stack;
  return stack;
}

QAction* FindAction(const QString& name);

// The modal window on top: the last modal form still shown, or a modal window of Qt's own.
QWidget* TopModal() {
  for (auto it = ModalStack().rbegin(); it != ModalStack().rend(); ++it)
    if (*it && (*it)->isVisible()) return it->data();
  return QApplication::activeModalWidget();
}

// True when the window of `w` is `modal` or a window opened over it (its parent chain leads to it).
bool OverModal(QWidget* w, QWidget* modal) {
  for (QWidget* t = w->window(); t; t = t->parentWidget() ? t->parentWidget()->window() : nullptr)
    if (t == modal) return true;
  return false;
}

// Why a menu item cannot be chosen: disabled or hidden, in a disabled or hidden menu, or in a window behind a
// modal one. Empty when it can.
QString ActionUnreachable(QAction* action) {
  if (!action->isEnabled()) return QStringLiteral("the menu item %1 is disabled").arg(action->objectName());
  if (!action->isVisible()) return QStringLiteral("the menu item %1 is not shown").arg(action->objectName());
  for (QObject* o : action->associatedObjects()) {
    auto* menu = qobject_cast<QMenu*>(o);
    if (!menu) continue;
    QAction* parent = menu->menuAction();
    if (parent && parent != action) {
      const QString why = ActionUnreachable(parent);
      if (!why.isEmpty()) return QStringLiteral("the menu item %1 is in a menu that cannot be opened: %2")
                                      .arg(action->objectName(), why);
    }
  }
  // The window the item belongs to: the first widget among its owners that is not a menu.
  QObject* o = action->parent();
  while (o && (!o->isWidgetType() || qobject_cast<QMenu*>(o))) o = o->parent();
  if (o) {
    QWidget* modal = TopModal();
    if (modal && !OverModal(static_cast<QWidget*>(o), modal))
      return QStringLiteral("the menu item %1 is behind the modal window %2")
          .arg(action->objectName(), modal->objectName());
  }
  return {};
}

// The windows the program has shown beside the others (modeless), the last shown last: it is the one on top.
QList<QPointer<QWidget>>& ShownWindows() {
  static QList<QPointer<QWidget>> shown;
  return shown;
}

// The window the user sees on top and acts on: the modal window, else the window shown last that is still shown,
// else the active window, else the one window shown. Null when there is none, or several and none of them is known
// to be on top.
QWidget* WindowOnTop() {
  if (QWidget* modal = TopModal()) return modal;
  QList<QPointer<QWidget>>& shown = ShownWindows();
  shown.removeAll(QPointer<QWidget>());
  for (auto it = shown.rbegin(); it != shown.rend(); ++it)
    if ((*it)->isVisible()) return (*it)->window();
  if (QWidget* active = QApplication::activeWindow()) return active;
  QWidget* only = nullptr;
  for (QWidget* t : QApplication::topLevelWidgets()) {
    if (!t->isVisible() || (t->windowType() != Qt::Window && t->windowType() != Qt::Dialog)) continue;
    if (only) return nullptr;
    only = t;
  }
  return only;
}

QMap<QString, ScriptAction>& ExtraActions() {
  static QMap<QString, ScriptAction> actions;
  return actions;
}

const QMap<QString, MsgAnswer>& AnswerNames() {
  static const QMap<QString, MsgAnswer> names = {{"ok", vbOK},       {"cancel", vbCancel}, {"abort", vbAbort},
                                                 {"retry", vbRetry}, {"ignore", vbIgnore}, {"yes", vbYes},
                                                 {"no", vbNo}};
  return names;
}

// Splits a script line into words; a word in double quotes may hold blanks ("" inside stands for one quote).
QStringList Tokenize(const QString& line) {
  QStringList words;
  qsizetype i = 0;
  const qsizetype n = line.size();
  while (i < n) {
    while (i < n && line.at(i).isSpace()) ++i;
    if (i >= n) break;
    QString w;
    if (line.at(i) == QLatin1Char('"')) {
      ++i;
      while (i < n) {
        if (line.at(i) == QLatin1Char('"')) {
          if (i + 1 < n && line.at(i + 1) == QLatin1Char('"')) {
            w += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        w += line.at(i++);
      }
    } else {
      while (i < n && !line.at(i).isSpace()) w += line.at(i++);
    }
    words << w;
  }
  return words;
}


// A key of a script by its Qt name ("Enter", "Escape", "Left", "F1", "Ctrl+Z") or as one character: the key code,
// the modifiers and the text the key types.
bool KeyOf(const QString& name, int& key, Qt::KeyboardModifiers& modifiers, QString& text) {
  modifiers = Qt::NoModifier;
  if (name.size() == 1) {
    text = name;
    key = name.at(0).toUpper().unicode();
    return true;
  }
  const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
  if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) return false;
  key = sequence[0].key();
  modifiers = sequence[0].keyboardModifiers();
  switch (key) {
    case Qt::Key_Enter:
    case Qt::Key_Return: text = QStringLiteral("\r"); break;
    case Qt::Key_Escape: text = QString(QChar(27)); break;
    case Qt::Key_Tab: text = QStringLiteral("\t"); break;
    case Qt::Key_Backspace: text = QString(QChar(8)); break;
    case Qt::Key_Space: text = QStringLiteral(" "); break;
    default: text.clear(); break;
  }
  return true;
}

// The button of a Qt message box that gives `answer`.
QMessageBox::StandardButton StandardButtonOf(MsgAnswer answer) {
  switch (answer) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    case vbNo: return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

// ---------------------------------------------------------------------------------------------------------------

// The file dialogs: open an existing file; open one or name a new one (the command creates it); save.
enum class FileDialogKind { Open, OpenOrNew, Save };

class Interaction {
 public:
  virtual ~Interaction() = default;
  virtual MsgAnswer MsgBox(const QString& text, int style, const QString& title) = 0;
  virtual QString InputBox(const QString& prompt, const QString& title, const QString& def, bool* cancelled) = 0;
  virtual QString FileDialog(FileDialogKind kind, const QString& title, const QString& folder, const QString& filter,
                             const QString& defaultName) = 0;
  virtual void ShowModal(QDialog* form) = 0;
  virtual void WaitForUser(int maxMs) = 0;
  virtual bool Scripted() const = 0;
};

class QtInteraction : public Interaction {
 public:
  MsgAnswer MsgBox(const QString& text, int style, const QString& title) override {
    // Every dialog belongs to the window in use and opens over it.
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MsgBox"));
    box.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (style & 0x70) {
      case vbCritical: box.setIcon(QMessageBox::Critical); break;
      case vbQuestion: box.setIcon(QMessageBox::Question); break;
      case vbExclamation: box.setIcon(QMessageBox::Warning); break;
      case vbInformation: box.setIcon(QMessageBox::Information); break;
      default: break;
    }
    QMap<QAbstractButton*, MsgAnswer> map;
    const QList<MsgAnswer> buttons = ButtonsOf(style);
    for (MsgAnswer a : buttons) map.insert(box.addButton(StandardButtonOf(a)), a);
    const MsgAnswer escape = buttons.contains(vbCancel) ? vbCancel : buttons.last();
    for (auto it = map.begin(); it != map.end(); ++it)
      if (it.value() == escape) box.setEscapeButton(it.key());
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked && map.contains(clicked) ? map.value(clicked) : escape;
  }

  QString InputBox(const QString& prompt, const QString& title, const QString& def, bool* cancelled) override {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(def);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (cancelled) *cancelled = !ok;
    return ok ? dialog.textValue() : QString();
  }

  QString FileDialog(FileDialogKind kind, const QString& title, const QString& folder, const QString& filter,
                     const QString& defaultName) override {
    const bool save = kind == FileDialogKind::Save;
    QFileDialog dialog(QApplication::activeWindow(), title, folder, FilterForQt(filter));
    dialog.setObjectName(save ? QStringLiteral("SaveFile") : QStringLiteral("OpenFile"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Only the plain open dialog insists on an existing file; the others take a new name too.
    dialog.setFileMode(kind == FileDialogKind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!defaultName.isEmpty()) dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  }

  void ShowModal(QDialog* form) override { form->exec(); }

  void WaitForUser(int maxMs) override {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // processEvents with a time limit returns at once when nothing is pending, so a wait loop built on it keeps a
    // core busy. The thread sleeps instead until the next event, or until the timer bounds the wait.
    QTimer limite;
    limite.setSingleShot(true);
    limite.start(std::max(maxMs, 0));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }

  bool Scripted() const override { return false; }
};

// ---------------------------------------------------------------------------------------------------------------

class ScriptedInteraction;

// Sees the modal windows that Qt shows of its own accord while a script runs (the printer set-up's question before
// a file is replaced, its message when a file cannot be written, a file dialog it opens): each takes the script's
// next actions as the program's own windows do, so that a script never waits for a window it cannot see.
class QtOwnWindows : public QObject {
 public:
  explicit QtOwnWindows(ScriptedInteraction* script) : script_(script) {}
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  ScriptedInteraction* script_;
};

class ScriptedInteraction : public Interaction {
 public:
  explicit ScriptedInteraction(const QString& setting) {
    // The application may be a console one (a program without windows): it is installed on as a QCoreApplication.
    if (QCoreApplication* application = QCoreApplication::instance())
      application->installEventFilter(&qtOwnWindows_);
    QString path = setting;
    const QFileInfo info(setting);
    if (info.isDir()) {
      // A folder holds one script per program: <folder>/<program>.script
      QString exe = ProgramName();
      if (exe.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) exe.chop(4);
      path = ResolveExisting(JoinPath(setting, exe + QStringLiteral(".script")));
    }
    source_ = path.isEmpty() ? setting : path;
    QByteArray data;
    if (!path.isEmpty() && ReadWholeFile(path, data)) {
      const QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
      int number = 0;
      for (QString line : lines) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        actions_.append({number, Tokenize(line)});
      }
    }
  }

  bool Scripted() const override { return true; }

  MsgAnswer MsgBox(const QString& text, int style, const QString& title) override {
    return Answer(text, title, ButtonsOf(style));
  }

  QString InputBox(const QString& prompt, const QString& title, const QString& def, bool* cancelled) override {
    Q_UNUSED(title);
    Q_UNUSED(def);
    const Action a = Next(QStringLiteral("input box \"%1\"").arg(OneLine(prompt)));
    const QString w = a.words.first().toLower();
    if (w == QLatin1String("cancel")) {
      if (cancelled) *cancelled = true;
      return QString();
    }
    if (w != QLatin1String("input")) Mismatch(a, QStringLiteral("an input box \"%1\" is shown").arg(OneLine(prompt)));
    if (cancelled) *cancelled = false;
    return a.words.size() > 1 ? a.words.mid(1).join(QLatin1Char(' ')) : QString();
  }

  // A script answers every file dialog the same way, existing file or not.
  QString FileDialog(FileDialogKind kind, const QString& title, const QString& folder, const QString& filter,
                     const QString& defaultName) override {
    Q_UNUSED(kind);
    Q_UNUSED(filter);
    Q_UNUSED(defaultName);
    const Action a = Next(QStringLiteral("file dialog \"%1\"").arg(title));
    const QString w = a.words.first().toLower();
    if (w == QLatin1String("cancel")) return QString();
    if (w != QLatin1String("file") || a.words.size() < 2)
      Mismatch(a, QStringLiteral("a file dialog \"%1\" is shown").arg(title));
    const QString name = a.words.at(1);
    if (QFileInfo(NativePath(name)).isAbsolute() || folder.isEmpty()) return NativePath(name);
    return JoinPath(folder, NativePath(name));
  }

  void ShowModal(QDialog* form) override {
    QPointer<QDialog> guard(form);
    ModalStack().append(guard);
    form->setModal(true);
    form->show();
    QCoreApplication::processEvents();
    Drive(guard, QStringLiteral("the form %1").arg(form->objectName()));
  }

  void WaitForUser(int maxMs) override {
    QCoreApplication::processEvents(QEventLoop::AllEvents, maxMs);
    const Action a = Next(QStringLiteral("a wait for the user"));
    Perform(a);
    QCoreApplication::processEvents();
  }

  // A modal window of Qt's own has been shown (it waits in an event loop of its own): a message box takes the
  // script's next "answer", any other window the script's actions until it closes.
  void QtOwnWindowShown(QWidget* window) {
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
      Log(QStringLiteral("msgbox"), box->windowTitle(), box->text());
      QList<MsgAnswer> buttons;
      for (MsgAnswer a : {vbOK, vbCancel, vbAbort, vbRetry, vbIgnore, vbYes, vbNo})
        if (box->button(StandardButtonOf(a))) buttons << a;
      box->button(StandardButtonOf(Answer(box->text(), box->windowTitle(), buttons)))->click();
      return;
    }
    Log(QStringLiteral("form"), window->objectName(), window->windowTitle());
    QPointer<QDialog> guard(qobject_cast<QDialog*>(window));
    if (!guard) return;
    ModalStack().append(guard);
    Drive(guard, QStringLiteral("the window %1").arg(window->windowTitle()));
  }

 private:
  struct Action {
    int line = 0;
    QStringList words;
  };

  // The answer of the script's next action to a message box showing `text` under `title` with `buttons`.
  MsgAnswer Answer(const QString& text, const QString& title, const QList<MsgAnswer>& buttons) {
    const Action a = Next(QStringLiteral("message box \"%1\"").arg(OneLine(text)));
    if (a.words.first().compare(QLatin1String("answer"), Qt::CaseInsensitive) != 0 || a.words.size() < 2)
      Mismatch(a, QStringLiteral("a message box \"%1\" is shown").arg(OneLine(text)));
    const QString name = a.words.at(1).toLower();
    if (!AnswerNames().contains(name) || !buttons.contains(AnswerNames().value(name)))
      Mismatch(a, QStringLiteral("the message box \"%1\" has no button %2").arg(OneLine(text), a.words.at(1)));
    if (a.words.size() > 2 && !text.contains(a.words.at(2)) && !title.contains(a.words.at(2)))
      Mismatch(a, QStringLiteral("the message box shows \"%1\"").arg(OneLine(text)));
    return AnswerNames().value(name);
  }

  // The script's actions on a modal window (already on the modal stack) until it is closed or hidden.
  void Drive(const QPointer<QDialog>& guard, const QString& what) {
    while (guard && guard->isVisible()) {
      Perform(Next(what));
      QCoreApplication::processEvents();
    }
    ModalStack().removeAll(guard);
    ModalStack().removeAll(QPointer<QDialog>());
  }

  Action Next(const QString& what) {
    if (next_ >= actions_.size()) {
      FatalScript(QStringLiteral("the script %1 has run out while the program shows %2").arg(source_, what));
    }
    return actions_.at(next_++);
  }

  [[noreturn]] void Mismatch(const Action& a, const QString& what) {
    FatalScript(QStringLiteral("script %1 line %2 (\"%3\") does not fit: %4")
                    .arg(source_)
                    .arg(a.line)
                    .arg(a.words.join(QLatin1Char(' ')), what));
  }

  [[noreturn]] static void FatalScript(const QString& message) {
    Log(QStringLiteral("fatal"), QStringLiteral("script"), message);
    PrintError(message);
    EndProgram(3);
  }

  // The object an action names, which the user must be able to reach (`reach` false: only shown, for a picture).
  static QWidget* Require(const Action& a, int index, ScriptedInteraction* self, bool reach = true) {
    if (a.words.size() <= index) self->Mismatch(a, QStringLiteral("an object name is missing"));
    QWidget* w = FindObject(a.words.at(index));
    if (!w) self->Mismatch(a, QStringLiteral("no object %1 is shown").arg(a.words.at(index)));
    if (reach) {
      const QString why = Unreachable(w);
      if (!why.isEmpty()) self->Mismatch(a, why);
    }
    return w;
  }

  static bool Click(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      if (!b->isEnabled()) return false;
      b->click();
      return true;
    }
    const int index = w->metaObject()->indexOfMethod("click()");
    if (index >= 0) return w->metaObject()->method(index).invoke(w, Qt::DirectConnection);
    const QPointF centre(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, w->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, w->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
    return true;
  }

  // The row of a list or combo box named by "#n" (0-based) or by its text.
  static int RowOf(const QStringList& items, const QString& which) {
    if (which.startsWith(QLatin1Char('#'))) {
      bool ok = false;
      const int n = which.mid(1).toInt(&ok);
      return ok && n >= 0 && n < items.size() ? n : -1;
    }
    for (int i = 0; i < items.size(); ++i)
      if (items.at(i) == which) return i;
    for (int i = 0; i < items.size(); ++i)
      if (TrimBlanks(items.at(i)).compare(TrimBlanks(which), Qt::CaseInsensitive) == 0) return i;
    return -1;
  }

  void Perform(const Action& a) {
    // The action stands for the user's: the handlers it calls run as an event's would.
    const HandlerRunning running;
    const QString w = a.words.first().toLower();
    if (w == QLatin1String("wait")) return;
    if (w == QLatin1String("set")) {
      QWidget* o = Require(a, 1, this);
      const QString text = a.words.size() > 2 ? a.words.mid(2).join(QLatin1Char(' ')) : QString();
      if (auto* e = qobject_cast<QLineEdit*>(o)) {
        e->setFocus();
        e->setText(text);
        emit e->textEdited(text);
      } else if (auto* t = qobject_cast<QTextEdit*>(o)) {
        t->setPlainText(text);
      } else if (auto* p = qobject_cast<QPlainTextEdit*>(o)) {
        p->setPlainText(text);
      } else if (auto* c = qobject_cast<QComboBox*>(o)) {
        if (c->isEditable()) c->setEditText(text);
        else {
          QStringList items;
          for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
          const int row = RowOf(items, text);
          if (row < 0) Mismatch(a, QStringLiteral("%1 has no item %2").arg(o->objectName(), text));
          c->setCurrentIndex(row);
        }
      } else if (auto* s = qobject_cast<QSpinBox*>(o)) {
        s->setValue(text.toInt());
      } else {
        Mismatch(a, QStringLiteral("%1 holds no text").arg(o->objectName()));
      }
      return;
    }
    if (w == QLatin1String("press") || w == QLatin1String("click") || w == QLatin1String("menu")) {
      if (a.words.size() > 1 && !FindObject(a.words.at(1))) {
        if (QAction* action = FindAction(a.words.at(1))) {
          const QString why = ActionUnreachable(action);
          if (!why.isEmpty()) Mismatch(a, why);
          action->trigger();
          return;
        }
      }
      QWidget* o = Require(a, 1, this);
      if (!Click(o)) Mismatch(a, QStringLiteral("%1 cannot be pressed").arg(o->objectName()));
      return;
    }
    if (w == QLatin1String("check")) {
      QWidget* o = Require(a, 1, this);
      auto* b = qobject_cast<QAbstractButton*>(o);
      if (!b || !b->isCheckable()) Mismatch(a, QStringLiteral("%1 is not a check box").arg(o->objectName()));
      const bool on = a.words.size() < 3 || a.words.at(2) != QLatin1String("0");
      if (b->isChecked() != on) b->click();
      return;
    }
    if (w == QLatin1String("pick") || w == QLatin1String("dblclick")) {
      QWidget* o = Require(a, 1, this);
      const QString which = a.words.size() > 2 ? a.words.mid(2).join(QLatin1Char(' ')) : QString();
      if (auto* l = qobject_cast<QListWidget*>(o)) {
        QStringList items;
        for (int i = 0; i < l->count(); ++i) items << l->item(i)->text();
        const int row = RowOf(items, which);
        if (row < 0) Mismatch(a, QStringLiteral("%1 has no item %2").arg(o->objectName(), which));
        l->setCurrentRow(row);
        emit l->itemClicked(l->item(row));
        if (w == QLatin1String("dblclick")) emit l->itemDoubleClicked(l->item(row));
      } else if (auto* c = qobject_cast<QComboBox*>(o)) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        const int row = RowOf(items, which);
        if (row < 0) Mismatch(a, QStringLiteral("%1 has no item %2").arg(o->objectName(), which));
        c->setCurrentIndex(row);
        emit c->activated(row);
      } else {
        Mismatch(a, QStringLiteral("%1 is not a list").arg(o->objectName()));
      }
      return;
    }
    if (w == QLatin1String("close")) {
      // close [form]: the window of the object named, else the window on top, as its close button closes it.
      QWidget* o = a.words.size() > 1 ? Require(a, 1, this) : WindowOnTop();
      if (!o) Mismatch(a, QStringLiteral("no window is shown that could be closed"));
      o->window()->close();
      return;
    }
    if (w == QLatin1String("key") && a.words.size() == 2 && ExtraActions().contains(w)) {
      // "key <key>" without an object: the key goes where a form of the program sends it (the table grid).
      QString error;
      if (!ExtraActions().value(w)(a.words.mid(1), &error)) Mismatch(a, error);
      return;
    }
    if (w == QLatin1String("key")) {
      // A key pressed on an object: key <object> <key>, the key by its Qt name (Enter, Escape, Left, F1,
      // Shift+Tab ...) or as one character, which is also typed.
      QWidget* o = Require(a, 1, this);
      if (a.words.size() < 3) Mismatch(a, QStringLiteral("key needs an object and a key"));
      int key = 0;
      Qt::KeyboardModifiers modifiers;
      QString text;
      if (!KeyOf(a.words.at(2), key, modifiers, text))
        Mismatch(a, QStringLiteral("%1 is no key").arg(a.words.at(2)));
      QPointer<QWidget> guard(o);
      QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
      QCoreApplication::sendEvent(o, &press);
      if (guard) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(o, &release);
      }
      return;
    }
    if (w == QLatin1String("grab")) {
      // A picture of a window as the user sees it, for looking at a run: grab <file.png> [object].
      if (a.words.size() < 2) Mismatch(a, QStringLiteral("grab needs a file name"));
      QWidget* o = a.words.size() > 2 ? Require(a, 2, this, false) : WindowOnTop();
      if (!o) Mismatch(a, QStringLiteral("no window is shown"));
      if (!o->window()->grab().save(a.words.at(1), "PNG"))
        Mismatch(a, QStringLiteral("cannot write %1").arg(a.words.at(1)));
      return;
    }
    if (ExtraActions().contains(w)) {
      QString error;
      if (!ExtraActions().value(w)(a.words.mid(1), &error)) Mismatch(a, error);
      return;
    }
    Mismatch(a, QStringLiteral("unknown action"));
  }

  QString source_;
  QList<Action> actions_;
  qsizetype next_ = 0;
  QtOwnWindows qtOwnWindows_{this};
};

bool QtOwnWindows::eventFilter(QObject* object, QEvent* event) {
  if (event->type() != QEvent::Show || !object->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(object);
  // Qt's own modal windows only: the program's forms are shown through ShowModal, which drives them already.
  if (!w->isWindow() || !qobject_cast<QDialog*>(w) || !w->isModal()) return false;
  for (const QPointer<QDialog>& shown : ModalStack())
    if (shown == w) return false;
  // Taken up once the window's own event loop runs.
  QTimer::singleShot(0, w, [this, w] { script_->QtOwnWindowShown(w); });
  return false;
}

// A menu item (or any action) of a loaded form or top-level window, by object name.
QAction* FindAction(const QString& name) {
  QList<QWidget*> roots = LoadedForms();
  for (QWidget* t : QApplication::topLevelWidgets()) roots << t;
  for (QWidget* root : roots) {
    const QList<QAction*> actions = root->findChildren<QAction*>();
    for (QAction* a : actions)
      if (a->objectName().compare(name, Qt::CaseInsensitive) == 0) return a;
  }
  return nullptr;
}

std::unique_ptr<Interaction>& Current() {
  static std::unique_ptr<Interaction> current;
  return current;
}

Interaction& UI() {
  EnsureApplication();
  if (!Current()) {
    const QByteArray setting = qgetenv("FRATTIX_UI_SCRIPT");
    if (!setting.isEmpty()) Current() = std::make_unique<ScriptedInteraction>(QString::fromLocal8Bit(setting));
    else Current() = std::make_unique<QtInteraction>();
  }
  return *Current();
}

}  // namespace

// -------------------------------------------------------------------------------------------------------------

QString FilterForQt(const QString& filter) {
  if (filter.isEmpty()) return QString();
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts.at(i + 1);
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt shows the pattern after the description itself: a pattern written into the description ("AutoCAD(*.DXF)")
    // is dropped from it, so the user sees it once.
    QString description = parts.at(i);
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0 && description.endsWith(QLatin1Char(')'))) description.truncate(open);
    while (description.endsWith(QLatin1Char(' '))) description.chop(1);
    out << QStringLiteral("%1 (%2)").arg(description, pattern);
  }
  return out.join(QStringLiteral(";;"));
}

QCoreApplication* NewApplication(int& argc, char** argv) { return new Application(argc, argv); }

MsgAnswer MsgBox(const QString& text, int style, const QString& title) {
  // A message may break its lines with CR, CR LF or LF; a Qt label breaks only at LF.
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  Log(QStringLiteral("msgbox"), title, shown);
  return UI().MsgBox(shown, style, title);
}

void Notice(const QString& text, const QString& title) {
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  Log(QStringLiteral("notice"), title, shown);
  if (UI().Scripted()) return;
  auto* box = new QMessageBox(QMessageBox::Information, title.isEmpty() ? QCoreApplication::applicationName() : title,
                              shown, QMessageBox::Ok, QApplication::activeWindow());
  box->setObjectName(QStringLiteral("Notice"));
  box->setTextFormat(Qt::PlainText);
  QObject::connect(box, &QDialog::finished, box, [box] { DeleteAfterHandlers(box); });
  box->setModal(false);
  box->show();
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, bool* cancelled) {
  Log(QStringLiteral("inputbox"), title, prompt);
  return UI().InputBox(prompt, title, defaultText, cancelled);
}

QString GetOpenFileName(const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultName) {
  Log(QStringLiteral("filedialog"), QStringLiteral("open"), title);
  return UI().FileDialog(FileDialogKind::Open, title, folder, filter, defaultName);
}

QString GetOpenOrNewFileName(const QString& title, const QString& folder, const QString& filter,
                             const QString& defaultName) {
  Log(QStringLiteral("filedialog"), QStringLiteral("open"), title);
  return UI().FileDialog(FileDialogKind::OpenOrNew, title, folder, filter, defaultName);
}

QString GetSaveFileName(const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultName) {
  Log(QStringLiteral("filedialog"), QStringLiteral("save"), title);
  return UI().FileDialog(FileDialogKind::Save, title, folder, filter, defaultName);
}

void ShowModal(QDialog* form) {
  Log(QStringLiteral("form"), form->objectName(), form->windowTitle());
  UI().ShowModal(form);
}

void ShowModeless(QWidget* form) {
  EnsureApplication();
  Log(QStringLiteral("window"), form->objectName(), form->windowTitle());
  ShownWindows().removeAll(QPointer<QWidget>(form));
  ShownWindows().append(form);
  form->show();
}

void DoEvents() {
  EnsureApplication();
  QCoreApplication::processEvents();
}

void RunUntilClosed(QWidget* mainWindow) {
  EnsureApplication();
  QPointer<QWidget> guard(mainWindow);
  if (!UI().Scripted()) {
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, qApp, &QCoreApplication::quit);
    QApplication::exec();
    return;
  }
  while (guard && guard->isVisible()) UI().WaitForUser(10);
}

void WaitForUser(int maxMs) { UI().WaitForUser(maxMs); }

bool Scripted() { return UI().Scripted(); }

void ShowFatal(const QString& text, const QString& title) {
  EnsureApplication();
  if (Scripted() || !QCoreApplication::instance() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
    Log(QStringLiteral("fatal"), title, text);
  } else {
    MsgBox(text, vbOKOnly | vbCritical, title);
  }
}

void FatalError(const QString& text, const QString& title, int code) {
  PrintError(OneLine(text));
  ShowFatal(text, title);
  EndProgram(code);
}

void RegisterScriptAction(const QString& word, ScriptAction action) { ExtraActions().insert(word.toLower(), action); }

QWidget* FindObject(const QString& name) {
  QString formName, objectName = name;
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot > 0) {
    formName = name.left(dot);
    objectName = name.mid(dot + 1);
  }
  QList<QWidget*> roots;
  for (auto it = ModalStack().rbegin(); it != ModalStack().rend(); ++it)
    if (*it && (*it)->isVisible()) roots << it->data();
  for (QWidget* f : LoadedForms()) roots << f;
  for (QWidget* t : QApplication::topLevelWidgets()) roots << t;
  for (QWidget* root : roots) {
    if (!formName.isEmpty() && root->objectName().compare(formName, Qt::CaseInsensitive) != 0) continue;
    if (root->objectName().compare(objectName, Qt::CaseInsensitive) == 0 && formName.isEmpty()) return root;
    const QList<QWidget*> children = root->findChildren<QWidget*>();
    for (QWidget* c : children)
      if (c->objectName().compare(objectName, Qt::CaseInsensitive) == 0) return c;
  }
  return nullptr;
}

QString Unreachable(QWidget* w) {
  if (!w->isVisible()) return QStringLiteral("%1 is not shown").arg(w->objectName());
  if (!w->isEnabled()) return QStringLiteral("%1 is disabled").arg(w->objectName());
  QWidget* modal = TopModal();
  if (modal && !OverModal(w, modal))
    return QStringLiteral("%1 is behind the modal window %2").arg(w->objectName(), modal->objectName());
  return {};
}

void ResetInteraction() {
  Current().reset();
  ModalStack().clear();
}

}  // namespace plat
