#pragma once
// Reading and writing one group file on disk: the lines of entry/group_file.h, decoded from GBK
// (or from UTF-8 in a file that begins with its byte order mark) and encoded to GBK.

#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "entry/sample_lists.h"

namespace quillon::ui {

struct GroupFileRead {
  enum class Outcome {
    Read,
    NotOpened,  // missing, not a plain file, or refused by the system
    NotRead,    // opened, but reading failed
  };
  Outcome outcome = Outcome::NotOpened;
  std::vector<std::string> lines;  // the entries, as UTF-8 text; at most the bound
  std::size_t leftOut = 0;         // lines past the bound
};

// The whole file, at most `maxLines` lines of it. Nothing but a plain file is opened, so that a
// device or a pipe cannot keep the program reading.
GroupFileRead ReadGroupFile(const QString& path, std::size_t maxLines);

// Writes the group's entries to a new file beside `path` and renames it over `path` once it is
// complete, so that a failure leaves any earlier file of that name as it was. Nothing when it was
// written, otherwise why not (write_failures.h).
std::optional<QString> WriteGroupFile(const QString& path, const SampleLists& lists, Group group);

}  // namespace quillon::ui
