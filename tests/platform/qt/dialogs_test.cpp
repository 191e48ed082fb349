#include "platform/qt/dialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/main_window_definition.h"
#include "app/port_settings_dialog.h"
#include "platform/qt/text_dialog.h"
#include "platform/qt/window.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/account_dialog.h"
#include "tests/platform/qt/key_typing.h"
#include "tests/platform/qt/qt_test_support.h"

namespace {

using platform::Answer;
using platform::MessageButtons;
using platform::MessageIcon;
using testing_support::ModalScript;
using testing_support::qs;
using testing_support::typeKeys;

QMessageBox* asBox(QWidget* widget) {
  auto* box = qobject_cast<QMessageBox*>(widget);
  EXPECT_NE(box, nullptr);
  return box;
}

TEST(QtDialogsMessageBox, showsTextCaptionButtonsAndIconAsAsked) {
  platform::qt::Dialogs dialogs(nullptr);
  struct Case {
    MessageButtons buttons;
    MessageIcon icon;
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton press;
    Answer answer;
    Answer defaultButton = Answer::yes;
  };
  const Case cases[] = {
      {MessageButtons::ok, MessageIcon::none, QMessageBox::Ok, QMessageBox::Ok, Answer::ok},
      {MessageButtons::yesNo, MessageIcon::exclamation, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::No, Answer::no},
      {MessageButtons::yesNoCancel, MessageIcon::none,
       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel,
       Answer::cancel},
      {MessageButtons::yesNoCancel, MessageIcon::none,
       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, Answer::yes},
      {MessageButtons::yesNo, MessageIcon::exclamation, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Yes, Answer::yes, Answer::no},
  };
  for (const Case& c : cases) {
    ModalScript script({[&](QWidget* widget) {
      QMessageBox* box = asBox(widget);
      if (box == nullptr) return;
      EXPECT_EQ(box->text(), qs(u"/home/anna/<myadr>.vcf\nZeile 2"));
      EXPECT_EQ(box->windowTitle(), qs(u"Änderungen speichern ?"));
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->standardButtons(), c.shown);
      EXPECT_EQ(box->icon(),
                c.icon == MessageIcon::exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
      if (c.buttons != MessageButtons::ok) {
        EXPECT_EQ(box->defaultButton(),
                  box->button(c.defaultButton == Answer::no ? QMessageBox::No : QMessageBox::Yes));
      }
      box->button(c.press)->click();
    }});
    EXPECT_EQ(dialogs.messageBox("/home/anna/<myadr>.vcf\r\nZeile 2", "\xC4nderungen speichern ?",
                                 c.buttons, c.icon, c.defaultButton),
              c.answer);
  }
}

TEST(QtDialogsMessageBox, enterChoosesTheDefaultButton) {
  platform::qt::Dialogs dialogs(nullptr);
  auto pressEnter = [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); };
  ModalScript script({pressEnter, pressEnter});
  EXPECT_EQ(dialogs.messageBox("x", "y", MessageButtons::yesNo), Answer::yes);
  EXPECT_EQ(
      dialogs.messageBox("x", "y", MessageButtons::yesNo, MessageIcon::exclamation, Answer::no),
      Answer::no);
}

class FileDialogTest : public ::testing::Test {
 protected:
  platform::FileDialogRequest request(std::string initialPath, std::string proposed) const {
    return {"Adressdatei w\xE4hlen",
            "vcard",
            "*.vcf",
            "vcf",
            std::move(initialPath),
            std::move(proposed),
            "Dateiname ?",
            "Dieser Dateiname enth\xE4lt Zeichen, die das Programm nicht verwenden kann:\r\n"};
  }
  static QFileDialog* asFileDialog(QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    EXPECT_NE(dialog, nullptr);
    return dialog;
  }
  // Types a name into the dialog's name field and presses its accept button
  // (selectFile leaves the field alone while it has the focus).
  static void enterName(QFileDialog* dialog, const QString& name) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(name);
    static_cast<QDialog*>(dialog)->accept();
  }

  testing_support::TempDir folder;
  QString folderPath = QString::fromStdString(folder.path().string());
  QString currentBefore = QDir::currentPath();
  platform::qt::Dialogs dialogs{nullptr};
};

TEST_F(FileDialogTest, saveStartsBesideTheFileAndReplacesWithoutAsking) {
  folder.write("myadr.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n");
  ModalScript script({[&](QWidget* widget) {
    QFileDialog* dialog = asFileDialog(widget);
    if (dialog == nullptr) return;
    EXPECT_EQ(dialog->windowTitle(), qs(u"Adressdatei wählen"));
    EXPECT_EQ(dialog->directory().absolutePath(), folderPath);
    EXPECT_EQ(dialog->nameFilters(), QStringList{qs(u"vcard (*.vcf)")});
    EXPECT_EQ(dialog->defaultSuffix(), qs(u"vcf"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly));
    EXPECT_EQ(dialog->selectedFiles().value(0), folderPath + qs(u"/neu.vcf"));
    enterName(dialog, qs(u"myadr"));  // the suffix comes by itself
  }});
  auto chosen = dialogs.saveFile(request(folder.file("myadr.vcf"), "neu.vcf"));
  EXPECT_EQ(chosen, folder.file("myadr.vcf"));
  EXPECT_EQ(QDir::currentPath(), currentBefore);
}

TEST_F(FileDialogTest, openAcceptsANameThatDoesNotExist) {
  ModalScript script({[&](QWidget* widget) {
    QFileDialog* dialog = asFileDialog(widget);
    if (dialog == nullptr) return;
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->directory().absolutePath(), folderPath);
    enterName(dialog, qs(u"fehlt.vcf"));
  }});
  auto chosen = dialogs.openFile(request(folder.path().string(), ""));
  EXPECT_EQ(chosen, folder.file("fehlt.vcf"));
  EXPECT_EQ(QDir::currentPath(), currentBefore);
}

TEST_F(FileDialogTest, cancelGivesNothing) {
  ModalScript script({[](QWidget* dialog) { asFileDialog(dialog)->reject(); }});
  EXPECT_EQ(dialogs.openFile(request(folder.path().string(), "myadr.vcf")), std::nullopt);
}

TEST_F(FileDialogTest, aNameWithoutWindows1252CharactersIsRefusedWithAMessage) {
  QString shownText;
  ModalScript script({[&](QWidget* widget) {
                        QFileDialog* dialog = asFileDialog(widget);
                        if (dialog == nullptr) return;
                        enterName(dialog, qs(u"Жук.vcf"));
                      },
                      [&](QWidget* widget) {
                        QMessageBox* box = asBox(widget);
                        if (box == nullptr) return;
                        shownText = box->text();
                        box->accept();
                      }});
  auto chosen = dialogs.saveFile(request(folder.path().string(), ""));
  EXPECT_EQ(chosen, std::nullopt);
  EXPECT_TRUE(shownText.contains(qs(u"Жук.vcf")));
  EXPECT_TRUE(shownText.startsWith(qs(u"Dieser Dateiname")));
}

class PortSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.widget()));
  }
  static platform::qt::TextDialog* asPortDialog(QWidget* widget) {
    auto* dialog = dynamic_cast<platform::qt::TextDialog*>(widget);
    EXPECT_NE(dialog, nullptr);
    return dialog;
  }

  platform::qt::Window window{app::mainWindowDefinition()};
  platform::qt::Dialogs dialogs{&window};
};

TEST_F(PortSettingsTest, showsTheStoredPortAndOkReturnsTheEntry) {
  ModalScript script({[&](QWidget* widget) {
    auto* dialog = asPortDialog(widget);
    if (dialog == nullptr) return;
    EXPECT_EQ(dialog->windowTitle(), qs(u"Einstellungen"));
    EXPECT_EQ(dialog->size(), QSize(479, 169));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->parentWidget(), window.widget());
    EXPECT_EQ(dialog->pos(), window.widget()->mapToGlobal(QPoint(348, 289)));
    EXPECT_FALSE(dialog->windowIcon().isNull());

    auto* caption = dialog->findChild<QLabel*>(qs(u"1275"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), qs(u"Telefon an COM1....COMx:"));
    EXPECT_EQ(caption->geometry(), QRect(2, 14, 164, 16));
    EXPECT_TRUE(caption->alignment() & Qt::AlignRight);
    QLineEdit* port = dialog->field();
    EXPECT_EQ(port->objectName(), qs(u"1277"));
    EXPECT_EQ(port->geometry(), QRect(170, 10, 54, 22));
    EXPECT_EQ(port->text(), qs(u"COM3"));
    EXPECT_EQ(port->toolTip(), qs(u"z.B. COM3 oder COM12"));
    QPushButton* ok = dialog->defaultButton();
    EXPECT_EQ(ok->objectName(), qs(u"1278"));
    EXPECT_EQ(ok->text(), qs(u"OK"));
    EXPECT_EQ(ok->geometry(), QRect(422, 142, 48, 22));
    EXPECT_EQ(dialog->focusWidget(), ok);

    port->setText(qs(u" com12 "));
    ok->click();
  }});
  EXPECT_EQ(dialogs.askForText(app::portSettingsDialog(), "COM3"), " com12 ");
}

TEST_F(PortSettingsTest, closingOtherwiseGivesNothing) {
  ModalScript script({[](QWidget* dialog) { dialog->close(); }});
  EXPECT_EQ(dialogs.askForText(app::portSettingsDialog(), ""), std::nullopt);
}

TEST_F(PortSettingsTest, severalFields_everyButtonClosesWithEveryField_enterPressesTheFirst) {
  namespace account = testing_support::account;
  using platform::DialogResult;
  auto field = [](QWidget* dialog, platform::ControlId id) {
    return dialog->findChild<QLineEdit*>(QString::number(platform::toInt(id)));
  };
  auto button = [](QWidget* dialog, platform::ControlId id) {
    return dialog->findChild<QPushButton*>(QString::number(platform::toInt(id)));
  };
  struct Case {
    std::function<void(QWidget*)> answer;
    std::optional<DialogResult> expected;
  };
  const Case cases[] = {
      {[&](QWidget* dialog) {
         typeKeys(field(dialog, account::userEdit), qs(u"müller"));
         typeKeys(field(dialog, account::passwordEdit), qs(u"geh€im"));
         button(dialog, account::syncButton)->click();
       },
       DialogResult{account::syncButton,
                    {{account::serverEdit, "dav.example.org"},
                     {account::userEdit, "m\xFCller"},
                     {account::passwordEdit, "geh\x80im"}}}},
      {[&](QWidget* dialog) {
         QLineEdit* password = field(dialog, account::passwordEdit);
         password->setFocus();
         typeKeys(password, qs(u"x"));
         QTest::keyClick(password, Qt::Key_Return);
       },
       DialogResult{account::okButton,
                    {{account::serverEdit, "dav.example.org"},
                     {account::userEdit, ""},
                     {account::passwordEdit, "x"}}}},
      {[](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }, std::nullopt},
  };
  for (const Case& c : cases) {
    QLineEdit::EchoMode passwordEcho = QLineEdit::Normal;
    QWidget* focus = nullptr;
    QWidget* ok = nullptr;
    QStringList tabOrder;
    ModalScript script({[&](QWidget* dialog) {
      QLineEdit* first = field(dialog, account::serverEdit);
      ASSERT_NE(first, nullptr);
      for (QWidget* next = first; tabOrder.isEmpty() || next != first;
           next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus) tabOrder << next->objectName();
      }
      passwordEcho = field(dialog, account::passwordEdit)->echoMode();
      focus = dialog->focusWidget();
      ok = button(dialog, account::okButton);
      c.answer(dialog);
    }});
    const platform::DialogField given[] = {{account::serverEdit, "dav.example.org"}};
    EXPECT_EQ(dialogs.askForTexts(account::dialog, given), c.expected);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(passwordEcho, QLineEdit::Password);
    EXPECT_EQ(focus, ok);
    EXPECT_EQ(tabOrder,
              (QStringList{qs(u"2001"), qs(u"2002"), qs(u"2003"), qs(u"2004"), qs(u"2005")}));
  }

  // Asked for one text, only the default button gives it.
  ModalScript script({[&](QWidget* dialog) { button(dialog, account::syncButton)->click(); }});
  EXPECT_EQ(dialogs.askForText(account::dialog, "dav.example.org"), std::nullopt);
}

}  // namespace
