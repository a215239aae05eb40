#include "settings/cfgdialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TCfgDialog::TCfgDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("CfgDialog");
  setWindowTitle("Scorvex");
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addStretch();
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
