#include <QDesktopServices>
#include <QUrl>

#include "platform/helpviewer.h"

SystemHelpViewer::SystemHelpViewer(const char*) {}

SystemHelpViewer::~SystemHelpViewer() = default;

void SystemHelpViewer::showContents(QWidget*, const QString& helpFile) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}
