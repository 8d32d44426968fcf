// A message box shows card text as it is: a file name holding markup stays text, never a link.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "common/gui/message_box.h"

namespace {

TEST(MessageBox, CardNamesShowAsPlainTextAndTheBoxAnswersTheKeyboard) {
  const QString names[] = {
      "Could not open /card/EVENT/drf_<a href='https://example.org'>x</a>.mp4",
      "drf_<img src='file:///etc/passwd'>.mp4",
      "<b>bold</b> drf_20240101_000000.mp4",
      "line\nbreak\ttab drf_.mp4",
  };
  for (const QString& text : names) {
    SCOPED_TRACE(text.toStdString());
    gui::SetMessageRecording(false);
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      for (QLabel* label : box->findChildren<QLabel*>()) {
        if (label->text() == text) {
          shown = label->text();
          format = label->textFormat();
        }
      }
      QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(gui::ShowMessage(nullptr, text), QMessageBox::Ok);
    EXPECT_EQ(shown, text);
    EXPECT_EQ(format, Qt::PlainText);
  }
}

}  // namespace
