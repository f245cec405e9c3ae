// Text fields take only characters the files can store: one typed or pasted that the
// files' encoding lacks is refused at once, and a tip at the field names it. Pasted
// line breaks and tabs become blanks.
#pragma once

class QLineEdit;
class QWidget;

namespace shell::ui {

// Every one-line text field in `window` (and the text of every editable combo box)
// refuses characters that cannot be stored; fields that already check what is typed
// (digits only) are left as they are.
void KeepTextStorable(QWidget* window);
void KeepTextStorable(QLineEdit* field);

}  // namespace shell::ui
