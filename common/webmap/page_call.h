#pragma once

// The one way values reach a map page. The arguments travel as JSON inside a single string
// literal in which every character that could end the literal or the script is escaped; the
// page parses it. No value is ever pasted into script text, so nothing read from a card or a
// log can run as script.
#include <QJsonArray>
#include <QString>
#include <QVariantMap>

#include <functional>

class QWebEnginePage;

namespace webmap {

// `text` as a double-quoted JavaScript string literal holding printable ASCII only: quotes,
// backslashes, <, >, &, ' and everything outside 0x20..0x7e become \uXXXX.
QString ScriptStringLiteral(const QString& text);

// Page functions are plain global names ("animate", "setTrack"); nothing else is called.
bool IsPageFunctionName(const QString& name);

// The script that calls window[function](...arguments) when the page defines it and answers
// {called, returned, error, pageState}. Empty when `function` is not a plain name.
QString PageCallScript(const QString& function, const QJsonArray& arguments);

// The page's answer to a call.
struct PageCallResult {
  bool called = false;    // the page had the function and it returned without throwing
  QVariant returned;      // what it returned (plain data; null when nothing)
  QString error;          // what it threw
  QVariantMap pageState;  // window.pageState after the call (empty when the page has none)
};
PageCallResult ReadPageCallResult(const QVariant& answer);

using PageCallDone = std::function<void(const PageCallResult&)>;

// Calls `function` on `page` and returns at once; `done` hears the answer later, on this thread.
// A page that is destroyed first answers with an empty result. False when the name is refused.
bool CallPage(QWebEnginePage& page, const QString& function, const QJsonArray& arguments, PageCallDone done = {});

// Reads window.pageState without calling anything; answers later, like CallPage.
void ReadPageState(QWebEnginePage& page, std::function<void(const QVariantMap&)> done);

}  // namespace webmap
