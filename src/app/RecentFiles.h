#pragma once

// The recent-file list of the File menu: at most four files, the most
// recently opened first.

#include <string>
#include <string_view>
#include <vector>

#include "settings/Settings.h"

namespace orvel {

// Whether two paths name the same file for the list: compared without regard
// to letter case, in every script the Unicode case tables cover.
bool SameRecentPath(std::string_view a, std::string_view b);

// Puts path at the front of the list: an entry already naming it moves up,
// the entries before it move one place down; a new one pushes the others
// down, the oldest dropping off a full list.
void AddRecentToList(std::vector<TRecentFile>& list, const std::string& path);

}  // namespace orvel
