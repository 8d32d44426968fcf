// What a page call's script text may hold: nothing of a value can end the string literal it
// travels in, and only plain function names are called.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>

#include "common/webmap/page_call.h"

namespace {

const QStringList& HostileTexts() {
  static const QStringList texts = {
      QStringLiteral("plain"),
      QStringLiteral("\"); window.injected = 1; (\""),
      QStringLiteral("</script><script>window.injected = 1</script>"),
      QStringLiteral("back\\slash \\\" \\u0022 \\n"),
      QStringLiteral("it's 'quoted'"),
      QStringLiteral("line\nbreak\r\ttab\b\f"),
      QString::fromUtf16(u"separators \u2028 \u2029 end"),
      QString::fromUtf16(u"\uC11C\uC6B8 \u00E9 \U0001F697"),
      QString(QChar(0)) + "nul and \x7f del",
      QStringLiteral("<!-- -->&amp;"),
  };
  return texts;
}

TEST(ScriptStringLiteral, HoldsOnlyPrintableAsciiThatCannotEndTheLiteral) {
  for (const QString& text : HostileTexts()) {
    const QString literal = webmap::ScriptStringLiteral(text);
    ASSERT_GE(literal.size(), 2);
    EXPECT_EQ(literal.front(), '"');
    EXPECT_EQ(literal.back(), '"');
    const QString inside = literal.mid(1, literal.size() - 2);
    for (const QChar c : inside) {
      EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() <= 0x7e) << qPrintable(literal);
      EXPECT_FALSE(QStringLiteral("\"'<>&").contains(c)) << qPrintable(literal);
    }
    // Every backslash starts a \uXXXX escape, so none can swallow the closing quote.
    for (qsizetype i = inside.indexOf('\\'); i >= 0; i = inside.indexOf('\\', i + 6)) {
      EXPECT_EQ(inside.mid(i, 2), "\\u") << qPrintable(literal);
    }
  }
}

TEST(ScriptStringLiteral, DecodesToTheSameText) {
  // The escapes are JSON's as well, so a JSON reader stands in for the page here.
  for (const QString& text : HostileTexts()) {
    const QByteArray json = "[" + webmap::ScriptStringLiteral(text).toUtf8() + "]";
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    EXPECT_EQ(document.array().at(0).toString(), text);
  }
}

TEST(PageFunctionName, OnlyPlainNamesAreCalled) {
  for (const char* good : {"animate", "setTrack", "setValuesAndClick", "_private", "$", "a1"}) {
    EXPECT_TRUE(webmap::IsPageFunctionName(good)) << good;
    EXPECT_FALSE(webmap::PageCallScript(good, {}).isEmpty()) << good;
  }
  for (const char* bad : {"", "alert(1)", "window.animate", "a b", "1st", "x;y", "animate\n", "anim\xC3\xA9"}) {
    EXPECT_FALSE(webmap::IsPageFunctionName(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(webmap::PageCallScript(QString::fromUtf8(bad), {}).isEmpty()) << bad;
  }
  EXPECT_FALSE(webmap::IsPageFunctionName(QString(65, 'a')));
}

TEST(PageCallScript, CarriesValuesOnlyInsideTheLiterals) {
  QJsonArray arguments;
  for (const QString& text : HostileTexts()) arguments.append(text);
  const QString script = webmap::PageCallScript("echo", arguments);
  EXPECT_FALSE(script.contains("</script>"));
  EXPECT_FALSE(script.contains("\"); window.injected"));
  EXPECT_TRUE(script.endsWith(")"));
}

TEST(PageCallResult, ReadsTheAnswerAndToleratesNone) {
  const webmap::PageCallResult none = webmap::ReadPageCallResult(QVariant());
  EXPECT_FALSE(none.called);
  EXPECT_TRUE(none.pageState.isEmpty());

  const QVariantMap answer{{"called", true}, {"error", QVariant()}, {"pageState", QVariantMap{{"ready", true}}}};
  const webmap::PageCallResult read = webmap::ReadPageCallResult(answer);
  EXPECT_TRUE(read.called);
  EXPECT_TRUE(read.error.isEmpty());
  EXPECT_TRUE(read.pageState.value("ready").toBool());
}

}  // namespace
