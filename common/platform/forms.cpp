#include "common/platform/forms.h"

#include "common/platform/application.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <vector>

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
    // Closed from one of its own handlers, the form outlives it.
    DeleteAfterHandlers(this);
  }
}

void Form::setVisible(bool visible) {
  if (visible && fitsTexts_ && !isVisible()) FitToTexts(this);
  QDialog::setVisible(visible);
}

void Form::reject() {
  // Escape and the window's close button both close the form as the user's closing.
  close();
}

// ---------------------------------------------------------------------------------------------------------------
// Controls fitted to their texts.

namespace {

// The style options a control paints itself with: its initStyleOption is protected, and is reached through a member
// pointer named in a class derived from the control's.
template <class Control, class Option>
struct StyleOf : Control {
  static Option Of(const Control* c) {
    Option o;
    (c->*(&StyleOf::initStyleOption))(&o);
    return o;
  }
};

// The width of the widest line of a text in the control's font, in the control's pixels, rounded up.
int Advance(const QWidget* w, const QString& text) {
  const QFontMetricsF fm(w->font(), w);
  double widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) widest = std::max(widest, fm.horizontalAdvance(line));
  return static_cast<int>(std::ceil(widest - 1e-6));
}

int LineHeight(const QWidget* w) { return QFontMetrics(w->font(), w).height(); }

constexpr const char* kWidestValue = "frattixWidestValue";

}  // namespace

QString ShownCaption(const QString& caption) {
  QString out;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption.at(i) == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += caption.at(i);
  }
  return out;
}

QString WidestNumber(double minimum, double maximum) {
  double largest = std::max(std::fabs(minimum), std::fabs(maximum));
  if (!std::isfinite(largest)) largest = 0;
  return (minimum < 0 ? QStringLiteral("-") : QString()) + QString::number(std::floor(largest), 'f', 0) +
         QStringLiteral(".000");
}

void SetWidestValue(QLineEdit* field, const QString& value) { field->setProperty(kWidestValue, value); }

QString WidestValue(const QLineEdit* field) { return field->property(kWidestValue).toString(); }

QRect TextRoom(const QWidget* field) {
  if (const auto* e = qobject_cast<const QLineEdit*>(field)) {
    const QStyleOptionFrame o = StyleOf<QLineEdit, QStyleOptionFrame>::Of(e);
    return e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e).marginsRemoved(e->textMargins());
  }
  if (const auto* c = qobject_cast<const QComboBox*>(field)) {
    const QStyleOptionComboBox o = StyleOf<QComboBox, QStyleOptionComboBox>::Of(c);
    return c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c);
  }
  return {};
}

int CentredInkHeight(const QWidget* control, const QString& text) {
  const QFontMetricsF fm(control->font(), control);
  const QRectF ink = fm.tightBoundingRect(text);
  // The line (the font's height) centred in a room R starts (R - height) / 2 from its top; the ink lies from
  // ascent + ink.top to ascent + ink.bottom below the line's top. Both ends within the room:
  const double fromTop = fm.height() - 2 * (fm.ascent() + ink.top());
  const double fromBottom = 2 * (fm.ascent() + ink.bottom()) - fm.height();
  return static_cast<int>(std::ceil(std::max({fromTop, fromBottom, ink.height()}) - 1e-6));
}

QSize SizeForText(const QWidget* control) {
  QStyle* style = control->style();
  if (const auto* l = qobject_cast<const QLabel*>(control)) {
    // A label without a buddy shows its "&" as it is.
    const QString text = l->buddy() ? ShownCaption(l->text()) : l->text();
    if (text.isEmpty()) return {};
    if (l->wordWrap()) return {0, l->heightForWidth(l->width())};
    const QRect inside = l->contentsRect();
    const int m = 2 * l->margin() + (l->indent() > 0 ? l->indent() : 0);
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    return {Advance(l, text) + l->width() - inside.width() + m,
            lines * LineHeight(l) + l->height() - inside.height() + 2 * l->margin()};
  }
  if (const auto* b = qobject_cast<const QPushButton*>(control)) {
    const QString text = ShownCaption(b->text());
    if (text.isEmpty()) return {};
    const QStyleOptionButton o = StyleOf<QPushButton, QStyleOptionButton>::Of(b);
    const QRect inside = style->subElementRect(QStyle::SE_PushButtonContents, &o, b);
    // A few pixels either side, so that the caption never touches the button's edge.
    return {Advance(b, text) + b->width() - inside.width() + 6, LineHeight(b) + b->height() - inside.height() + 2};
  }
  if (const auto* r = qobject_cast<const QRadioButton*>(control)) {
    const QString text = ShownCaption(r->text());
    if (text.isEmpty()) return {};
    const QStyleOptionButton o = StyleOf<QRadioButton, QStyleOptionButton>::Of(r);
    const QRect inside = style->subElementRect(QStyle::SE_RadioButtonContents, &o, r);
    return {inside.left() + Advance(r, text) + 2,
            std::max(LineHeight(r), style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &o, r))};
  }
  if (const auto* c = qobject_cast<const QCheckBox*>(control)) {
    const QString text = ShownCaption(c->text());
    if (text.isEmpty()) return {};
    const QStyleOptionButton o = StyleOf<QCheckBox, QStyleOptionButton>::Of(c);
    const QRect inside = style->subElementRect(QStyle::SE_CheckBoxContents, &o, c);
    return {inside.left() + Advance(c, text) + 2,
            std::max(LineHeight(c), style->pixelMetric(QStyle::PM_IndicatorHeight, &o, c))};
  }
  if (const auto* g = qobject_cast<const QGroupBox*>(control)) {
    const QString text = ShownCaption(g->title());
    if (text.isEmpty()) return {};
    const QStyleOptionGroupBox o = StyleOf<QGroupBox, QStyleOptionGroupBox>::Of(g);
    const QRect label = style->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
    // The title's place from the left edge, and as much again on the right.
    return {2 * std::max(0, label.left()) + std::max(label.width(), Advance(g, text) + 1), 0};
  }
  if (const auto* e = qobject_cast<const QLineEdit*>(control)) {
    const int text = std::max(e->text().isEmpty() ? 0 : Advance(e, e->text()),
                              WidestValue(e).isEmpty() ? 0 : Advance(e, WidestValue(e)));
    if (text == 0) return {};
    const QRect inside = TextRoom(e);
    // The line edit keeps 2 pixels on either side of its text and 1 above and below; the cursor takes one more.
    return {text + 2 + 4 + e->width() - inside.width(), LineHeight(e) + 2 + e->height() - inside.height()};
  }
  if (const auto* c = qobject_cast<const QComboBox*>(control)) {
    int widest = 0;
    for (int i = 0; i < c->count(); ++i) widest = std::max(widest, Advance(c, c->itemText(i)));
    if (widest == 0) return {};
    const QRect field = TextRoom(c);
    return {widest + 4 + c->width() - field.width(), LineHeight(c) + c->height() - field.height()};
  }
  return {};
}

namespace {

// One control of a form being fitted: its place before, and how far it moves and grows along each axis.
struct Placed {
  QWidget* w;
  QRect before;
  int move[2] = {0, 0};
  int grow[2] = {0, 0};
};

int Start(const QRect& r, int axis) { return axis == 0 ? r.left() : r.top(); }
int End(const QRect& r, int axis) { return axis == 0 ? r.left() + r.width() : r.top() + r.height(); }

// Along one axis: what lies after a control (beyond its end, and beside it across the axis) moves on by as much
// as the control moves and grows; controls that started together start together, controls that ended together
// end together. Repeated until nothing changes (every change only adds).
void Spread(std::vector<Placed>& all, int axis) {
  const int across = 1 - axis;
  for (int round = 0; round < 100; ++round) {
    bool changed = false;
    const auto raise = [&changed](int& value, int to) {
      if (to > value) {
        value = to;
        changed = true;
      }
    };
    for (Placed& s : all)
      for (const Placed& c : all) {
        if (&c == &s) continue;
        const bool before = End(c.before, axis) <= Start(s.before, axis) + 1;
        const bool beside = Start(c.before, across) < End(s.before, across) && Start(s.before, across) < End(c.before, across);
        if (before && beside) raise(s.move[axis], c.move[axis] + c.grow[axis]);
        if (std::abs(Start(c.before, axis) - Start(s.before, axis)) <= 1) raise(s.move[axis], c.move[axis]);
        if (std::abs(End(c.before, axis) - End(s.before, axis)) <= 1)
          raise(s.grow[axis], c.move[axis] + c.grow[axis] - s.move[axis]);
      }
    if (!changed) return;
  }
}

void SetSize(QWidget* w, const QSize& size) {
  if (w->minimumWidth() == w->maximumWidth()) w->setFixedWidth(size.width());
  if (w->minimumHeight() == w->maximumHeight()) w->setFixedHeight(size.height());
  w->resize(size);
}

void Fit(QWidget* container) {
  if (container->layout()) return;
  std::vector<Placed> all;
  for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!w->isWindow() && !w->isHidden()) all.push_back({w, w->geometry()});
  if (all.empty()) return;
  // The frames first: they grow with their contents.
  for (Placed& p : all)
    if (qobject_cast<QGroupBox*>(p.w)) {
      Fit(p.w);
      p.grow[0] = std::max(0, p.w->width() - p.before.width());
      p.grow[1] = std::max(0, p.w->height() - p.before.height());
    }
  const QSize size = container->size();
  QSize grown = size;
  for (int axis = 0; axis < 2; ++axis) {
    // The room each text needs, the widths already fitted when the heights are.
    for (Placed& p : all) {
      const QSize need = SizeForText(p.w);
      const int has = axis == 0 ? p.before.width() : p.before.height();
      const int wants = axis == 0 ? need.width() : need.height();
      if (need.isValid() || wants > 0) p.grow[axis] = std::max(p.grow[axis], wants - has);
    }
    Spread(all, axis);
    int last = 0;
    for (const Placed& p : all) last = std::max(last, End(p.before, axis));
    const int margin = std::max(0, (axis == 0 ? size.width() : size.height()) - last);
    int& extent = axis == 0 ? grown.rwidth() : grown.rheight();
    for (Placed& p : all) {
      if (p.move[axis] + p.grow[axis] <= 0) continue;
      extent = std::max(extent, End(p.before, axis) + p.move[axis] + p.grow[axis] + margin);
      p.w->move(p.before.x() + p.move[0], p.before.y() + p.move[1]);
      SetSize(p.w, {p.before.width() + p.grow[0], p.before.height() + p.grow[1]});
    }
  }
  if (grown != size) SetSize(container, grown);
}

}  // namespace

void FitToTexts(QWidget* form) {
  const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect();
  const QPoint centre = form->geometry().center();
  const bool centred = !area.isNull() && std::abs(centre.x() - area.center().x()) <= 1 &&
                       std::abs(centre.y() - area.center().y()) <= 1;
  Fit(form);
  if (centred) form->move(area.x() + (area.width() - form->width()) / 2, area.y() + (area.height() - form->height()) / 2);
}

}  // namespace plat
