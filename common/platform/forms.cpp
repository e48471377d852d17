#include "common/platform/forms.h"

#include <QCloseEvent>

namespace plat {

namespace {
QList<QPointer<QWidget>>& Registry() {
  static QList<QPointer<QWidget>> forms;
  return forms;
}
void Prune() { Registry().removeAll(QPointer<QWidget>()); }
}  // namespace

void RegisterForm(QWidget* form) {
  Prune();
  for (const auto& f : Registry())
    if (f == form) return;
  Registry().append(form);
}

void UnregisterForm(QWidget* form) {
  Registry().removeAll(QPointer<QWidget>(form));
  Prune();
}

int FormsCount() {
  Prune();
  return static_cast<int>(Registry().size());
}

QList<QWidget*> LoadedForms() {
  Prune();
  QList<QWidget*> out;
  for (const auto& f : Registry()) out.append(f.data());
  return out;
}

QWidget* LoadedForm(const QString& name) {
  // The plot engine asks for its window at every segment it draws: the registry is read in place, not copied.
  for (const auto& f : Registry())
    if (f && f->objectName().compare(name, Qt::CaseInsensitive) == 0) return f.data();
  return nullptr;
}

Form::Form(const QString& name, QWidget* parent) : QDialog(parent) {
  setObjectName(name);
  RegisterForm(this);
}

Form::~Form() { UnregisterForm(this); }

void Form::Unload() {
  if (unloaded_) return;
  unloading_ = true;
  close();
  unloading_ = false;
}

void Form::closeEvent(QCloseEvent* event) {
  const bool byUser = !unloading_;
  if (!QueryUnload(byUser)) {
    event->ignore();
    return;
  }
  closedByUser_ = byUser;
  event->accept();
  if (!unloaded_) {
    unloaded_ = true;
    Form_Unload();
    UnregisterForm(this);
    deleteLater();
  }
}

void Form::reject() {
  // Escape and the window's close button both close the form as the user's closing.
  close();
}

}  // namespace plat
