#include "common/platform/help.h"

#include "common/platform/application.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QWidget>

namespace plat {

namespace {

// The help window: the list of topics on the left, the text of the chosen topic on the right.
class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    auto* layout = new QHBoxLayout(this);
    auto* splitter = new QSplitter(this);
    list_ = new QListWidget(splitter);
    list_->setObjectName(QStringLiteral("Topics"));
    text_ = new QTextBrowser(splitter);
    text_->setObjectName(QStringLiteral("HelpText"));
    splitter->addWidget(list_);
    splitter->addWidget(text_);
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter);
    resize(760, 480);
    QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { Show(row); });
  }

  void Load(const QString& file, const QList<HelpTopic>& topics) {
    file_ = file;
    topics_ = topics;
    list_->blockSignals(true);
    list_->clear();
    for (const HelpTopic& t : topics_) list_->addItem(t.title);
    list_->blockSignals(false);
  }
  const QString& File() const { return file_; }

  void Select(int row) {
    list_->blockSignals(true);
    list_->setCurrentRow(row);
    list_->blockSignals(false);
    Show(row);
  }

 protected:
  // A window the user closes goes once the handler that closed it has returned.
  void closeEvent(QCloseEvent* event) override {
    QWidget::closeEvent(event);
    if (event->isAccepted()) DeleteAfterHandlers(this);
  }

 private:
  void Show(int row) {
    if (row < 0 || row >= topics_.size()) return;
    const HelpTopic& t = topics_.at(row);
    QString html = QStringLiteral("<h3>%1</h3>").arg(t.title.toHtmlEscaped());
    for (const QString& p : t.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
      html += QStringLiteral("<p>%1</p>").arg(p.toHtmlEscaped());
    text_->setHtml(html);
    setWindowTitle(t.title);
  }

  QString file_;
  QList<HelpTopic> topics_;
  QListWidget* list_ = nullptr;
  QTextBrowser* text_ = nullptr;
};

QPointer<HelpWindow>& Window() {
  static QPointer<HelpWindow> window;
  return window;
}

// Centres `w` over `owner` (or on the primary screen) and keeps it within the screen's work area.
void PlaceOver(QWidget* w, QWidget* owner) {
  QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // The frame counts: move() places the frame, and the frame must lie on the screen too.
  const QSize frame = w->frameGeometry().size() - w->size();
  w->resize(w->size().boundedTo(area.size() - frame));
  const QSize size = w->size() + frame;
  const QPoint centre = owner ? owner->frameGeometry().center() : area.center();
  QRect r(QPoint(0, 0), size);
  r.moveCenter(centre);
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.left() < area.left()) r.moveLeft(area.left());
  if (r.top() < area.top()) r.moveTop(area.top());
  w->move(r.topLeft());
}

// Opens the window on the file's topics and shows the topic that `pick` chooses (-1: none found).
HelpResult Open(const QString& helpFile, int context, bool contents, int* line) {
  QList<HelpTopic> topics;
  bool damaged = false;
  if (helpFile.isEmpty()) return HelpResult::NoFile;
  if (!ReadHelpFile(helpFile, topics, nullptr, &damaged, line)) return damaged ? HelpResult::Damaged : HelpResult::NoFile;
  int row = contents ? 0 : -1;
  for (int i = 0; row < 0 && i < topics.size(); ++i)
    if (topics.at(i).context == context) row = i;
  if (row < 0) return HelpResult::NoTopic;
  // A window the user closed is on its way to deletion: a new one takes its place.
  if (Window() && !Window()->isVisible()) Window() = nullptr;
  const bool first = !Window();
  if (first) {
    // The window belongs to the window the user works in and opens over it, wholly on its screen.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = QApplication::activeWindow();
    if (!owner)
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() != QLatin1String("HelpWindow")) owner = w;
    Window() = new HelpWindow(owner);
  }
  Window()->Load(helpFile, topics);
  Window()->Select(row);
  ShowModeless(Window());
  if (first) PlaceOver(Window(), Window()->parentWidget());
  Window()->raise();
  Window()->activateWindow();
  return HelpResult::Shown;
}

}  // namespace

bool ReadHelpFile(const QString& path, QList<HelpTopic>& topics, QString* error, bool* damaged, int* faultLine) {
  topics.clear();
  if (damaged) *damaged = false;
  if (faultLine) *faultLine = 0;
  // A file that was read but is none of topics, at its line (0: the whole file).
  auto fault = [damaged, faultLine](int number) {
    if (damaged) *damaged = true;
    if (faultLine) *faultLine = number;
  };
  SeqReader r;
  const bool opened = r.Open(path);
  // The file named as it stands on disk.
  const QString name = FileNamePart(r.Path().isEmpty() ? path : r.Path());
  if (!opened) {
    if (r.Fault() == ReadFault::LineEnds || r.Fault() == ReadFault::TooLarge) fault(r.FaultLine());
    if (error)
      *error = r.Fault() == ReadFault::LineEnds
                   ? QStringLiteral("%1, line %2: a CR that ends no line").arg(name).arg(r.FaultLine())
                   : QStringLiteral("%1 cannot be read").arg(name);
    return false;
  }
  QString line;
  bool paragraph = false;
  while (!r.AtEnd()) {
    const int number = r.LineNumber();
    r.ReadLine(line);
    if (line.startsWith(QLatin1Char('@'))) {
      const qsizetype blank = line.indexOf(QLatin1Char(' '));
      const QString digits = blank < 0 ? line.mid(1) : line.mid(1, blank - 1);
      bool ok = false;
      const int context = digits.toInt(&ok);
      const QString title = blank < 0 ? QString() : TrimBlanks(line.mid(blank + 1));
      bool repeated = false;
      for (const HelpTopic& t : topics) repeated = repeated || t.context == context;
      if (!ok || context < 0 || context > 65535 || title.isEmpty() || repeated) {
        if (error) *error = QStringLiteral("%1, line %2: bad topic line").arg(name).arg(number);
        fault(number);
        topics.clear();
        return false;
      }
      topics.append({context, title, QString()});
      paragraph = false;
      continue;
    }
    if (topics.isEmpty()) continue;  // comments and blank lines before the first topic
    const QString text = TrimBlanks(line);
    QString& body = topics.last().text;
    if (text.isEmpty()) {
      paragraph = false;
    } else {
      if (!body.isEmpty()) body += paragraph ? QStringLiteral(" ") : QStringLiteral("\n");
      body += text;
      paragraph = true;
    }
  }
  if (topics.isEmpty()) {
    if (error) *error = QStringLiteral("%1 holds no topic").arg(name);
    fault(0);
    return false;
  }
  return true;
}

HelpResult ShowHelp(const QString& helpFile, int context, int* line) { return Open(helpFile, context, false, line); }

HelpResult ShowHelpContents(const QString& helpFile, int* line) { return Open(helpFile, 0, true, line); }

void CloseHelp() {
  if (Window()) Window()->close();
  Window() = nullptr;  // deleted when the event loop next runs
}

}  // namespace plat
