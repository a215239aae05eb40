#include "widgets/dlgyesno.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

TFDlgYesNo::TFDlgYesNo(const QString& appTitle, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint) {
  setObjectName("FDlgYesNo");
  setWindowTitle(appTitle);
  setFixedSize(222, 94);
  QFont dialogFont("Liberation Sans");
  dialogFont.setPixelSize(11);
  setFont(dialogFont);

  Label1 = new QLabel("?", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(40, 6, 169, 49);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);

  Icon = new QLabel(this);
  Icon->setObjectName("Icon");
  Icon->setGeometry(4, 14, 32, 32);
  Icon->setPixmap(questionIcon());
  Icon2 = new QLabel(this);
  Icon2->setObjectName("Icon2");
  Icon2->setGeometry(4, 14, 32, 32);
  Icon2->setPixmap(warningIcon());
  Icon2->hide();

  OKBtn = new QPushButton(tr("Ja"), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setGeometry(39, 60, 75, 25);
  CancelBtn = new QPushButton(tr("Nein"), this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setGeometry(135, 60, 75, 25);
  // Neither is the default button: Enter answers whichever has the focus, first OKBtn.
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TFDlgYesNo::SetQuestion(const QString& text) {
  Label1->setText(text);
  const bool question = text.contains('?');
  Icon->setVisible(question);
  Icon2->setVisible(!question);
  OKBtn->setText(question ? tr("Ja") : tr("OK"));
  CancelBtn->setText(question ? tr("Nein") : tr("Abbrechen"));
}

void TFDlgYesNo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (parentWidget()) {
    const QRect owner = parentWidget()->frameGeometry();
    move(owner.center() - rect().center());
  }
  OKBtn->setFocus();
}

namespace {

QPixmap blankIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap questionIcon() {
  QPixmap pixmap = blankIcon();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath bubble;
  bubble.addEllipse(QRectF(1.5, 1.5, 29, 23));
  QPainterPath tail;
  tail.moveTo(8, 20);
  tail.lineTo(5, 30);
  tail.lineTo(16, 23);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(bubble.united(tail));
  QFont font("Liberation Serif");
  font.setBold(true);
  font.setPixelSize(20);
  p.setFont(font);
  p.setPen(QColor(0, 0, 192));
  p.drawText(QRect(0, 2, 32, 22), Qt::AlignCenter, "?");
  return pixmap;
}

QPixmap warningIcon() {
  QPixmap pixmap = blankIcon();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF triangle[] = {{16, 2}, {30.5, 29.5}, {1.5, 29.5}};
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(255, 220, 0));
  p.drawPolygon(triangle, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(14.5, 10, 3, 12), 1.5, 1.5);
  p.drawEllipse(QRectF(14.3, 23.5, 3.4, 3.4));
  return pixmap;
}
