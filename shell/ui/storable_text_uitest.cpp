#include "shell/ui/storable_text.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QWidget>

#include <gtest/gtest.h>

namespace shell::ui {
namespace {

TEST(StorableText, CharacterTheFilesCannotHoldIsRefusedAndNamed) {
  QWidget window;
  auto* name = new QLineEdit(&window);
  KeepTextStorable(&window);

  name->insert(QString::fromUtf8("Müller €"));
  name->insert(QString::fromUtf8(" → "));
  EXPECT_EQ(name->text(), QString::fromUtf8("Müller €"));
  EXPECT_EQ(name->property("refusedText").toString(),
            QString::fromUtf8("The character \"→\" (U+2192) cannot be stored: the files keep Western European "
                              "characters only. Please type another."));
}

TEST(StorableText, PastedLinesRunOnAsOneLine) {
  QWidget window;
  auto* description = new QLineEdit(&window);
  KeepTextStorable(&window);
  description->insert("Red widget\r\nboxed\tblue");
  EXPECT_EQ(description->text(), "Red widget  boxed blue");
}

TEST(StorableText, FieldThatChecksItsOwnInputKeepsItsCheck) {
  QWidget window;
  auto* digits = new QLineEdit(&window);
  auto* check = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), digits);
  digits->setValidator(check);
  KeepTextStorable(&window);
  EXPECT_EQ(digits->validator(), check);
}

}  // namespace
}  // namespace shell::ui
