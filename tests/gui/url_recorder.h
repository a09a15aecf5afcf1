#pragma once
// Takes the addresses that the program asks the desktop to open (web pages and files), so that
// no test starts a browser or a viewer, and keeps them for the test to check.

#include <QList>
#include <QObject>
#include <QUrl>

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder();
  ~UrlRecorder() override;

  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url);
};
