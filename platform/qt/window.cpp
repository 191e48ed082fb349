#include "platform/qt/window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QTextDocument>
#include <algorithm>
#include <climits>

#include "platform/qt/alignment.h"
#include "platform/qt/fonts.h"
#include "platform/qt/line_edit.h"
#include "platform/qt/pictures.h"
#include "platform/qt/text_conversion.h"

namespace platform::qt {

namespace {

QColor toColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

bool takesFocus(ControlKind kind) {
  switch (kind) {
    case ControlKind::edit:
    case ControlKind::digitsEdit:
    case ControlKind::passwordEdit:
    case ControlKind::multiLineEdit:
    case ControlKind::pictureButton:
    case ControlKind::button:
    case ControlKind::table:
      return true;
    default:
      return false;
  }
}

// The notes as the program holds them: CR LF between lines, every other
// character as typed. (toPlainText would turn no-break spaces into blanks.)
QString plainText(const QPlainTextEdit& edit) {
  QString text = edit.document()->toRawText();
  for (QChar& c : text) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
  }
  return toCrLf(text);
}

// A text the program puts into a one-line field is kept whole, however long;
// only typing is limited, and typing cannot make such a text longer.
void setWholeText(QLineEdit& edit, const QString& text) {
  edit.setMaxLength(
      std::max(typingLimit, static_cast<int>(std::min<qsizetype>(text.size(), INT_MAX))));
  edit.setText(text);
}

}  // namespace

Window::Window(const WindowDefinition& definition)
    : frame_(new MainFrame(toColor(definition.background), *this)),
      tooltips_(new TooltipController(frame_)),
      timer_(new QTimer(frame_)) {
  frame_->setWindowTitle(toQString(definition.title));
  frame_->setWindowIcon(pictureIcon("app-icon", {QSize(32, 32), QSize(16, 16)}));
  defaultFont_ = makeFont(definition.fonts, FontId::defaultFont);
  frame_->setFont(defaultFont_);
  frame_->resize(definition.clientWidth, definition.clientHeight);

  for (const ControlDefinition& control : definition.controls) createControl(definition, control);
  setTabOrder();
  frameResized();

  QObject::connect(timer_, &QTimer::timeout, frame_, [this] {
    if (alive() && events_ != nullptr) events_->timerExpired();
  });
  // Where the desktop session tells the program that it ends, the program is
  // asked as for a close and may refuse. Allowed, the session manager ends
  // the program; nothing is written then.
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, frame_,
                   [this](QSessionManager& session) {
                     bool mayAsk = session.allowsInteraction();
                     bool mayEnd = sessionMayEnd(mayAsk);
                     if (mayAsk) session.release();
                     if (!mayEnd) session.cancel();
                   });
}

Window::~Window() { delete frame_; }

void Window::createControl(const WindowDefinition& window, const ControlDefinition& definition) {
  QWidget* widget = nullptr;
  switch (definition.kind) {
    case ControlKind::edit:
    case ControlKind::digitsEdit:
    case ControlKind::passwordEdit:
      widget = newLineEdit(definition.kind, frame_);
      break;
    case ControlKind::multiLineEdit: {
      auto* edit = new QPlainTextEdit(frame_);
      edit->setLineWrapMode(QPlainTextEdit::NoWrap);
      edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      edit->setTabChangesFocus(true);
      widget = edit;
      break;
    }
    case ControlKind::pictureButton:
    case ControlKind::button: {
      auto* button = new QPushButton(frame_);
      button->setAutoDefault(false);
      button->setDefault(false);
      button->setFocusPolicy(Qt::StrongFocus);
      if (definition.kind == ControlKind::button) {
        button->setText(toQString(definition.text));
      } else {
        QSize size = definition.scaled ? QSize(definition.width, definition.height)
                                       : QSize(definition.pictureSize, definition.pictureSize);
        button->setIcon(pictureIcon(definition.text, {size}, qGuiApp->devicePixelRatio()));
        button->setIconSize(size);
        button->setAccessibleName(toQString(definition.accessibleName));
      }
      ControlId id = definition.id;
      QObject::connect(button, &QPushButton::clicked, frame_, [this, id] {
        if (alive() && events_ != nullptr) events_->controlClicked(id);
      });
      widget = button;
      break;
    }
    case ControlKind::label: {
      auto* label = new QLabel(fromCrLf(toQString(definition.text)), frame_);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(toAlignment(definition.alignment));
      if (definition.highlighted) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, toColor(window.highlightBackground));
        label->setPalette(colours);
        label->setAutoFillBackground(true);
      }
      widget = label;
      break;
    }
    case ControlKind::picture: {
      auto* picture = new QLabel(frame_);
      picture->setPixmap(renderPicture(definition.text, QSize(definition.width, definition.height),
                                       qGuiApp->devicePixelRatio()));
      picture->setAlignment(Qt::AlignCenter);
      widget = picture;
      break;
    }
    case ControlKind::table: {
      model_ = new RecordTableModel();
      table_ = new RecordTableView(*model_, toColor(window.tableBackground), frame_);
      QObject::connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, frame_,
                       [this](int section) {
                         if (alive() && events_ != nullptr) events_->columnClicked(section + 1);
                       });
      widget = table_;
      break;
    }
    case ControlKind::statusBar:
      statusBar_ = new qt::StatusBar(
          window.statusPartWidths,
          QRect(window.progressX, window.progressY, window.progressWidth, window.progressHeight),
          frame_);
      if (QLabel* first = statusBar_->part(1)) first->setText(toQString(definition.text));
      widget = statusBar_;
      break;
    case ControlKind::progressBar:
      if (statusBar_ != nullptr) {
        widget = statusBar_->progressBar();
      } else {
        auto* progress = new QProgressBar(frame_);
        progress->setRange(0, 100);
        progress->setTextVisible(false);
        progress->setGeometry(window.progressX, window.progressY, window.progressWidth,
                              window.progressHeight);
        widget = progress;
      }
      break;
  }
  if (widget == nullptr) return;

  widget->setObjectName(QString::number(toInt(definition.id)));
  if (definition.kind != ControlKind::statusBar && definition.kind != ControlKind::progressBar) {
    widget->setGeometry(definition.x, definition.y, definition.width, definition.height);
  }
  if (definition.font != FontId::defaultFont)
    widget->setFont(makeFont(window.fonts, definition.font));
  if (!takesFocus(definition.kind)) widget->setFocusPolicy(Qt::NoFocus);
  if (definition.hidden) widget->hide();

  // A picture's name is no text; the table's text is kept though not shown.
  std::string storedText =
      definition.kind == ControlKind::table ? std::string(definition.text) : std::string();
  controls_.push_back({definition.id, definition.kind, widget, std::move(storedText), {}});
}

void Window::setTabOrder() {
  QWidget* previous = nullptr;
  for (const Control& control : controls_) {
    if (!takesFocus(control.kind)) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, control.widget);
    previous = control.widget;
  }
}

const Window::Control* Window::find(ControlId id) const {
  if (!alive()) return nullptr;
  auto found = std::ranges::find(controls_, id, &Control::id);
  return found == controls_.end() ? nullptr : &*found;
}

Window::Control* Window::find(ControlId id) {
  return const_cast<Control*>(std::as_const(*this).find(id));
}

QWidget* Window::control(ControlId id) const {
  const Control* found = find(id);
  return found ? found->widget : nullptr;
}

RecordTableView* Window::table() const { return alive() ? table_ : nullptr; }

qt::StatusBar* Window::statusBar() const { return alive() ? statusBar_ : nullptr; }

std::string Window::text(ControlId id) const {
  const Control* control = find(id);
  if (control == nullptr) return {};
  switch (control->kind) {
    case ControlKind::edit:
    case ControlKind::digitsEdit:
    case ControlKind::passwordEdit:
      return toCp1252(static_cast<QLineEdit*>(control->widget)->text());
    case ControlKind::multiLineEdit: {
      auto* edit = static_cast<QPlainTextEdit*>(control->widget);
      if (!control->longText.empty() && !edit->document()->isModified()) return control->longText;
      return toCp1252(plainText(*edit));
    }
    case ControlKind::label:
      return toCp1252(toCrLf(static_cast<QLabel*>(control->widget)->text()));
    case ControlKind::statusBar:
      return toCp1252(statusBar_->part(1)->text());
    default:
      return control->storedText;
  }
}

void Window::setText(ControlId id, std::string_view text) {
  Control* control = find(id);
  if (control == nullptr) return;
  switch (control->kind) {
    case ControlKind::edit:
    case ControlKind::digitsEdit:
    case ControlKind::passwordEdit:
      setWholeText(*static_cast<QLineEdit*>(control->widget), toQString(text));
      break;
    case ControlKind::multiLineEdit: {
      std::string_view shown = text.substr(0, maxShownLength);
      static_cast<QPlainTextEdit*>(control->widget)->setPlainText(fromCrLf(toQString(shown)));
      control->longText = shown.size() < text.size() ? std::string(text) : std::string();
      break;
    }
    case ControlKind::label:
      static_cast<QLabel*>(control->widget)->setText(fromCrLf(toQString(text)));
      break;
    case ControlKind::statusBar:
      setText(1, text);
      break;
    default:
      control->storedText = std::string(text);
      break;
  }
}

void Window::setVisible(ControlId id, bool visible) {
  if (QWidget* widget = control(id)) widget->setVisible(visible);
}

bool Window::isVisible(ControlId id) const {
  QWidget* widget = control(id);
  return widget != nullptr && !widget->isHidden();
}

void Window::setFocus(ControlId id) {
  if (QWidget* widget = control(id)) widget->setFocus(Qt::OtherFocusReason);
}

ControlId Window::focusedControl() const {
  if (!alive()) return ControlId::none;
  // The window's focus child, which it keeps while another window is active.
  for (QWidget* widget = frame_->focusWidget(); widget != nullptr && widget != frame_;
       widget = widget->parentWidget()) {
    auto found = std::ranges::find(controls_, widget, &Control::widget);
    if (found != controls_.end()) return found->id;
  }
  return ControlId::none;
}

void Window::addTooltip(ControlId id, std::string_view text) {
  if (QWidget* widget = control(id)) tooltips_->add(widget, fromCrLf(toQString(text)));
}

void Window::setText(int part, std::string_view text) {
  if (!alive() || statusBar_ == nullptr) return;
  if (QLabel* label = statusBar_->part(part)) label->setText(toQString(text));
}

void Window::setProgress(int percent) {
  if (!alive() || statusBar_ == nullptr) return;
  statusBar_->progressBar()->setValue(std::clamp(percent, 0, 100));
}

void Window::setColumns(std::span<const TableColumn> columns) {
  if (!alive() || model_ == nullptr) return;
  model_->setColumns(columns);
  QHeaderView* header = table_->horizontalHeader();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    header->resizeSection(static_cast<int>(i), std::max(columns[i].width, 0));
  }
}

int Window::columnWidth(int column) const {
  if (!alive() || model_ == nullptr || column < 1 || column > model_->columnCount()) return 0;
  return table_->horizontalHeader()->sectionSize(column - 1);
}

void Window::setContent(const TableContent& content) {
  if (alive() && model_ != nullptr) model_->setContent(&content);
}

void Window::reset() {
  if (alive() && model_ != nullptr) model_->reset();
}

void Window::rowAppended() {
  if (alive() && model_ != nullptr) model_->rowsAppended();
}

void Window::rowChanged(int row) {
  if (alive() && model_ != nullptr) model_->rowChanged(row);
}

int Window::selectedRow() const {
  if (!alive() || table_ == nullptr) return 0;
  int first = INT_MAX;
  for (const QItemSelectionRange& range : table_->selectionModel()->selection()) {
    first = std::min(first, range.top());
  }
  return first == INT_MAX ? 0 : first + 1;
}

void Window::selectRow(int row) {
  if (!alive() || table_ == nullptr) return;
  QItemSelectionModel* selection = table_->selectionModel();
  if (row == 0) {
    selection->clearSelection();
    return;
  }
  if (row < 1 || row > model_->rowCount()) return;
  // Selecting does not scroll; scrollToRow does.
  bool autoScroll = table_->hasAutoScroll();
  table_->setAutoScroll(false);
  selection->setCurrentIndex(model_->index(row - 1, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  table_->setAutoScroll(autoScroll);
}

void Window::scrollToRow(int row) {
  if (!alive() || table_ == nullptr || row < 1 || row > model_->rowCount()) return;
  // Only up or down: the sideways position stays where the user left it.
  QScrollBar* sideways = table_->horizontalScrollBar();
  int sidewaysPosition = sideways->value();
  table_->scrollTo(model_->index(row - 1, 0), QAbstractItemView::EnsureVisible);
  sideways->setValue(sidewaysPosition);
}

void Window::show() {
  if (!alive()) return;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    frame_->move(area.center() - QPoint(frame_->width() / 2, frame_->height() / 2));
  }
  frame_->showNormal();
  frame_->raise();
  frame_->activateWindow();
}

void Window::setEventHandler(WindowEvents* events) { events_ = events; }

void Window::startTimer(int milliseconds) {
  if (alive()) timer_->start(milliseconds);
}

void Window::processPendingEvents() {
  if (alive()) QCoreApplication::processEvents();
}

bool Window::isAlive() const { return alive(); }

bool Window::frameCloseRequested() { return events_ == nullptr || events_->closeRequested(); }

// Without leave to ask the user, the session ends as the system wants it.
bool Window::sessionMayEnd(bool mayAsk) { return !mayAsk || !alive() || frameCloseRequested(); }

void Window::frameClosed() {
  closed_ = true;
  timer_->stop();
}

void Window::frameActivationChanged(bool active) {
  if (alive() && events_ != nullptr) events_->activationChanged(active);
}

void Window::frameResized() {
  if (statusBar_ == nullptr || frame_ == nullptr) return;
  int height = statusBar_->standardHeight();
  statusBar_->setGeometry(0, frame_->height() - height, frame_->width(), height);
}

}  // namespace platform::qt
