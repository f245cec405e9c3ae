#include "shell/ui/about_box.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

namespace shell::ui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About VT Quillary PRO"));
  auto* title = new QLabel(tr("<h2>VT Quillary PRO</h2>"), this);
  auto* text = new QLabel(tr("Version %1<br><br>"
                             "Billing and accounts receivable for small businesses: customers, products,<br>"
                             "invoices, repeat billing, payments, statements, reports and mailings.<br><br>"
                             "Data folder: %2")
                              .arg(kVersion, QDir::currentPath().toHtmlEscaped()),
                          this);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(text);
  layout->addWidget(buttons);
}

}  // namespace shell::ui
