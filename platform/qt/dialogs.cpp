#include "platform/qt/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/qt/text_conversion.h"
#include "platform/qt/text_dialog.h"
#include "platform/qt/window.h"

namespace platform::qt {

namespace {

QMessageBox::StandardButtons toButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::ok:
      return QMessageBox::Ok;
    case MessageButtons::yesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::yesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButton toButton(Answer answer) {
  switch (answer) {
    case Answer::ok:
      return QMessageBox::Ok;
    case Answer::yes:
      return QMessageBox::Yes;
    case Answer::no:
      return QMessageBox::No;
    case Answer::cancel:
      return QMessageBox::Cancel;
  }
  return QMessageBox::Yes;
}

Answer toAnswer(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::yes;
    case QMessageBox::No:
      return Answer::no;
    case QMessageBox::Cancel:
      return Answer::cancel;
    case QMessageBox::Ok:
      return Answer::ok;
    default:
      // Closed without a button: what Esc would have chosen.
      if (buttons == MessageButtons::yesNoCancel) return Answer::cancel;
      return buttons == MessageButtons::yesNo ? Answer::no : Answer::ok;
  }
}

// The folder a file dialog starts in: initialPath itself when it is a
// folder, else the folder of the file it names; the current folder when it
// is empty.
QString startFolder(const QString& initialPath) {
  if (initialPath.isEmpty()) return QDir::currentPath();
  QFileInfo info(initialPath);
  if (info.isDir()) return info.absoluteFilePath();
  return info.absolutePath();
}

}  // namespace

Dialogs::Dialogs(Window* owner) : owner_(owner) {
  if (owner_ == nullptr) ownTooltips_ = std::make_unique<TooltipController>();
}

Dialogs::~Dialogs() = default;

Answer Dialogs::messageBox(std::string_view text, std::string_view caption, MessageButtons buttons,
                           MessageIcon icon, Answer defaultButton) {
  QMessageBox box(icon == MessageIcon::exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  fromCrLf(toQString(caption)), fromCrLf(toQString(text)), toButtons(buttons));
  box.setTextFormat(Qt::PlainText);
  if (buttons != MessageButtons::ok) box.setDefaultButton(toButton(defaultButton));
  box.show();
  box.raise();
  box.activateWindow();
  return toAnswer(box.exec(), buttons);
}

std::optional<std::string> Dialogs::openFile(const FileDialogRequest& request) {
  return chooseFile(request, FileMode::open);
}

std::optional<std::string> Dialogs::saveFile(const FileDialogRequest& request) {
  return chooseFile(request, FileMode::save);
}

std::optional<std::string> Dialogs::chooseFile(const FileDialogRequest& request, FileMode mode) {
  QWidget* parent = owner_ != nullptr ? owner_->widget() : nullptr;
  QFileDialog dialog(parent, toQString(request.title), startFolder(toQString(request.initialPath)));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(toQString(request.filterName) + QStringLiteral(" (") +
                       toQString(request.filterPattern) + QLatin1Char(')'));
  dialog.setDefaultSuffix(toQString(request.defaultSuffix));
  if (mode == FileMode::save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Replacing the address file is what saving is for; the program asks
    // about unsaved changes itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
  }
  // Open takes a name that does not exist too: the caller says "File ?".
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.proposedName.empty()) dialog.selectFile(toQString(request.proposedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;

  QString path = dialog.selectedFiles().constFirst();
  std::optional<std::string> bytes = toCp1252Exact(path);
  if (!bytes) {
    QMessageBox box(QMessageBox::Warning, toQString(request.refusalCaption),
                    fromCrLf(toQString(request.refusalText)) + path, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  }
  return bytes;
}

std::optional<DialogResult> Dialogs::askForTexts(const DialogDefinition& definition,
                                                 std::span<const DialogField> fields) {
  QWidget* parent = owner_ != nullptr ? owner_->widget() : nullptr;
  QFont font = owner_ != nullptr ? owner_->defaultFont() : QFont();
  TooltipController& tooltips = owner_ != nullptr ? owner_->tooltips() : *ownTooltips_;
  TextDialog dialog(definition, fields, font, tooltips, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.answer();
}

}  // namespace platform::qt
