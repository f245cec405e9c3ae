// One running copy per data folder. The first copy listens on a local socket named
// after the folder; a later start reaches it, asks it to come to the front and ends
// without showing anything.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace platform::qt {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

  // True when this is the first copy (it now listens); false when another copy took
  // the request to show itself.
  bool Claim();
  static QString ServerNameFor(const QString& dataFolder);

 signals:
  void activationRequested();

 private:
  bool AskRunningCopy();
  void ServerNewConnection();

  QString name_;
  QLocalServer server_;
};

}  // namespace platform::qt
