#pragma once

#include <memory>

#include <QGuiApplication>

namespace cli {

// Qt for the pages the tool makes without a window: the offscreen platform needs no display,
// and one that is set but cannot be reached must not stop a PDF. Qt's own chatter stays off
// stderr; its warnings about the work itself still reach it.
std::unique_ptr<QGuiApplication> StartOffscreenQt();

}  // namespace cli
