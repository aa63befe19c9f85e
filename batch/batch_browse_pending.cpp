#include "batch/batch_dialog.h"

namespace reelcraft {

// Until the folder picker is in the tree, browsing offers nothing and changes nothing.
bool BatchDialog::BrowseFolder(const char *, std::string &) { return false; }

} // namespace reelcraft
