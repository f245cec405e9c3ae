// The payment terms editor without its window: the shared terms list kept sorted with
// case ignored, the pending add or edit, and the rules for adding, changing, deleting
// and writing the list back to "QYTERMS.DAT".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace shell {

// Inserts after any equal terms and returns the position.
std::size_t InsertTermSorted(std::vector<std::string>& terms, std::string term);

enum class TermsMode : char { kNone = ' ', kAdding = 'A', kEditing = 'E' };

class TermsEditor {
 public:
  explicit TermsEditor(platform::Dialogs& dialogs) : dialogs_(dialogs) {}

  // A file that cannot be read is reported and leaves the editor unable to change or
  // write the list, so the unread terms are never replaced.
  void Load();
  bool Loaded() const { return loaded_; }

  void BeginAdd();
  // Copies the selected term into the entry; false when no term is selected.
  bool BeginEdit();
  // "Ok": false, with the message, when the entry holds no text.
  bool Commit(std::string_view entry);
  // False, with the message, when it would leave the list without a term.
  bool DeleteSelected();
  // The user chose in the list: a pending add or edit is dropped.
  void CancelPending();
  void Select(int index);
  // Writes the list in its order; false, with the message, when the file could not
  // be written and the list is still to be saved.
  bool Save();

  const std::vector<std::string>& Terms() const { return terms_; }
  int Selected() const { return selected_; }
  TermsMode Mode() const { return mode_; }
  std::string_view Prompt() const;
  const std::string& EntryText() const { return entry_; }

 private:
  void EndPending();
  void SelectFirst();

  platform::Dialogs& dialogs_;
  std::vector<std::string> terms_;
  bool loaded_ = false;
  int selected_ = -1;
  TermsMode mode_ = TermsMode::kNone;
  int editing_ = -1;  // the term being edited, whatever is selected meanwhile
  std::string entry_;
};

}  // namespace shell
