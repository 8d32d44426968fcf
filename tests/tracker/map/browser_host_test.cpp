// The map area's host and its bridge on a page that is not the map: where the view sits, the
// result codes, and the walk from the last element with its match count.
#include <gtest/gtest.h>

#include "common/webmap/page_call.h"

#include "tests/tracker/map/map_fixture.h"
#include "tracker/map/page_bridge.h"

namespace {

using tracker::BridgeAnswer;
using tracker::PageCall;
using tracker_map_test::WaitFor;

class BrowserHostTest : public tracker_map_test::MapAreaTest {
 protected:
  // The bridge's test page with `stage` as the last part of the document.
  std::unique_ptr<tracker::BrowserHost> Stage(const QString& stage) {
    auto host = std::make_unique<tracker::BrowserHost>(tracker_map_test::kSmallMap, &window);
    host->show();
    EXPECT_EQ(host->Embed(), tracker::kHostOk);
    EXPECT_EQ(host->Navigate("qrc:/tracker_map_test/bridge_test_page.html"), tracker::kHostOk);
    EXPECT_TRUE(WaitFor([&] { return host->Document() != nullptr; }));
    SetStage(*host, stage);
    return host;
  }

  void SetStage(tracker::BrowserHost& host, const QString& stage) {
    Eval(host, QStringLiteral("document.getElementById('stage').innerHTML = %1; clicked = []; 0")
                   .arg(webmap::ScriptStringLiteral(stage)));
  }

  QString ValueOf(tracker::BrowserHost& host, const QString& which) {
    return Eval(host, QStringLiteral("valueOf('%1')").arg(which)).toString();
  }

  QStringList Clicked(tracker::BrowserHost& host) { return Eval(host, "clicked").toStringList(); }
};

TEST_F(BrowserHostTest, SitsWhereTheLayoutSaysAndAnswersWithItsCodes) {
  for (const QRect& rect : {tracker_map_test::kLargeMap, tracker_map_test::kSmallMap}) {
    tracker::BrowserHost host(rect, &window);
    host.show();
    EXPECT_EQ(host.objectName(), "MyBrowserView");
    EXPECT_EQ(host.geometry(), rect);
    // Nothing embedded: every call says so, and a screenshot need not wait.
    EXPECT_EQ(host.Navigate("qrc:/map_ex.html"), tracker::kHostNoBrowser);
    EXPECT_EQ(host.LoadPage(0), tracker::kHostNoBrowser);
    EXPECT_EQ(host.Call(tracker::PrintCall()), tracker::kHostNoBrowser);
    EXPECT_EQ(host.Document(), nullptr);
    EXPECT_TRUE(host.Settled());

    ASSERT_EQ(host.Embed(), tracker::kHostOk);
    EXPECT_EQ(host.Embed(), tracker::kHostOk);
    EXPECT_EQ(host.Navigate(""), tracker::kHostBadAddress);
    EXPECT_EQ(host.Navigate("map_ex.html"), tracker::kHostBadAddress);
    EXPECT_EQ(host.Navigate("http://exa mple.com/%zz"), tracker::kHostBadAddress);
    EXPECT_EQ(host.Call(PageCall{}), tracker::kHostNothingToSet);
    // Loading: no document yet, so nothing is sent.
    ASSERT_EQ(host.LoadPage(10), tracker::kHostOk);
    EXPECT_EQ(host.Call(tracker::ChangeLanguageCall(3)), tracker::kHostNoBrowser);
    EXPECT_FALSE(host.Settled());
    ASSERT_TRUE(WaitFor([&] { return host.Settled(); }));

    const QJsonObject state = host.State();
    EXPECT_EQ(state["url"].toString(), "qrc:/map_ex.html?lang=10");
    EXPECT_TRUE(state["loaded"].toBool());
    EXPECT_TRUE(state["lastCall"].isNull());
    EXPECT_EQ(state["pageState"].toObject()["language"].toInt(), 10);
    // The page fills the area, without scroll bars.
    EXPECT_EQ(Eval(host, "[window.innerWidth, window.innerHeight]").toList(),
              (QVariantList{rect.width(), rect.height()}));

    host.Unembed();
    EXPECT_FALSE(host.embedded());
    EXPECT_EQ(host.Document(), nullptr);
    EXPECT_EQ(host.Navigate("qrc:/map_ex.html"), tracker::kHostNoBrowser);
  }
}

TEST_F(BrowserHostTest, AnAreaWithoutRoomIsNotEmbedded) {
  tracker::BrowserHost host(QRect(0, 0, 0, 0), &window);
  EXPECT_EQ(host.Embed(), tracker::kHostNotPlaced);
  EXPECT_FALSE(host.embedded());
}

TEST_F(BrowserHostTest, IdsInReverseOrderAtTheEndAreServedWithoutWalkingFurther) {
  auto host = Stage(
      "<input id='a' data-which='front-a' value='front'><input id='b' data-which='front-b' value='front'>"
      "<button id='go' data-which='front-go'></button><p>filler</p><p>filler</p>"
      "<button id='go' data-which='end-go'></button><input id='c' data-which='end-c'>"
      "<input id='b' data-which='end-b'><input id='a' data-which='end-a'>");
  const BridgeAnswer answer = CallAndWait(*host, PageCall{{{"a", "1"}, {"b", "2"}, {"c", "3"}}, "go"});
  EXPECT_TRUE(answer.answered);
  EXPECT_TRUE(answer.walked);
  EXPECT_EQ(answer.visited, 4);
  EXPECT_EQ(answer.matches, 4);
  EXPECT_TRUE(answer.clicked);
  EXPECT_EQ(ValueOf(*host, "end-a"), "1");
  EXPECT_EQ(ValueOf(*host, "end-b"), "2");
  EXPECT_EQ(ValueOf(*host, "end-c"), "3");
  EXPECT_EQ(ValueOf(*host, "front-a"), "front");
  EXPECT_EQ(ValueOf(*host, "front-b"), "front");
  EXPECT_EQ(Clicked(*host), QStringList{"end-go"});
}

TEST_F(BrowserHostTest, AnIdTwiceNearTheEndUsesUpAMatch) {
  auto host = Stage(
      "<input id='a' data-which='front-a' value='front'><p>filler</p>"
      "<input id='b' data-which='b1'><input id='b' data-which='b2'><button id='go' data-which='go'></button>");
  const BridgeAnswer answer = CallAndWait(*host, PageCall{{{"a", "1"}, {"b", "2"}}, "go"});
  // go, b, b: three matches for two ids and a trigger, so the walk ends before reaching a.
  EXPECT_EQ(answer.matches, 3);
  EXPECT_EQ(answer.visited, 3);
  EXPECT_EQ(ValueOf(*host, "b1"), "2");
  EXPECT_EQ(ValueOf(*host, "b2"), "2");
  EXPECT_EQ(ValueOf(*host, "front-a"), "front");
  EXPECT_EQ(Clicked(*host), QStringList{"go"});
}

TEST_F(BrowserHostTest, MissingIdsAreSkippedAndAMissingTriggerClicksNothing) {
  auto host = Stage("<input id='a' data-which='a'><button id='go' data-which='go'></button><p></p>");
  const int elements = Eval(*host, "document.getElementsByTagName('*').length").toInt();
  const BridgeAnswer answer = CallAndWait(*host, PageCall{{{"a", "x"}, {"nowhere", "y"}}, "absent"});
  EXPECT_EQ(answer.matches, 1);
  EXPECT_EQ(answer.visited, elements);  // to the front of the document
  EXPECT_FALSE(answer.clicked);
  EXPECT_EQ(ValueOf(*host, "a"), "x");
  EXPECT_TRUE(Clicked(*host).isEmpty());

  // A trigger alone is a call too.
  const BridgeAnswer click = CallAndWait(*host, PageCall{{}, "go"});
  EXPECT_TRUE(click.clicked);
  EXPECT_EQ(click.visited, 2);
  EXPECT_EQ(Clicked(*host), QStringList{"go"});
}

TEST_F(BrowserHostTest, KeptElementsAreSetWithoutWalkingUntilThePageIsLoadedAgain) {
  const QString stage =
      "<input id='lat' data-which='lat'><p></p><input id='lng' data-which='lng'><button id='mv' "
      "data-which='mv'></button>";
  auto host = Stage(stage);
  const PageCall move{{{"lat", "37.5"}, {"lng", "127.0"}, {"absent", "z"}}, "mv"};
  const BridgeAnswer first = CallAndWait(*host, move, "marker");
  EXPECT_TRUE(first.walked);
  EXPECT_TRUE(first.kept);

  const BridgeAnswer second =
      CallAndWait(*host, PageCall{{{"lat", "38"}, {"lng", "128"}, {"absent", "z"}}, "mv"}, "marker");
  EXPECT_FALSE(second.walked);
  EXPECT_EQ(second.visited, 0);
  EXPECT_EQ(second.matches, 3);  // the two found and the trigger; the absent one is skipped
  EXPECT_EQ(ValueOf(*host, "lat"), "38");
  EXPECT_EQ(ValueOf(*host, "lng"), "128");
  EXPECT_EQ(Clicked(*host), (QStringList{"mv", "mv"}));

  // Loaded again: the kept elements went with the old document.
  ASSERT_EQ(host->Navigate("qrc:/tracker_map_test/bridge_test_page.html"), tracker::kHostOk);
  ASSERT_TRUE(WaitFor([&] { return host->Document() != nullptr; }));
  SetStage(*host, stage);
  EXPECT_TRUE(CallAndWait(*host, move, "marker").walked);
}

TEST_F(BrowserHostTest, WhileTheFirstIdIsMissingEveryCallWalks) {
  auto host = Stage("<input id='lng' data-which='lng'><button id='mv' data-which='mv'></button>");
  const PageCall move{{{"lat", "37.5"}, {"lng", "127.0"}}, "mv"};
  for (int i = 0; i < 2; ++i) {
    const BridgeAnswer answer = CallAndWait(*host, move, "marker");
    EXPECT_TRUE(answer.walked);
    EXPECT_FALSE(answer.kept);
    EXPECT_TRUE(answer.clicked);
  }
  // Once it is there, it is kept.
  SetStage(*host, "<input id='lat' data-which='lat'><input id='lng'><button id='mv'></button>");
  EXPECT_TRUE(CallAndWait(*host, move, "marker").kept);
  EXPECT_FALSE(CallAndWait(*host, move, "marker").walked);
}

TEST_F(BrowserHostTest, ValuesAreSetAsTextWhateverTheyHold) {
  auto host = Stage("<input id='a' data-which='a'><div id='d' data-which='d'></div>");
  const std::string hostile = "\"><img src=x onerror=\"window.injected=1\"></script><script>window.injected=2</script>";
  CallAndWait(*host, PageCall{{{"a", hostile}, {"d", hostile}}, ""});
  EXPECT_EQ(ValueOf(*host, "a"), QString::fromStdString(hostile));
  EXPECT_EQ(Eval(*host, "document.getElementById('d').getAttribute('value')").toString(),
            QString::fromStdString(hostile));
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('img').length").toInt(), 0);
  EXPECT_EQ(Eval(*host, "typeof window.injected").toString(), "undefined");
}

TEST_F(BrowserHostTest, ThePlaybackTimerTicksUntilStopped) {
  tracker::BrowserHost host(tracker_map_test::kSmallMap, &window);
  int ticks = 0;
  QObject::connect(&host, &tracker::BrowserHost::PlaybackTick, [&] { ++ticks; });
  host.StartPlaybackTimer();
  EXPECT_TRUE(host.playbackTimerActive());
  ASSERT_TRUE(WaitFor([&] { return ticks >= 3; }, 5000));
  host.StopPlaybackTimer();
  EXPECT_FALSE(host.playbackTimerActive());
  const int stopped = ticks;
  tracker_map_test::Spin(30);
  EXPECT_EQ(ticks, stopped);
}

}  // namespace
