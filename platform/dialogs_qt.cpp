#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "platform/dialogs.h"
#include "platform/fontpicker.h"

bool QtDialogs::askOkCancel(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                  parent);
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

void QtDialogs::showError(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::critical(parent, caption, text);
}

void QtDialogs::showWarning(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::warning(parent, caption, text);
}

void QtDialogs::beep() { QApplication::beep(); }

QString QtDialogs::pickOpenFile(QWidget* parent, const OpenFileRequest& request) {
  QFileDialog dialog(parent, QString(), request.folder, request.filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.file.isEmpty()) dialog.selectFile(request.file);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

std::optional<TColor> QtDialogs::pickColor(QWidget* parent, TColor initial) {
  const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}

std::optional<ColoredFont> QtDialogs::pickFont(QWidget* parent, const ColoredFont& initial) {
  FontPicker picker(initial, parent);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.chosen();
}

QString QtDialogs::pickSaveFile(QWidget* parent, const QString& suggested, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, QString(), suggested, filter);
}

void QtDialogs::openUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }
