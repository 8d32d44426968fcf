#include "tests/support/tile_server.h"

#include <QBuffer>
#include <QTcpSocket>

#include <memory>

namespace testing_support {

TileServer::TileServer(QColor color) {
  QImage tile(256, 256, QImage::Format_RGB32);
  tile.fill(color);
  QBuffer buffer(&png_);
  buffer.open(QIODevice::WriteOnly);
  tile.save(&buffer, "PNG");
  server_.listen(QHostAddress::LocalHost, 0);
  connect(&server_, &QTcpServer::newConnection, this, &TileServer::Serve);
}

QString TileServer::urlTemplate() const {
  return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
}

void TileServer::Serve() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
      buffer->append(socket->readAll());
      const qsizetype end = buffer->indexOf("\r\n\r\n");
      if (end < 0) return;
      Request request;
      const QList<QByteArray> lines = buffer->left(end).split('\n');
      const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
      request.path = first.value(1);
      for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("user-agent:")) request.userAgent = line.mid(11).trimmed();
      }
      requests_.append(request);
      buffer->clear();
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\nContent-Length: " +
                    QByteArray::number(png_.size()) + "\r\n\r\n" + png_);
      socket->disconnectFromHost();
    });
  }
}

QString UnreachableTileTemplate() {
  // Take a free port and give it back: nothing listens there afterwards.
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(port);
}

}  // namespace testing_support
