// Forms of the suite and the registry of loaded forms (the original's Forms collection). A form is loaded when it
// is created and unloaded when it is closed (by the program or by the window's close button); the registry counts
// the loaded ones.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

namespace plat {

void RegisterForm(QWidget* form);
void UnregisterForm(QWidget* form);
int FormsCount();
QList<QWidget*> LoadedForms();
// The loaded form of that name (without regard to case), or nullptr.
QWidget* LoadedForm(const QString& name);

// Base of the suite's dialog forms. The object name is the form's name. Closing the form unloads it: QueryUnload
// may refuse; Form_Unload runs; the form leaves the registry and is deleted when control returns to the event loop.
class Form : public QDialog {
  Q_OBJECT
 public:
  explicit Form(const QString& name, QWidget* parent = nullptr);
  ~Form() override;

  // Unload: closes the form (with QueryUnload and Form_Unload) and deletes it later.
  void Unload();
  bool Unloaded() const { return unloaded_; }
  // True when the last closing came from the window's close button (or Escape), not from Unload().
  bool ClosedByUser() const { return closedByUser_; }

 protected:
  // Return false to keep the form loaded. `byUser`: the window's close button, not the program.
  virtual bool QueryUnload(bool byUser) {
    (void)byUser;
    return true;
  }
  virtual void Form_Unload() {}

  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  bool unloaded_ = false;
  bool unloading_ = false;
  bool closedByUser_ = false;
};

}  // namespace plat
