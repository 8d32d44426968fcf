// The setup dialog of each profile with the folder browser faked: what it shows, what it
// writes, the time picker, the keys it swallows, and the format command on a disk image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>

#include "common/gui/message_box.h"
#include "manager/setup/dialog/card_folder_chooser.h"
#include "manager/setup/dialog/setup_command.h"
#include "manager/setup/dialog/setup_dialog.h"
#include "manager/setup/dialog/time_set_dialog.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"
#include "manager/setup/setup_keys.h"
#include "manager/setup/temp_ms_file.h"
#include "tests/manager/setup/dialog/fake_setup_host.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

constexpr std::array<SetupList, 9> kAllLists = {SetupList::Quality,    SetupList::FrameRate,   SetupList::Audio,
                                                SetupList::TimeZone,   SetupList::InputVolume, SetupList::OutputVolume,
                                                SetupList::Brightness, SetupList::Sharpness,   SetupList::TVOut};

QStringList Messages() { return gui::RecordedMessages(); }

// Selections unlike the defaults, in every control the profile has.
MemorySetupControls Unusual(const Profile& profile) {
  MemorySetupControls controls(profile);
  ApplyDefaults(profile, controls);
  controls.SelectIndex(SetupList::Quality, 1);
  controls.SelectIndex(SetupList::FrameRate, 1);
  controls.SelectIndex(SetupList::Audio, 0);
  controls.SelectIndex(SetupList::TimeZone, 30);
  controls.SelectIndex(SetupList::InputVolume, 3);
  controls.SelectIndex(SetupList::OutputVolume, 7);
  controls.SelectIndex(SetupList::Brightness, 2);
  controls.SelectIndex(SetupList::Sharpness, 8);
  controls.SelectIndex(SetupList::TVOut, 1);
  controls.SetDstChecked(true);
  const int positions[] = {3, 13, 20, 1, 2, 5};
  for (LevelSlider slider : ProfileSliders(profile))
    controls.SetSliderPosition(slider, positions[static_cast<int>(slider)]);
  return controls;
}

class SetupDialog : public ::testing::TestWithParam<const Profile*> {
 protected:
  void SetUp() override {
    gui::ClearRecordedMessages();
    gui::SetMessageRecording(true);
    host.answer = QString::fromStdString(card().string());
  }
  void TearDown() override { gui::SetMessageRecording(false); }

  const Profile& profile() const { return *GetParam(); }
  std::filesystem::path card() const { return dir / "card"; }
  std::filesystem::path settings() const { return card() / "SETUP/Setup.ini"; }

  // The dialog's controls read back the way the writers read them.
  static void ExpectSameControls(const Profile& profile, const SetupControls& expected, const CSetupDlg& dialog) {
    for (SetupList list : kAllLists) {
      EXPECT_EQ(dialog.SelectedIndex(list), expected.SelectedIndex(list)) << static_cast<int>(list);
    }
    EXPECT_EQ(dialog.DstChecked(), expected.DstChecked());
    for (LevelSlider slider : ProfileSliders(profile)) {
      EXPECT_EQ(dialog.SliderPosition(slider), expected.SliderPosition(slider));
      EXPECT_EQ(dialog.LevelEdit(slider)->text(), QString::number(expected.SliderPosition(slider)));
    }
  }

  static void Click(const CSetupDlg& dialog, int id) {
    QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(id)), Qt::LeftButton);
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QApplication::processEvents();  // the range message comes after the keystroke
  }

  // Runs `act` on the modal dialog of type T once it is up.
  template <typename T>
  static void WhenModal(std::function<void(T&)> act) {
    QTimer::singleShot(0, [act] {
      auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
      ASSERT_NE(modal, nullptr);
      act(*modal);
    });
  }

  TempDir dir;
  testing::FakeSetupHost host{dir / "TempMS.ini"};
};

TEST_P(SetupDialog, ShowsTheCardsSettingsAndAppliesThemByteForByte) {
  const MemorySetupControls unusual = Unusual(profile());
  WriteFile(settings(), ApplyText(profile(), unusual));
  MemorySetupControls shown(profile());  // the park camera's file holds 1 for its hidden lists
  ReadSetupText(profile(), ApplyText(profile(), unusual), shown);

  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  EXPECT_EQ(dialog.settings_path(), settings().string());
  ExpectSameControls(profile(), shown, dialog);

  std::filesystem::remove(settings());
  dialog.show();
  Click(dialog, setup_ids::kApply);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(ReadFile(settings()), ApplyText(profile(), unusual));
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(SetupDialog, EmptySetupFolderShowsDefaultsAndApplyCreatesTheFile) {
  std::filesystem::create_directories(card() / "SETUP");
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  MemorySetupControls defaults(profile());
  ApplyDefaults(profile(), defaults);
  ExpectSameControls(profile(), defaults, dialog);

  dialog.OnApply();
  EXPECT_EQ(ReadFile(settings()), ApplyText(profile(), defaults));
}

// A file written for another camera (its indexes beyond this profile's lists) or a damaged one:
// every list shows an entry, the profile's default, and Apply writes no -1.
TEST_P(SetupDialog, AFileOfAnotherProfileShowsTheDefaultsSelected) {
  WriteFile(settings(), "Quality = 9 ;\r\nFrameRate = -3 ;\r\nTimeZone = 500 ;\r\nAudio = x ;\r\n");
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  for (const SetupList list : {SetupList::Quality, SetupList::FrameRate, SetupList::TimeZone}) {
    EXPECT_EQ(dialog.List(list)->currentIndex(), DefaultListIndex(profile(), list)) << static_cast<int>(list);
  }
  dialog.OnApply();
  EXPECT_EQ(ReadFile(settings()).find("= -"), std::string::npos) << ReadFile(settings());
}

TEST_P(SetupDialog, FolderWithoutSetupEndsWithTheMessageAndWritesNothing) {
  std::filesystem::create_directories(card() / "DCIM");
  CSetupDlg dialog(profile(), host);
  EXPECT_FALSE(dialog.Open());
  EXPECT_EQ(Messages(), QStringList{"Please select storage card."});
  EXPECT_FALSE(std::filesystem::exists(card() / "SETUP"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(card()), {}), 1);

  // Nothing chosen: the dialog ends without a word, and nothing is remembered.
  gui::ClearRecordedMessages();
  host.answer.reset();
  std::filesystem::remove(dir / "TempMS.ini");
  EXPECT_FALSE(CSetupDlg(profile(), host).Open());
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_FALSE(std::filesystem::exists(dir / "TempMS.ini"));
  host.answer = "";
  EXPECT_FALSE(CSetupDlg(profile(), host).Open());
}

TEST_P(SetupDialog, FactorySettingWritesTheDefaultsAndShowsThem) {
  WriteFile(settings(), ApplyText(profile(), Unusual(profile())));
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  dialog.show();
  Click(dialog, setup_ids::kFactorySetting);
  EXPECT_EQ(Messages(), QStringList{"Default setting succeeded."});
  // DST is not part of the defaults: the box's state is written and stays.
  EXPECT_EQ(ReadFile(settings()), FactoryText(profile(), DefaultSettings(profile(), true)));
  MemorySetupControls expected(profile());
  expected.SetDstChecked(true);
  ApplyDefaults(profile(), expected);
  ExpectSameControls(profile(), expected, dialog);
  EXPECT_TRUE(dialog.isVisible());
}

TEST_P(SetupDialog, LevelEditsAndSlidersMoveTogether) {
  std::filesystem::create_directories(card() / "SETUP");
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  dialog.show();
  const auto sliders = ProfileSliders(profile());
  EXPECT_EQ(sliders.size(), profile().has_parking_sensitivity ? 6u : 3u);

  // Each pair in step, and only that pair.
  int position = 1;
  for (LevelSlider slider : sliders) {
    dialog.Slider(slider)->setValue(position);
    EXPECT_EQ(dialog.LevelEdit(slider)->text(), QString::number(position));
    Type(dialog.LevelEdit(slider), QString::number(position + 10));
    EXPECT_EQ(dialog.SliderPosition(slider), position + 10);
    ++position;
  }
  position = 11;
  for (LevelSlider slider : sliders) EXPECT_EQ(dialog.SliderPosition(slider), position++);

  // 25 is within the dual edits' range: the slider goes as far as it can, and Apply writes 1 G.
  // The other profiles refuse it with the range message, and the slider stays where the last
  // good keystroke ("2") put it.
  const LevelSlider x = LevelSlider::X;
  Type(dialog.LevelEdit(x), "25");
  if (profile().id == ProfileId::Dual) {
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(dialog.SliderPosition(x), 20);
    EXPECT_EQ(dialog.LevelEdit(x)->text(), "20");
    Type(dialog.LevelEdit(LevelSlider::Z), "31");
    EXPECT_EQ(Messages(), QStringList{"Please enter an integer between 0 and 30."});
    EXPECT_EQ(dialog.SliderPosition(LevelSlider::Z), 3);
    EXPECT_EQ(dialog.LevelEdit(LevelSlider::Z)->text(), "3");
    Click(dialog, setup_ids::kApply);
    EXPECT_NE(ReadFile(settings()).find("TriggerLevelX    = 1.00 ;\r\n"), std::string::npos);
  } else {
    EXPECT_EQ(Messages(), QStringList{"Please enter an integer between 0 and 20."});
    EXPECT_EQ(dialog.SliderPosition(x), 2);
    EXPECT_EQ(dialog.LevelEdit(x)->text(), "2");
  }
  // Clearing an edit to type anew is not an error.
  gui::ClearRecordedMessages();
  Type(dialog.LevelEdit(LevelSlider::Y), "");
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(SetupDialog, ClosesOnlyThroughItsButtons) {
  std::filesystem::create_directories(card() / "SETUP");
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QTest::keyClick(&dialog, key);
    QTest::keyClick(dialog.Control(setup_ids::kApply), key);
    QTest::keyClick(dialog.LevelEdit(LevelSlider::X), key);
  }
  dialog.windowHandle()->close();  // what Alt+F4 and the title bar's button do
  QApplication::processEvents();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(std::filesystem::exists(settings()));

  Click(dialog, setup_ids::kCancel);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(std::filesystem::exists(settings()));
}

TEST_P(SetupDialog, TimeSettingWritesTheClockFileOfTheProfile) {
  std::filesystem::create_directories(card() / "SETUP");
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  const auto clock = card() / (profile().id == ProfileId::Park ? "_newtime.dtm" : "_D9SetTimeSetting.dx_");

  WhenModal<CTimeSetDlg>([](CTimeSetDlg& picker) {
    EXPECT_EQ(picker.windowTitle(), "Time setting");
    EXPECT_EQ(picker.focusWidget(), picker.ok_button());
    picker.calendar()->setSelectedDate(QDate(2012, 1, 1));
    picker.time_edit()->setTime(QTime(0, 0, 0));
    QTest::keyClick(&picker, Qt::Key_Return);  // OK has the focus
  });
  dialog.OnTimeSetting();
  EXPECT_EQ(ReadFile(clock), "2012.01.01..00:00:00");
  EXPECT_EQ(Messages(), QStringList{"2012.01.01..00:00:00"});

  // Cancel writes nothing and shows nothing.
  gui::ClearRecordedMessages();
  std::filesystem::remove(clock);
  WhenModal<CTimeSetDlg>([](CTimeSetDlg& picker) { picker.reject(); });
  dialog.OnTimeSetting();
  EXPECT_FALSE(std::filesystem::exists(clock));
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_P(SetupDialog, FilesThatCannotBeWrittenAreNamed) {
  std::filesystem::create_directories(card() / "SETUP");
  CSetupDlg dialog(profile(), host);
  ASSERT_TRUE(dialog.Open());
  dialog.show();
  // A folder where the file should be stands in for a full or write-protected card.
  std::filesystem::create_directories(settings());
  const QString settings_text = QString::fromStdString(settings().string());

  Click(dialog, setup_ids::kApply);
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_TRUE(Messages()[0].startsWith("Could not write " + settings_text)) << Messages()[0].toStdString();
  EXPECT_TRUE(dialog.isVisible());  // the user's choices are still there to try again

  gui::ClearRecordedMessages();
  Click(dialog, setup_ids::kFactorySetting);
  ASSERT_EQ(Messages().size(), 1);  // no success message
  EXPECT_TRUE(Messages()[0].startsWith("Could not write " + settings_text));

  gui::ClearRecordedMessages();
  const auto clock = ClockFilePath(profile(), card());
  std::filesystem::create_directories(clock);
  WhenModal<CTimeSetDlg>([](CTimeSetDlg& picker) { picker.accept(); });
  dialog.OnTimeSetting();
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_TRUE(Messages()[0].startsWith("Could not write " + QString::fromStdString(clock.string())));
  EXPECT_EQ(Messages()[1], settings_text);
}

TEST_P(SetupDialog, StateListsEveryControlById) {
  const MemorySetupControls unusual = Unusual(profile());
  WriteFile(settings(), ApplyText(profile(), unusual));
  CSetupDlg* dialog = OpenSetupDialog(profile(), host, QString::fromStdString(card().string()), nullptr);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(host.browsed, 0);  // as if the chooser had returned the folder

  const QJsonObject state = dialog->State();
  EXPECT_EQ(state["title"].toString(), "Setup");
  EXPECT_EQ(state["size"].toArray(), (QJsonArray{dialog->width(), dialog->height()}));
  const QJsonObject controls = state["controls"].toObject();
  const auto control = [&](int id) { return controls[QString::number(id)].toObject(); };

  EXPECT_EQ(control(1065)["value"].toInt(), 1);
  EXPECT_EQ(control(1065)["text"].toString(), control(1065)["items"].toArray()[1].toString());
  EXPECT_EQ(control(1049)["items"].toArray().size(), 84);
  EXPECT_EQ(control(1049)["text"].toString(), "(GMT) Greenwich Mean Time: Dublin, Edinburgh, Lisbon, London");
  EXPECT_EQ(control(1036)["value"].toInt(), 3);
  EXPECT_EQ(control(1064)["text"].toString(), "3");
  EXPECT_EQ(control(1064)["value"].toString(), "3");
  EXPECT_EQ(control(1091)["value"].toInt(), 1);
  EXPECT_EQ(control(1091)["text"].toString(), "DST");
  EXPECT_EQ(control(1094)["text"].toString(), "SD format");
  EXPECT_EQ(control(1)["text"].toString(), "Apply");
  EXPECT_FALSE(control(1083)["visible"].toBool());  // brightness
  EXPECT_FALSE(control(1062)["visible"].toBool());  // microphone volume
  if (profile().id == ProfileId::Park) {
    EXPECT_EQ(control(1065)["items"].toArray(), (QJsonArray{"720P", "VGA"}));
    EXPECT_EQ(control(1090)["items"].toArray(), (QJsonArray{"NTSC", "PAL"}));
    EXPECT_EQ(control(1090)["value"].toInt(), 1);
    EXPECT_EQ(control(1037)["value"].toInt(), 1);
    EXPECT_EQ(control(1025)["text"].toString(), "Sensor sensitivity(Parking)");
    EXPECT_EQ(control(1131)["text"].toString(), "High");
    EXPECT_EQ(control(1148)["text"].toString(), "Low");
    EXPECT_FALSE(control(1063)["visible"].toBool());
  } else {
    EXPECT_EQ(control(1065)["items"].toArray(), (QJsonArray{"Low", "Normal", "High"}));
    EXPECT_EQ(control(1061)["items"].toArray(), (QJsonArray{"Low", "Medium", "High"}));
    EXPECT_FALSE(controls.contains("1090"));
    EXPECT_FALSE(controls.contains("1037"));
    EXPECT_TRUE(control(1063)["visible"].toBool());
  }

  // The screenshots for the report: SETUP_DIALOG_SCREENSHOTS=folder.
  if (const QString folder = qEnvironmentVariable("SETUP_DIALOG_SCREENSHOTS"); !folder.isEmpty()) {
    dialog->grab().save(folder + "/setup-" + QString::fromUtf8(profile().name.data(), profile().name.size()) + ".png");
  }
  dialog->OnCancel();
  QApplication::processEvents();

  // A card without SETUP: the message, and no dialog.
  std::filesystem::remove_all(card() / "SETUP");
  EXPECT_EQ(OpenSetupDialog(profile(), host, QString::fromStdString(card().string()), nullptr), nullptr);
  EXPECT_EQ(Messages(), QStringList{"Please select storage card."});
}

TEST_P(SetupDialog, SetupCommandRunsTheDialogModally) {
  std::filesystem::create_directories(card() / "SETUP");
  WhenModal<CSetupDlg>([](CSetupDlg& dialog) { dialog.OnApply(); });
  RunSetupCommand(profile(), host, nullptr);
  EXPECT_EQ(host.browsed, 1);
  EXPECT_TRUE(std::filesystem::exists(settings()));

  host.answer.reset();  // cancelled chooser: returns at once, no dialog to close
  RunSetupCommand(profile(), host, nullptr);
  EXPECT_EQ(host.browsed, 2);
}

INSTANTIATE_TEST_SUITE_P(Profiles, SetupDialog, ::testing::Values(&kDualProfile, &kParkProfile, &kBrandProfile),
                         [](const auto& test) { return std::string(test.param->name); });

TEST(CardFolderChooser, RemembersTheFolderAsChosen) {
  TempDir dir;
  testing::FakeSetupHost host(dir / "TempMS.ini");
  // A drive root keeps its own separator; a folder gets one for the card folder only.
  host.answer = "E:\\";
  EXPECT_EQ(ChooseCardFolder(host, nullptr), "E:\\");
  EXPECT_EQ(ReadFile(dir / "TempMS.ini"), std::string("E\0:\0\\\0", 6));
  EXPECT_EQ(host.browse_title, "Please select driver or folder.");
  EXPECT_EQ(host.browse_initial.toStdString(), DefaultCardFolder());

  host.answer = "/media/user/cards/cam1";
  EXPECT_EQ(ChooseCardFolder(host, nullptr), "/media/user/cards/cam1/");
  EXPECT_EQ(ReadTempMsFile(dir / "TempMS.ini"), "/media/user/cards/cam1");
  host.answer.reset();
  EXPECT_EQ(ChooseCardFolder(host, nullptr), std::nullopt);
  EXPECT_EQ(host.browse_initial, "/media/user/cards/cam1");  // starts at the remembered folder
  EXPECT_EQ(ReadTempMsFile(dir / "TempMS.ini"), "/media/user/cards/cam1");
}

TEST(TimePicker, HandsBackTheChosenMomentWithOkFocused) {
  CTimeSetDlg picker;
  picker.SetTime({2012, 1, 1, 0, 0, 0});
  EXPECT_EQ(ClockText(picker.Time()), "2012.01.01..00:00:00");
  picker.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
  EXPECT_EQ(picker.focusWidget(), picker.ok_button());
  EXPECT_EQ(picker.findChild<QWidget*>("1127"), picker.calendar());
  EXPECT_EQ(picker.findChild<QWidget*>("1126"), picker.time_edit());
  EXPECT_FALSE(picker.findChild<QPushButton*>("2")->text().isEmpty());
  if (const QString folder = qEnvironmentVariable("SETUP_DIALOG_SCREENSHOTS"); !folder.isEmpty()) {
    picker.grab().save(folder + "/time-picker.png");
  }
}

// The format command through the dialog, on a disk image mounted (on paper) at the card folder.
class SdFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::ClearRecordedMessages();
    gui::SetMessageRecording(true);
    std::filesystem::create_directories(card() / "SETUP");
    testing_support::MakeFileOfSize(image(), 1024ULL * 1024 * 1024);
    host.card.mounts = std::string(testing::kSystemMounts) + image() + " " + card().string() + " vfat rw 0 0\n";
    host.card.facts[image()] = testing::UsbCardReader();
    host.card.media_folders = {dir.path().string()};
    host.answer = QString::fromStdString(card().string());
    ASSERT_TRUE(dialog.Open());
    dialog.show();
    gui::ClearRecordedMessages();
  }
  void TearDown() override { gui::SetMessageRecording(false); }

  std::filesystem::path card() const { return dir / "card"; }
  std::string image() const { return (dir / "card.img").string(); }
  std::string Described() const {
    return testing_support::RunCommand("file -b " + testing_support::ShellQuoted(image())).out;
  }

  TempDir dir;
  testing::FakeSetupHost host{dir / "TempMS.ini"};
  CSetupDlg dialog{kDualProfile, host};
};

TEST_F(SdFormat, WarnsStopsPlaybackFormatsAndSaysSo) {
  QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(setup_ids::kSdFormat)), Qt::LeftButton);
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_TRUE(Messages()[0].startsWith("Formatting erases everything on the card"));
  EXPECT_EQ(Messages()[1], "The card has been formatted.");
  EXPECT_EQ(host.stops, 1);
  EXPECT_EQ(host.browsed, 2);  // the chooser again
  EXPECT_NE(Described().find("FAT (16 bit)"), std::string::npos);
  EXPECT_EQ(host.card.ProgramsRun(), (std::vector<std::string>{"umount", "mkfs.fat", "mount"}));
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(SdFormat, CancelledOrRefusedFormatsNothing) {
  gui::SetMessageRecording(true, QMessageBox::Cancel);
  dialog.OnSdFormat();
  EXPECT_EQ(Messages().size(), 1);  // the warning only
  EXPECT_EQ(host.browsed, 1);       // no chooser
  EXPECT_EQ(host.stops, 0);

  gui::SetMessageRecording(true, QMessageBox::Ok);
  host.answer.reset();
  dialog.OnSdFormat();
  EXPECT_EQ(host.stops, 0);

  gui::ClearRecordedMessages();
  std::filesystem::create_directories(card() / "DCIM");
  host.answer = QString::fromStdString((card() / "DCIM").string());
  dialog.OnSdFormat();
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_EQ(Messages()[1], "Please select storage card.");
  EXPECT_TRUE(host.card.runs.empty());
  EXPECT_EQ(Described(), "data\n");
}

TEST_F(SdFormat, AFormatterThatCannotStartIsAFailure) {
  host.card.canned["mkfs.fat"] = {.started = false, .exit_code = -1, .errors = {}};
  dialog.OnSdFormat();
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_EQ(Messages()[1], "The card could not be formatted.\n\nmkfs.fat could not be started.");

  gui::ClearRecordedMessages();
  host.card.canned.clear();
  host.card.canned["umount"] = {.started = true, .exit_code = 32, .errors = "umount: /x: target is busy.\n"};
  dialog.OnSdFormat();
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_EQ(Messages()[1], "The card could not be formatted.\n\numount: /x: target is busy.");

  // Another card in the slot: the message says so.
  gui::ClearRecordedMessages();
  host.card.canned.clear();
  host.card.swap = testing::FakeCardSystem::Swap::Before;
  dialog.OnSdFormat();
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_EQ(Messages()[1],
            "The card could not be formatted.\n\n"
            "the card is no longer the device that was checked; nothing was formatted");
  EXPECT_EQ(Described(), "data\n");
}

}  // namespace
}  // namespace setup
