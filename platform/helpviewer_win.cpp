#include <windows.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "platform/helpviewer.h"

namespace {

// Commands of HtmlHelpA; htmlhelp.h is not part of every SDK.
constexpr UINT kDisplayToc = 0x0001;  // HH_DISPLAY_TOC
constexpr UINT kCloseAll = 0x0012;    // HH_CLOSE_ALL
using HtmlHelpA = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

}  // namespace

SystemHelpViewer::SystemHelpViewer() {
  HMODULE library = LoadLibraryA("HHCTRL.OCX");
  if (library) {
    library_ = library;
    entry_ = reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA"));
  }
  if (!entry_) {
    const QString text = QCoreApplication::translate(
        "HelpViewer", "Die Hilfe (*.chm) kann nicht angezeigt werden: HHCTRL.OCX fehlt im System.");
    MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.utf16()), L"Scorvex",
                MB_OK | MB_ICONEXCLAMATION);
  }
}

SystemHelpViewer::~SystemHelpViewer() {
  if (entry_) {
    reinterpret_cast<HtmlHelpA>(entry_)(nullptr, nullptr, kCloseAll, 0);
    Sleep(100);  // lets the help windows close before their library goes
  }
  if (library_) FreeLibrary(static_cast<HMODULE>(library_));
}

void SystemHelpViewer::showContents(QWidget* owner, const QString& helpFile) {
  // The HTML manual goes to the browser; only a .chm file is HTML Help's.
  if (!helpFile.endsWith(QStringLiteral(".chm"), Qt::CaseInsensitive)) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
    return;
  }
  if (!entry_) return;
  const HWND window = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
  const QByteArray file = QDir::toNativeSeparators(helpFile).toLocal8Bit();
  reinterpret_cast<HtmlHelpA>(entry_)(window, file.constData(), kDisplayToc, 0);
}
