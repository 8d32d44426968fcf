// Where the setup dialog's controls stand, in dialog units and on screen, for each profile.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <set>

#include "manager/setup/dialog/dialog_units.h"
#include "manager/setup/dialog/level_edit.h"
#include "manager/setup/dialog/setup_dialog.h"
#include "manager/setup/dialog/setup_layout.h"
#include "manager/setup/profile.h"
#include "tests/manager/setup/dialog/fake_setup_host.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

TEST(DialogUnits, FollowTheFontsAverageCharacter) {
  // Tahoma 8 pt: the alphabet is 300 pixels wide, the line 13 high: base units 6 x 13.
  const DialogBaseUnits base = BaseUnitsFromFont(300, 13);
  EXPECT_EQ(BaseUnitsFromFont(280, 13).x, 5);
  EXPECT_EQ(base.x, 6);
  EXPECT_EQ(base.y, 13);
  EXPECT_EQ(HorizontalPixels(312, base), 468);
  EXPECT_EQ(VerticalPixels(236, base), 384);  // 383.5 rounds up
  // Edges are converted on their own, so controls side by side stay flush.
  const PixelRect left = ToPixels({15, 8, 138, 75}, base);
  const PixelRect right = ToPixels({153, 8, 10, 75}, base);
  EXPECT_EQ(left.x + left.width, right.x);
  EXPECT_EQ(BaseUnitsFromFont(0, 0).x, 0);
}

TEST(LevelEdit, RangeByProfile) {
  using Kind = LevelEditValue::Kind;
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "25").kind, Kind::Valid);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "25").value, 25);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "30").kind, Kind::Valid);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "31").kind, Kind::OutOfRange);
  EXPECT_EQ(CheckLevelEdit(kParkProfile, "21").kind, Kind::OutOfRange);
  EXPECT_EQ(CheckLevelEdit(kBrandProfile, "20").kind, Kind::Valid);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "").kind, Kind::Empty);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, " 7 ").value, 7);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "-1").kind, Kind::OutOfRange);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "99999999999999999999").kind, Kind::OutOfRange);
  EXPECT_EQ(CheckLevelEdit(kDualProfile, "1x").kind, Kind::NotInteger);
}

bool Inside(const DialogRect& inner, const DialogRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

bool Overlap(const DialogRect& a, const DialogRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

class DialogLayout : public ::testing::TestWithParam<const Profile*> {};

TEST_P(DialogLayout, ControlsStayInTheirGroupsAndDoNotOverlap) {
  const Profile& profile = *GetParam();
  const auto controls = SetupDialogLayout(profile);
  const DialogRect dialog{0, 0, profile.setup_dialog_size.width, profile.setup_dialog_size.height};
  std::set<int> ids;
  std::vector<const ControlSpec*> groups;
  for (const ControlSpec& control : controls) {
    if (control.id != 0) {
      EXPECT_TRUE(ids.insert(control.id).second) << "twice: " << control.id;
    }
    EXPECT_TRUE(Inside(control.rect, dialog)) << control.id;
    if (control.kind == ControlKind::Group) groups.push_back(&control);
  }
  for (const ControlSpec& control : controls) {
    if (!control.visible || control.kind == ControlKind::Group) continue;
    // A control that starts in a group's frame ends in it too: none straddles a frame line.
    for (const ControlSpec* group : groups) {
      if (Overlap(control.rect, group->rect)) {
        EXPECT_TRUE(Inside(control.rect, group->rect)) << control.id;
      }
    }
    for (const ControlSpec& other : controls) {
      if (&other == &control || !other.visible || other.kind == ControlKind::Group) continue;
      EXPECT_FALSE(Overlap(control.rect, other.rect)) << control.id << " and " << other.id;
    }
  }
}

TEST_P(DialogLayout, TextsFitTheirControls) {
  const Profile& profile = *GetParam();
  testing_support::TempDir dir;
  testing::FakeSetupHost host(dir / "TempMS.ini");
  CSetupDlg dialog(profile, host);
  for (const ControlSpec& spec : SetupDialogLayout(profile)) {
    if (!spec.visible) continue;
    QWidget* widget = spec.id ? dialog.Control(spec.id) : nullptr;
    QString text;
    int room = 0;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      text = label->text();
      room = label->width();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      text = button->text();
      room = button->width() - 8;  // frame and margins
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      text = group->title();
      room = group->width() - 16;
    } else {
      continue;
    }
    EXPECT_LE(widget->fontMetrics().horizontalAdvance(text), room) << spec.id << " \"" << text.toStdString() << "\"";
  }
  const DialogBaseUnits base = dialog.base_units();
  EXPECT_EQ(dialog.size(), QSize(HorizontalPixels(profile.setup_dialog_size.width, base),
                                 VerticalPixels(profile.setup_dialog_size.height, base)));
}

INSTANTIATE_TEST_SUITE_P(Profiles, DialogLayout, ::testing::Values(&kDualProfile, &kParkProfile, &kBrandProfile),
                         [](const auto& test) { return std::string(test.param->name); });

}  // namespace
}  // namespace setup
