#pragma once

#include <string>
#include <vector>

#include "manager/setup/list_entry.h"
#include "manager/setup/setup_controls.h"

namespace setup {

struct Profile;

// The entries of one of the dialog's lists in the profile, in the order they are filled; the
// stored value is an entry's index. Empty for a list the profile does not have (TVOut outside
// the park profile).
std::vector<ListEntry> ListEntries(const Profile& profile, SetupList list);

// The same entries as display texts, translated through `lookup` where they have a key.
std::vector<std::string> ListTexts(const Profile& profile, SetupList list, const TextLookup& lookup = {});

// Whether the profile's dialog shows the list (hidden lists are still filled and written).
bool ListVisible(const Profile& profile, SetupList list);

}  // namespace setup
