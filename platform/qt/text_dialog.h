#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <span>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "platform/qt/tooltip_controller.h"
#include "platform/window_definition.h"

namespace platform::qt {

// A small dialog built from a DialogDefinition: its labels, edit fields and
// buttons, at their places in client coordinates, in Tab order; the first
// button is the default button and has the focus when the dialog opens.
// Every button accepts; closing the dialog in any other way rejects.
class TextDialog : public QDialog {
 public:
  // fields: what the edit fields show, by id. Placed at the definition's
  // place in the owner's client area when there is an owner.
  TextDialog(const DialogDefinition& definition, std::span<const DialogField> fields,
             const QFont& font, TooltipController& tooltips, QWidget* owner);

  // The first edit field and the default button; null when there is none.
  [[nodiscard]] QLineEdit* field() const {
    return fields_.empty() ? nullptr : fields_.front().second;
  }
  [[nodiscard]] QPushButton* defaultButton() const { return defaultButton_; }
  // The button that accepted the dialog and every field's text
  // (Windows-1252).
  [[nodiscard]] DialogResult answer() const;

 private:
  std::vector<std::pair<ControlId, QLineEdit*>> fields_;
  QPushButton* defaultButton_ = nullptr;
  ControlId pressed_ = ControlId::none;
};

}  // namespace platform::qt
