#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "manager/language/text_keys.h"

namespace setup {

// A display text: a language key and the built-in English text. An empty key marks a fixed
// text that is never translated (volume numbers, time zones, scale labels).
using ListEntry = language::TextKey;

// Turns a language key and its default into the text to show. The manager passes its language
// table here; without one, the defaults are shown.
using TextLookup = std::function<std::string(std::string_view key, std::string_view fallback)>;

// The entry's text through `lookup` (its default when `lookup` is empty or the key is).
std::string EntryText(const ListEntry& entry, const TextLookup& lookup);

}  // namespace setup
