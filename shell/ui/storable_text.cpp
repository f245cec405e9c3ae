#include "shell/ui/storable_text.h"

#include <QLineEdit>
#include <QToolTip>
#include <QValidator>

#include "model/text_encoding.h"

namespace shell::ui {
namespace {

class StorableTextValidator : public QValidator {
 public:
  explicit StorableTextValidator(QLineEdit* field) : QValidator(field), field_(field) {}

  State validate(QString& input, int& /*position*/) const override {
    // Lines pasted into a one-line field run on as one line: a line break or tab
    // stored in a record would break every list and form that shows it.
    for (QChar& character : input) {
      if (character.unicode() < 32) character = QLatin1Char(' ');
    }
    const std::optional<char32_t> refused = model::FirstUnstorableCharacter(input.toStdString());
    if (!refused) return Acceptable;
    const QString message = QString::fromStdString(model::UnstorableCharacterMessage(*refused));
    field_->setProperty("refusedText", message);
    QToolTip::showText(field_->mapToGlobal(QPoint(0, field_->height())), message, field_);
    return Invalid;
  }

 private:
  QLineEdit* field_;
};

}  // namespace

void KeepTextStorable(QLineEdit* field) {
  if (field->validator() == nullptr) field->setValidator(new StorableTextValidator(field));
}

void KeepTextStorable(QWidget* window) {
  for (QLineEdit* field : window->findChildren<QLineEdit*>()) KeepTextStorable(field);
}

}  // namespace shell::ui
