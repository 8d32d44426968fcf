#include "manager/setup/dialog/dialog_palette.h"

#include <QColor>

namespace setup {

QPalette SetupDialogPalette() {
  const QColor background("#1b1e23");
  const QColor panel("#252a31");
  const QColor frame("#3a414b");
  const QColor text("#d8dde3");
  const QColor dim("#8a939e");
  const QColor blue("#3d8bfd");

  QPalette palette;
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool disabled = group == QPalette::Disabled;
    palette.setColor(group, QPalette::Window, panel);
    palette.setColor(group, QPalette::WindowText, disabled ? dim : text);
    palette.setColor(group, QPalette::Base, background);
    palette.setColor(group, QPalette::AlternateBase, panel);
    palette.setColor(group, QPalette::Text, disabled ? dim : text);
    palette.setColor(group, QPalette::PlaceholderText, dim);
    palette.setColor(group, QPalette::Button, frame);
    palette.setColor(group, QPalette::ButtonText, disabled ? dim : text);
    palette.setColor(group, QPalette::BrightText, QColor("#f2a900"));
    palette.setColor(group, QPalette::Light, frame.lighter(140));
    palette.setColor(group, QPalette::Midlight, frame.lighter(115));
    palette.setColor(group, QPalette::Mid, frame);
    palette.setColor(group, QPalette::Dark, background);
    palette.setColor(group, QPalette::Shadow, QColor("#0e1013"));
    palette.setColor(group, QPalette::Highlight, disabled ? frame : blue);
    palette.setColor(group, QPalette::HighlightedText, QColor("#ffffff"));
    palette.setColor(group, QPalette::ToolTipBase, panel);
    palette.setColor(group, QPalette::ToolTipText, text);
    palette.setColor(group, QPalette::Link, blue);
  }
  return palette;
}

QString SetupDialogGroupStyleSheet() {
  return QStringLiteral(
      "QGroupBox { border: 1px solid #3a414b; border-radius: 4px; margin-top: 0.6em; }"
      "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
      " padding: 0 3px; color: #f2a900; }");
}

}  // namespace setup
