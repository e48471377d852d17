#include "common/platform/style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>

#include <functional>
#include <memory>

namespace plat {

namespace {

// An icon read when it is first needed: every request goes to the icon that `read` gives, made at the first one.
class DeferredIconEngine : public QIconEngine {
 public:
  explicit DeferredIconEngine(std::function<QIcon()> read) : state_(std::make_shared<State>()) {
    state_->read = std::move(read);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QString iconName() override { return Icon().name(); }
  QString key() const override { return QStringLiteral("FrattixDeferred"); }
  // Copies share the icon, read once for all of them.
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

 private:
  struct State {
    std::function<QIcon()> read;
    QIcon icon;
    bool done = false;
  };
  const QIcon& Icon() {
    if (!state_->done) {
      state_->done = true;
      state_->icon = state_->read();
      state_->read = nullptr;
    }
    return state_->icon;
  }
  std::shared_ptr<State> state_;
};

class SuiteStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
      return QProxyStyle::standardIcon(which, option, widget);
    // The option (none where a menu bar asks) lives only through this call: the icon is read for the widget, if
    // it still exists, and with no option.
    QPointer<QWidget> guarded(const_cast<QWidget*>(widget));
    QPointer<QProxyStyle> self(const_cast<SuiteStyle*>(this));
    return QIcon(new DeferredIconEngine([self, which, guarded] {
      return self ? self->baseStyle()->standardIcon(which, nullptr, guarded.data()) : QIcon();
    }));
  }
};

}  // namespace

void UseSuiteStyle() {
  // The proxy takes the application's style as its base (and its ownership), so the platform's style and any
  // style the user chose stay what the windows are drawn with.
  QApplication::setStyle(new SuiteStyle(QApplication::style()));
}

}  // namespace plat
