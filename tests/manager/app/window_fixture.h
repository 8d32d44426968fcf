#pragma once

#include <QApplication>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "manager/app/manager_window.h"
#include "tools/samplecard/card.h"

namespace window_testing {

// The process's application, offscreen unless the environment says otherwise, working in a
// folder of its own (the window remembers its last folder in the working folder).
QApplication& Application();

// The small sample card, written once per process. Each test gets its own copy, since loading a
// folder deletes its stubs.
struct SampleCard {
  std::filesystem::path folder;
  samplecard::CardManifest manifest;
};
const SampleCard& Card();
std::filesystem::path CopyOfCard(const std::string& name);

// The list row of the first recording of a kind on the card, in list order.
int RowOf(samplecard::RecordingKind kind);

// Runs the event loop until `condition` holds; false after `timeout`.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(20));
void Pump(std::chrono::milliseconds duration);

// A main window of `profile`, shown, playing sound into a silent sink, its message boxes recorded.
std::unique_ptr<app::ManagerWindow> MakeWindow(const setup::Profile& profile);

}  // namespace window_testing
