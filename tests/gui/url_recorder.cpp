#include "url_recorder.h"

#include <QDesktopServices>

namespace {
const char* const Schemes[] = {"http", "https", "file"};
}

UrlRecorder::UrlRecorder() {
  for (const char* scheme : Schemes) {
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
  }
}

UrlRecorder::~UrlRecorder() {
  for (const char* scheme : Schemes) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void UrlRecorder::Open(const QUrl& url) { opened.append(url); }
