#include <QDesktopServices>
#include <QUrl>

#include "platform/helpviewer.h"

SystemHelpViewer::SystemHelpViewer() = default;

SystemHelpViewer::~SystemHelpViewer() = default;

void SystemHelpViewer::showContents(QWidget*, const QString& helpFile) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}
