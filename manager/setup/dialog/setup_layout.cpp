#include "manager/setup/dialog/setup_layout.h"

#include <array>

#include "manager/setup/profile.h"
#include "manager/setup/setup_lists.h"
#include "manager/setup/setup_texts.h"

namespace setup {
namespace {

using namespace texts;

constexpr int kLabelHeight = 8;
constexpr int kListHeight = 13;  // the closed list; the template's height is the opened one
constexpr int kListWidth = 61;
constexpr int kListLabelWidth = 59;  // up to the lists at x 84
constexpr int kSliderWidth = 125;
constexpr int kSliderHeight = 18;
constexpr int kEditWidth = 40;
constexpr int kEditHeight = 14;
constexpr int kButtonHeight = 14;
constexpr int kScaleLabelWidth = 24;
constexpr int kEndScaleLabelWidth = 16;
constexpr int kEndLabelWidth = 40;
constexpr int kThumbHalfWidth = 5;  // the scale marks line up with the thumb's centre

// A level slider with its label and number edit: ids and positions.
struct SliderRow {
  LevelSlider slider;
  int label_id, slider_id, edit_id;
  int label_x, label_y;
  int slider_x, slider_y;
  int edit_x, edit_y;
  ListEntry text;
  int high_label_id, low_label_id;  // the park profile's end labels
};

constexpr std::array<SliderRow, 3> kDrivingRows = {{
    {LevelSlider::X, 1034, 1036, 1064, 170, 22, 167, 35, 229, 19, kTriggerLevelX, 1131, 1133},
    {LevelSlider::Y, 1038, 1040, 1066, 171, 67, 168, 80, 230, 64, kTriggerLevelY, 1135, 1136},
    {LevelSlider::Z, 1042, 1045, 1068, 171, 112, 168, 125, 230, 109, kTriggerLevelZ, 1138, 1139},
}};

constexpr std::array<SliderRow, 3> kParkingRows = {{
    {LevelSlider::ParkX, 1035, 1037, 1067, 311, 23, 310, 35, 372, 19, kTriggerLevelX, 1141, 1142},
    {LevelSlider::ParkY, 1039, 1041, 1069, 314, 67, 310, 80, 372, 64, kTriggerLevelY, 1144, 1145},
    {LevelSlider::ParkZ, 1043, 1048, 1070, 314, 112, 310, 125, 372, 109, kTriggerLevelZ, 1147, 1148},
}};

// A labelled drop list of the left column.
struct ListRow {
  SetupList list;
  int label_id, list_id;
  int label_y, list_y;
  ListEntry text;
};

constexpr std::array<ListRow, 7> kListRows = {{
    {SetupList::Quality, 1047, 1065, 20, 17, kQuality},
    {SetupList::FrameRate, 1028, 1061, 36, 33, kFrameRate},
    {SetupList::Brightness, 1085, 1083, 52, 49, kBrightness},
    {SetupList::Sharpness, 1086, 1084, 67, 65, kSharpness},
    {SetupList::Audio, 1029, 1089, 98, 94, kAudioStatic},
    {SetupList::InputVolume, 1030, 1062, 113, 111, kInputVolume},
    {SetupList::OutputVolume, 1032, 1063, 129, 127, kOutputVolume},
}};

ControlSpec Spec(int id, ControlKind kind, DialogRect rect) {
  ControlSpec spec;
  spec.id = id;
  spec.kind = kind;
  spec.rect = rect;
  return spec;
}

class Builder {
 public:
  void Add(const ControlSpec& spec) { controls_.push_back(spec); }
  void Group(int id, DialogRect rect, ListEntry text) {
    ControlSpec spec = Spec(id, ControlKind::Group, rect);
    spec.text = text;
    Add(spec);
  }
  void Label(int id, DialogRect rect, ListEntry text, bool visible = true, TextAlign align = TextAlign::Left) {
    ControlSpec spec = Spec(id, ControlKind::Label, rect);
    spec.text = text;
    spec.visible = visible;
    spec.align = align;
    Add(spec);
  }
  void List(int id, DialogRect rect, SetupList list, bool visible = true) {
    ControlSpec spec = Spec(id, ControlKind::DropList, rect);
    spec.visible = visible;
    spec.list = list;
    Add(spec);
  }
  void SliderPart(int id, ControlKind kind, DialogRect rect, LevelSlider slider) {
    ControlSpec spec = Spec(id, kind, rect);
    spec.slider = slider;
    Add(spec);
  }
  void Button(int id, DialogRect rect, ListEntry text) {
    ControlSpec spec = Spec(id, ControlKind::Button, rect);
    spec.text = text;
    Add(spec);
  }
  void CheckBox(int id, DialogRect rect, ListEntry text) {
    ControlSpec spec = Spec(id, ControlKind::CheckBox, rect);
    spec.text = text;
    Add(spec);
  }
  std::vector<ControlSpec> Take() { return std::move(controls_); }

 private:
  std::vector<ControlSpec> controls_;
};

void AddSliderRow(Builder& out, const Profile& profile, const SliderRow& row) {
  out.Label(row.label_id, {row.label_x, row.label_y, row.edit_x - row.label_x - 2, kLabelHeight}, row.text);
  out.SliderPart(row.edit_id, ControlKind::NumberEdit, {row.edit_x, row.edit_y, kEditWidth, kEditHeight}, row.slider);
  const DialogRect slider{row.slider_x, row.slider_y, kSliderWidth, kSliderHeight};
  out.SliderPart(row.slider_id, ControlKind::Slider, slider, row.slider);

  const int scale_y = slider.y + slider.height;
  if (profile.slider_scale == SliderScale::HighLowEnds && profile.slider_scale_labels.size() == 2) {
    out.Label(row.high_label_id, {slider.x, scale_y, kEndLabelWidth, kLabelHeight}, profile.slider_scale_labels[0]);
    out.Label(row.low_label_id, {slider.x + slider.width - kEndLabelWidth, scale_y, kEndLabelWidth, kLabelHeight},
              profile.slider_scale_labels[1], true, TextAlign::Right);
    return;
  }
  // Fixed marks at even steps along the slider: 0G, 0.25G, 0.5G, 0.75G, 1G. The end marks sit
  // flush with the slider's ends, the others centred under their steps.
  const int marks = static_cast<int>(profile.slider_scale_labels.size());
  const int track = slider.width - 2 * kThumbHalfWidth;
  for (int i = 0; i < marks; ++i) {
    const ListEntry text = profile.slider_scale_labels[static_cast<std::size_t>(i)];
    if (i == 0) {
      out.Label(0, {slider.x, scale_y, kEndScaleLabelWidth, kLabelHeight}, text);
    } else if (i == marks - 1) {
      out.Label(0, {slider.x + slider.width - kEndScaleLabelWidth, scale_y, kEndScaleLabelWidth, kLabelHeight}, text,
                true, TextAlign::Right);
    } else {
      const int centre = slider.x + kThumbHalfWidth + track * i / (marks - 1);
      out.Label(0, {centre - kScaleLabelWidth / 2, scale_y, kScaleLabelWidth, kLabelHeight}, text, true,
                TextAlign::Center);
    }
  }
}

}  // namespace

std::vector<ControlSpec> SetupDialogLayout(const Profile& profile) {
  const bool park = profile.has_parking_sensitivity;
  Builder out;

  out.Group(1021, {15, 8, 138, 75}, kRecorder);
  out.Group(1022, {15, 86, 138, 57}, kAudio);
  for (const ListRow& row : kListRows) {
    const bool visible = ListVisible(profile, row.list);
    out.Label(row.label_id, {23, row.label_y, kListLabelWidth, kLabelHeight}, row.text, visible);
    out.List(row.list_id, {84, row.list_y, kListWidth, kListHeight}, row.list, visible);
  }
  if (profile.has_av_out()) {
    // In the row the hidden brightness list leaves free, inside the recording group.
    out.Label(1088, {23, 52, kListLabelWidth, kLabelHeight}, kAvOut);
    out.List(1090, {84, 49, kListWidth, kListHeight}, SetupList::TVOut);
  }

  out.Group(1024, {161, 9, 136, 149}, kAccelerometer);
  for (const SliderRow& row : kDrivingRows) AddSliderRow(out, profile, row);
  if (park) {
    out.Group(1025, {304, 9, 136, 149}, kAccelerometerPark);
    for (const SliderRow& row : kParkingRows) AddSliderRow(out, profile, row);
  }

  out.CheckBox(setup_ids::kDst, {18, 145, 100, 10}, kDstSetup);
  if (park) {
    out.Group(1019, {17, 169, 421, 31}, kTimeSetting);
    out.List(1049, {24, 180, 409, kListHeight}, SetupList::TimeZone);
  } else {
    out.Group(1019, {17, 156, 280, 31}, kTimeSetting);
    out.List(1049, {24, 167, 265, kListHeight}, SetupList::TimeZone);
  }

  const int tools_y = park ? 204 : 192;
  out.Button(setup_ids::kSdFormat, {17, tools_y, 78, kButtonHeight}, kSdFormat);
  out.Button(setup_ids::kFactorySetting, {100, tools_y, 78, kButtonHeight}, kFactorySetting);
  out.Button(setup_ids::kTimeSetting, {182, tools_y, 78, kButtonHeight}, kTimeSetButton);
  const int close_y = park ? 204 : 212;
  out.Button(setup_ids::kApply, {park ? 335 : 189, close_y, 50, kButtonHeight}, kApply);
  out.Button(setup_ids::kCancel, {park ? 390 : 247, close_y, 50, kButtonHeight}, kCancel);
  return out.Take();
}

}  // namespace setup
