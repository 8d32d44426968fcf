#include "manager/setup/dialog/setup_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "common/gui/message_box.h"
#include "manager/setup/clock_file.h"
#include "manager/setup/dialog/card_folder_chooser.h"
#include "manager/setup/dialog/dialog_palette.h"
#include "manager/setup/dialog/dialog_text.h"
#include "manager/setup/dialog/level_edit.h"
#include "manager/setup/dialog/sd_format_command.h"
#include "manager/setup/dialog/setup_dialog_texts.h"
#include "manager/setup/dialog/setup_host.h"
#include "manager/setup/dialog/time_set_dialog.h"
#include "manager/setup/profile.h"
#include "manager/setup/settings_path.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"
#include "manager/setup/setup_lists.h"
#include "manager/setup/setup_texts.h"

namespace setup {
namespace {

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 20;
constexpr int kSliderTickStep = 5;  // a quarter G
constexpr double kDialogFontPoints = 8.0;
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

Qt::Alignment LabelAlignment(TextAlign align) {
  switch (align) {
    case TextAlign::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

QJsonArray Items(const QComboBox* list) {
  QJsonArray items;
  for (int i = 0; i < list->count(); ++i) items.append(list->itemText(i));
  return items;
}

}  // namespace

CSetupDlg::CSetupDlg(const Profile& profile, SetupHost& host, QWidget* parent)
    : QDialog(parent), profile_(profile), host_(host) {
  setWindowTitle(DialogText(texts::kDeviceSetup));
  setPalette(SetupDialogPalette());
  setAutoFillBackground(true);
  QFont dialog_font = font();
  dialog_font.setPointSizeF(kDialogFontPoints);
  setFont(dialog_font);
  const QFontMetrics metrics(dialog_font);
  base_ = BaseUnitsFromFont(metrics.horizontalAdvance(QString::fromLatin1(kAlphabet.data(), kAlphabet.size())),
                            metrics.height());
  setFixedSize(HorizontalPixels(profile.setup_dialog_size.width, base_),
               VerticalPixels(profile.setup_dialog_size.height, base_));
  CreateControls();
}

CSetupDlg::~CSetupDlg() = default;

void CSetupDlg::CreateControls() {
  specs_ = SetupDialogLayout(profile_);
  for (const ControlSpec& spec : specs_) {
    QWidget* control = CreateControl(spec);
    const PixelRect rect = ToPixels(spec.rect, base_);
    control->setGeometry(rect.x, rect.y, rect.width, rect.height);
    if (!spec.visible) control->hide();
    if (spec.id != 0) {
      control->setObjectName(QString::number(spec.id));
      controls_[spec.id] = control;
    }
  }
  // Groups stand behind the controls they frame.
  for (const ControlSpec& spec : specs_) {
    if (spec.kind == ControlKind::Group) controls_[spec.id]->lower();
  }
}

QWidget* CSetupDlg::CreateControl(const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::Group: {
      auto* group = new QGroupBox(DialogText(spec.text), this);
      // On the group alone: a style sheet on the dialog would replace the palette of every control.
      group->setStyleSheet(SetupDialogGroupStyleSheet());
      return group;
    }
    case ControlKind::Label: {
      auto* label = new QLabel(DialogText(spec.text), this);
      label->setAlignment(LabelAlignment(spec.align));
      return label;
    }
    case ControlKind::DropList: {
      auto* list = new QComboBox(this);
      for (const std::string& text : ListTexts(profile_, *spec.list, DialogTextLookup())) {
        list->addItem(QString::fromStdString(text));
      }
      list->setCurrentIndex(-1);
      list->setMaxVisibleItems(16);
      lists_[static_cast<std::size_t>(*spec.list)] = list;
      return list;
    }
    case ControlKind::Slider: {
      auto* slider = new QSlider(Qt::Horizontal, this);
      slider->setRange(kSliderMin, kSliderMax);
      slider->setPageStep(kSliderTickStep);
      slider->setTickInterval(kSliderTickStep);
      slider->setTickPosition(QSlider::TicksBelow);
      const std::size_t index = Index(*spec.slider);
      sliders_[index] = slider;
      // Wherever the slider goes (mouse, keys, the reader, a clamped edit), its edit follows.
      connect(slider, &QSlider::valueChanged, this, [this, index] { SyncEdit(index); });
      return slider;
    }
    case ControlKind::NumberEdit: {
      auto* edit = new QLineEdit(QStringLiteral("0"), this);
      // A number edit: digits only, the range is checked as the text changes.
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), edit));
      const std::size_t index = Index(*spec.slider);
      edits_[index] = edit;
      connect(edit, &QLineEdit::textChanged, this, [this, index] { OnLevelEdited(index); });
      return edit;
    }
    case ControlKind::CheckBox: dst_ = new QCheckBox(DialogText(spec.text), this); return dst_;
    case ControlKind::Button: {
      auto* button = new QPushButton(DialogText(spec.text), this);
      button->setAutoDefault(false);
      switch (spec.id) {
        case setup_ids::kApply: connect(button, &QPushButton::clicked, this, &CSetupDlg::OnApply); break;
        case setup_ids::kCancel: connect(button, &QPushButton::clicked, this, &CSetupDlg::OnCancel); break;
        case setup_ids::kFactorySetting:
          connect(button, &QPushButton::clicked, this, &CSetupDlg::OnFactorySetting);
          break;
        case setup_ids::kTimeSetting: connect(button, &QPushButton::clicked, this, &CSetupDlg::OnTimeSetting); break;
        case setup_ids::kSdFormat: connect(button, &QPushButton::clicked, this, &CSetupDlg::OnSdFormat); break;
        default: break;
      }
      return button;
    }
  }
  return new QWidget(this);
}

bool CSetupDlg::Open() {
  const std::optional<std::string> chosen = ChooseCardFolder(host_, parentWidget() ? parentWidget() : this);
  if (!chosen) return false;
  return OpenOn(*chosen);
}

bool CSetupDlg::OpenOn(const std::string& chosen_folder) {
  if (chosen_folder.empty()) return false;
  card_folder_ = CardFolderFromChoice(chosen_folder);
  settings_path_ = SettingsFilePath(card_folder_);
  std::error_code error;
  const bool has_settings_folder = std::filesystem::is_directory(SettingsFolder(card_folder_), error);
  if (std::filesystem::exists(settings_path_, error)) {
    ReadSetupFile(profile_, settings_path_, *this);
  } else if (has_settings_folder) {
    ApplyDefaults(profile_, *this);
  } else {
    gui::ShowMessage(parentWidget() ? parentWidget() : this, DialogText(texts::kErrorNotSelect));
    setResult(QDialog::Accepted);  // closed as if confirmed, with nothing written
    return false;
  }
  for (std::size_t i = 0; i < edits_.size(); ++i) SyncEdit(i);
  return true;
}

QWidget* CSetupDlg::Control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

// ---- SetupControls

void CSetupDlg::SelectIndex(SetupList list, int index) {
  QComboBox* control = List(list);
  if (!control) return;
  control->setCurrentIndex(index >= 0 && index < control->count() ? index : -1);
}

int CSetupDlg::SelectedIndex(SetupList list) const {
  const QComboBox* control = List(list);
  return control ? control->currentIndex() : -1;
}

void CSetupDlg::SetDstChecked(bool checked) { dst_->setChecked(checked); }
bool CSetupDlg::DstChecked() const { return dst_->isChecked(); }

void CSetupDlg::SetSliderRange(LevelSlider slider, int min, int max) {
  if (QSlider* control = Slider(slider)) control->setRange(min, max);
}

void CSetupDlg::SetSliderPosition(LevelSlider slider, int position) {
  if (QSlider* control = Slider(slider)) control->setValue(position);
}

int CSetupDlg::SliderPosition(LevelSlider slider) const {
  const QSlider* control = Slider(slider);
  return control ? control->value() : 0;
}

// ---- Slider and edit in step

void CSetupDlg::SyncEdit(std::size_t index) {
  QLineEdit* edit = edits_[index];
  const QSlider* slider = sliders_[index];
  if (!edit || !slider) return;
  const QString text = QString::number(slider->value());
  if (edit->text() == text) return;
  const QSignalBlocker quiet(edit);
  edit->setText(text);
}

void CSetupDlg::OnLevelEdited(std::size_t index) {
  const LevelEditValue typed = CheckLevelEdit(profile_, edits_[index]->text().toStdString());
  switch (typed.kind) {
    case LevelEditValue::Kind::Empty: return;  // the user is about to type a number
    case LevelEditValue::Kind::NotInteger: ShowLevelEditMessage(index, DialogText(texts::kEnterInteger)); return;
    case LevelEditValue::Kind::OutOfRange:
      ShowLevelEditMessage(index,
                           DialogText(texts::kIntegerRange).arg(profile_.level_edit_min).arg(profile_.level_edit_max));
      return;
    case LevelEditValue::Kind::Valid:
      // The slider takes what it can (25 moves it to 20) and the edit then shows where it stands.
      sliders_[index]->setValue(typed.value);
      SyncEdit(index);
      return;
  }
}

void CSetupDlg::ShowLevelEditMessage(std::size_t index, const QString& text) {
  // Not from inside the edit's own change notification: the box runs its own event loop.
  QMetaObject::invokeMethod(
      this,
      [this, index, text] {
        gui::ShowMessage(this, text, QString(), QMessageBox::Warning);
        SyncEdit(index);  // nothing moved: the edit shows the slider again
        edits_[index]->setFocus();
        edits_[index]->selectAll();
      },
      Qt::QueuedConnection);
}

// ---- Buttons

void CSetupDlg::ShowWriteFailed(const std::string& path, common::CardWrite outcome) {
  const ListEntry& text = outcome == common::CardWrite::kLink      ? texts::kWriteThroughLink
                          : outcome == common::CardWrite::kOutside ? texts::kWriteOutsideCard
                                                                   : texts::kWriteFailed;
  gui::ShowMessage(this, DialogText(text).arg(QString::fromStdString(path)), QString(), QMessageBox::Warning);
}

void CSetupDlg::OnApply() {
  // After a format the card has no SETUP folder any more; Apply puts it back.
  std::error_code ignored;
  std::filesystem::create_directory(SettingsFolder(card_folder_), ignored);
  if (const common::CardWrite written = WriteApplyFile(profile_, settings_path_, *this);
      written != common::CardWrite::kWritten) {
    ShowWriteFailed(settings_path_, written);  // the dialog stays open: nothing the user chose is lost
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  done(QDialog::Accepted);
}

void CSetupDlg::OnFactorySetting() {
  const common::CardWrite written = RunFactorySetting(
      profile_, settings_path_, *this, [this] { gui::ShowMessage(this, DialogText(texts::kFactorySettingSucceed)); });
  if (written != common::CardWrite::kWritten) ShowWriteFailed(settings_path_, written);
}

void CSetupDlg::OnTimeSetting() {
  CTimeSetDlg picker(this);
  if (picker.exec() != QDialog::Accepted) return;
  const ClockTime time = picker.Time();
  const common::CardWrite written = WriteClockFile(profile_, card_folder_, time);
  if (written == common::CardWrite::kWritten) {
    gui::ShowMessage(this, QString::fromStdString(ClockText(time)));
    return;
  }
  ShowWriteFailed(ClockFilePath(profile_, card_folder_).string(), written);
  gui::ShowMessage(this, QString::fromStdString(settings_path_));
}

void CSetupDlg::OnSdFormat() { RunSdFormat(this, host_, card_folder_); }

void CSetupDlg::OnCancel() { done(QDialog::Rejected); }

// ---- Keys and closing

void CSetupDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: QDialog::keyPressEvent(event);
  }
}

void CSetupDlg::closeEvent(QCloseEvent* event) {
  // Alt+F4 and the title bar's button. The buttons end the dialog through done(), which does
  // not come here.
  event->ignore();
}

// ---- State

QJsonObject CSetupDlg::State() const {
  QJsonObject controls;
  for (const ControlSpec& spec : specs_) {
    if (spec.id == 0) continue;
    const QWidget* widget = Control(spec.id);
    QJsonValue text = "";
    QJsonValue value;
    QJsonArray items;
    switch (spec.kind) {
      case ControlKind::Group: text = static_cast<const QGroupBox*>(widget)->title(); break;
      case ControlKind::Label: text = static_cast<const QLabel*>(widget)->text(); break;
      case ControlKind::Button: text = static_cast<const QPushButton*>(widget)->text(); break;
      case ControlKind::CheckBox:
        text = dst_->text();
        value = dst_->isChecked() ? 1 : 0;
        break;
      case ControlKind::DropList: {
        const auto* list = static_cast<const QComboBox*>(widget);
        text = list->currentText();
        value = list->currentIndex();
        items = Items(list);
        break;
      }
      case ControlKind::Slider: value = static_cast<const QSlider*>(widget)->value(); break;
      case ControlKind::NumberEdit:
        text = static_cast<const QLineEdit*>(widget)->text();
        value = text;
        break;
    }
    controls.insert(
        QString::number(spec.id),
        QJsonObject{{"visible", widget->isVisibleTo(this)}, {"text", text}, {"value", value}, {"items", items}});
  }
  return QJsonObject{{"title", windowTitle()}, {"size", QJsonArray{width(), height()}}, {"controls", controls}};
}

}  // namespace setup
