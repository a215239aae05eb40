#include "widgets/forminfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormInfo::TFormInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("FormInfo");
  setWindowTitle("Information");
  setFixedSize(256, 356);
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("<b><u>Scorvex</u></b>", this);
  title->setObjectName("Label1");
  title->setAlignment(Qt::AlignCenter);
  title->setStyleSheet("QLabel { color: maroon; font: bold 24px 'Arial'; }");
  auto* version = new QLabel("Version 4.4 (27.12.2010)", this);
  version->setObjectName("LabelVer");
  version->setAlignment(Qt::AlignCenter);
  auto* ok = new QPushButton("Einverstanden", this);
  ok->setObjectName("sOK");
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addStretch();
  layout->addWidget(ok);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
