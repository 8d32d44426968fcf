#include "common/webmap/page_call.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QWebEnginePage>

namespace webmap {
namespace {

// Kept free of any value: the function name and the arguments arrive as two string literals.
constexpr char kCallTemplate[] =
    "(function (name, args) {"
    "  var answer = {called: false, returned: null, error: null, pageState: null};"
    "  var f = window[name];"
    "  if (typeof f === 'function') {"
    "    try {"
    "      var r = f.apply(window, JSON.parse(args));"
    "      answer.returned = r === undefined ? null : r;"
    "      answer.called = true;"
    "    }"
    "    catch (e) { answer.error = String(e); }"
    "  }"
    "  if (window.pageState !== undefined) answer.pageState = window.pageState;"
    "  return answer;"
    "})(%1, %2)";

constexpr char kReadStateScript[] = "window.pageState === undefined ? null : window.pageState";

}  // namespace

QString ScriptStringLiteral(const QString& text) {
  static const QString kEscapedAscii = QStringLiteral("\"\\'<>&");
  QString out;
  out.reserve(text.size() + 2);
  out += QLatin1Char('"');
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit >= 0x20 && unit <= 0x7e && !kEscapedAscii.contains(c)) {
      out += c;
    } else {
      out += QStringLiteral("\\u%1").arg(unsigned(unit), 4, 16, QLatin1Char('0'));
    }
  }
  out += QLatin1Char('"');
  return out;
}

bool IsPageFunctionName(const QString& name) {
  static const QRegularExpression kName(
      QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z_$][A-Za-z0-9_$]{0,63}")));
  return kName.match(name).hasMatch();
}

QString PageCallScript(const QString& function, const QJsonArray& arguments) {
  if (!IsPageFunctionName(function)) return {};
  const QString json = QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact));
  return QString::fromLatin1(kCallTemplate).arg(ScriptStringLiteral(function), ScriptStringLiteral(json));
}

PageCallResult ReadPageCallResult(const QVariant& answer) {
  PageCallResult result;
  const QVariantMap map = answer.toMap();
  result.called = map.value("called").toBool();
  result.returned = map.value("returned");
  result.error = map.value("error").toString();
  result.pageState = map.value("pageState").toMap();
  return result;
}

bool CallPage(QWebEnginePage& page, const QString& function, const QJsonArray& arguments, PageCallDone done) {
  const QString script = PageCallScript(function, arguments);
  if (script.isEmpty()) return false;
  if (done) {
    page.runJavaScript(script, [done = std::move(done)](const QVariant& answer) { done(ReadPageCallResult(answer)); });
  } else {
    page.runJavaScript(script);
  }
  return true;
}

void ReadPageState(QWebEnginePage& page, std::function<void(const QVariantMap&)> done) {
  page.runJavaScript(QString::fromLatin1(kReadStateScript),
                     [done = std::move(done)](const QVariant& answer) { done(answer.toMap()); });
}

}  // namespace webmap
