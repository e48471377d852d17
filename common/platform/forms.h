// Forms of the suite and the registry of loaded forms (Forms), through which a program finds a form by its name
// and waits while one stays open (a plot's preview counts the forms until it is closed). A form is loaded when it
// is created and unloaded when it is closed (by the program or by the window's close button); the registry counts
// the loaded ones.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

class QLineEdit;

namespace plat {

void RegisterForm(QWidget* form);
void UnregisterForm(QWidget* form);
int FormsCount();
QList<QWidget*> LoadedForms();
// The loaded form of that name (without regard to case), or nullptr.
QWidget* LoadedForm(const QString& name);

// The size a control must have to show its whole text in its own font, as its style draws it: a label's text, a
// button's, option's or check box's caption (without its access-key marks), a field's text and the widest value it
// is sized for, a drop-down list's longest entry. An invalid size for a control that shows no such text, and for a
// label that wraps its text (its height for its width is what it needs).
QSize SizeForText(const QWidget* control);

// A caption as it shows: a single "&" marks the access key and is not shown, "&&" shows one "&".
QString ShownCaption(const QString& caption);

// Where a field draws its text: a line edit's contents less its text margins, a drop-down list's edit field; an
// empty rectangle for other controls.
QRect TextRoom(const QWidget* field);

// The height of the room a control needs to show the ink of a text whole when it draws the text's line centred
// upright in that room, in its font (a drop-down list's entry): the line is centred, not its ink, so a descender
// or an accented capital reaches further from the middle than half the ink's height.
int CentredInkHeight(const QWidget* control, const QString& text);

// The widest value a numeric field of range minimum..maximum is sized for: the bound with more figures before the
// point, with three decimals, a minus sign in front when the range holds negative values ("-90.000",
// "10000000.000").
QString WidestNumber(double minimum, double maximum);
// The value a field is sized for besides the text it holds.
void SetWidestValue(QLineEdit* field, const QString& value);
QString WidestValue(const QLineEdit* field);

// Lays the controls of a form (or of a frame) out again from the metrics of their fonts, keeping the form's
// arrangement: every control whose text needs more room than it has grows to the right (and down), and what lies
// beside it (below it) moves along by as much; controls that shared a left or right edge (a top or bottom edge)
// keep sharing it; the frames grow with their contents and the form with everything. Nothing ever shrinks. The
// controls a layout manages are left to their layout; a form that was centred on the screen is centred again.
void FitToTexts(QWidget* form);

// Base of the suite's dialog forms. The object name is the form's name. Closing the form unloads it: QueryUnload
// may refuse; Form_Unload runs; the form leaves the registry and is deleted once no handler runs (application.h).
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
  // Before the form is shown its controls are fitted to their texts (FitToTexts); a form that lays itself out from
  // its fonts' metrics turns that off.
  void setVisible(bool visible) override;
  void SetFitsTexts(bool fits) { fitsTexts_ = fits; }

 private:
  bool fitsTexts_ = true;
  bool unloaded_ = false;
  bool unloading_ = false;
  bool closedByUser_ = false;
};

}  // namespace plat
