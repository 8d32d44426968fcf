#pragma once

// A tile server on the loopback interface for the map tests: answers every GET with one
// 256 x 256 PNG and remembers what it was asked and by whom.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

namespace testing_support {

class TileServer : public QObject {
 public:
  explicit TileServer(QColor color = QColor(120, 180, 120));

  // "http://127.0.0.1:PORT/{z}/{x}/{y}.png"
  QString urlTemplate() const;

  struct Request {
    QByteArray path;
    QByteArray userAgent;
  };
  const QList<Request>& requests() const { return requests_; }

 private:
  void Serve();

  QTcpServer server_;
  QByteArray png_;
  QList<Request> requests_;
};

// An address nothing listens on: every tile fails at once.
QString UnreachableTileTemplate();

}  // namespace testing_support
