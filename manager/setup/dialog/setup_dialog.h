#pragma once

#include <QDialog>
#include <QJsonObject>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "manager/setup/dialog/dialog_units.h"
#include "manager/setup/dialog/setup_layout.h"
#include "manager/setup/setup_controls.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;

namespace setup {

struct Profile;
class SetupHost;

// The modal "Setup" dialog: shows the settings of the card's SETUP\Setup.ini (or the
// defaults), writes them back on Apply, and leads to the card's clock file and its format.
// It lays out the profile's controls in dialog units of its own font, and it is the
// SetupControls the settings reader and writers work on.
class CSetupDlg : public QDialog, public SetupControls {
  Q_OBJECT
 public:
  CSetupDlg(const Profile& profile, SetupHost& host, QWidget* parent = nullptr);
  ~CSetupDlg() override;

  // The opening steps: the card-folder chooser, then the card's settings. False when the dialog
  // ends without showing: nothing chosen, or no SETUP folder there (after the message).
  bool Open();
  // The same for a folder already chosen, as if the chooser had returned `chosen_folder`.
  bool OpenOn(const std::string& chosen_folder);

  // The card folder (ending in a separator) and its settings file, once opened.
  const std::string& card_folder() const { return card_folder_; }
  const std::string& settings_path() const { return settings_path_; }

  // The control with this id (the scale labels have none), or nullptr.
  QWidget* Control(int id) const;
  QSlider* Slider(LevelSlider slider) const { return sliders_[Index(slider)]; }
  QLineEdit* LevelEdit(LevelSlider slider) const { return edits_[Index(slider)]; }
  QComboBox* List(SetupList list) const { return lists_[static_cast<std::size_t>(list)]; }
  DialogBaseUnits base_units() const { return base_; }

  // The observable state for scripted runs: title, size [w, h] and every control by id with
  // visible, text, value and items.
  QJsonObject State() const;

  // SetupControls, over the widgets.
  void SelectIndex(SetupList list, int index) override;
  int SelectedIndex(SetupList list) const override;
  void SetDstChecked(bool checked) override;
  bool DstChecked() const override;
  void SetSliderRange(LevelSlider slider, int min, int max) override;
  void SetSliderPosition(LevelSlider slider, int position) override;
  int SliderPosition(LevelSlider slider) const override;

  // The buttons.
  void OnApply();
  void OnFactorySetting();
  void OnTimeSetting();
  void OnSdFormat();
  void OnCancel();

 protected:
  // Enter and Escape do nothing, and closing the window (Alt+F4) is refused: the dialog ends
  // through its buttons only.
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  static std::size_t Index(LevelSlider slider) { return static_cast<std::size_t>(slider); }
  void CreateControls();
  QWidget* CreateControl(const ControlSpec& spec);
  void OnLevelEdited(std::size_t index);
  void ShowLevelEditMessage(std::size_t index, const QString& text);
  void SyncEdit(std::size_t index);
  void ShowWriteFailed(const std::string& path, common::CardWrite outcome);

  const Profile& profile_;
  SetupHost& host_;
  DialogBaseUnits base_;
  std::vector<ControlSpec> specs_;
  std::map<int, QWidget*> controls_;
  std::array<QComboBox*, 9> lists_{};
  std::array<QSlider*, 6> sliders_{};
  std::array<QLineEdit*, 6> edits_{};
  QCheckBox* dst_ = nullptr;
  std::string card_folder_;
  std::string settings_path_;
};

}  // namespace setup
